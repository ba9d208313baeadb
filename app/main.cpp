// Orvalin: measuring on microscope images.
#include <QApplication>

#include "app/orvalin_app.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvalin"));
    orv::COrvalinApp orvalin;
    return orvalin.Run(QApplication::arguments());
}

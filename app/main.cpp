// Orvalin: measuring on microscope images.
#include <QApplication>

#include "app/application.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvalin"));
    orv::Application orvalin;
    return orvalin.Run(QApplication::arguments());
}

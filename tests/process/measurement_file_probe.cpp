// Prints the number of measurements in a measurement file, or fails with the
// reason when it is not a readable one.
#include <QGuiApplication>

#include <cstdio>

#include "export/measurement_file.h"

int main(int argc, char **argv)
{
    // Image decoding needs the application's plugins, no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: measurement_file_probe FILE\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const orv::MeasurementReadResult read = orv::LoadMeasurementFile(path);
    if (!read.session) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(orv::MeasurementReadMessage(read, path, orv::Language::English)));
        return 1;
    }
    std::printf("%zu\n", read.session->items.size());
    return 0;
}

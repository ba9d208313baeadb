// Prints the number of measurements in a measurement file, or fails with the
// reason when it is not a readable one. With --entry the file is read as a
// recovery entry: with the newer measurements written beside it.
#include <QGuiApplication>

#include <cstdio>
#include <cstring>

#include "document/recovery_store.h"
#include "export/measurement_file.h"

int main(int argc, char **argv)
{
    // Image decoding needs the application's plugins, no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const bool entry = argc == 3 && std::strcmp(argv[1], "--entry") == 0;
    if (argc != 2 && !entry) {
        std::fprintf(stderr, "usage: measurement_file_probe [--entry] FILE\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[argc - 1]);
    QString failed = path;
    const orv::MeasurementReadResult read =
        entry ? orv::RecoveryStore::Read(path, &failed) : orv::LoadMeasurementFile(path);
    if (!read.session) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(orv::MeasurementReadMessage(read, failed, orv::Language::English)));
        return 1;
    }
    std::printf("%zu\n", read.session->items.size());
    return 0;
}

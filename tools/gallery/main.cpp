// orvalin-gallery OUTDIR: writes gallery_mode0.png, gallery_mode1.png and
// gallery_mode2.png, one per label mode, for reviewing the drawing.

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>

#include "tools/gallery/gallery_scene.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvalin-gallery OUTDIR\n");
        return 2;
    }
    // Runs headless when there is no display to talk to.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "orvalin-gallery: cannot create %s\n", argv[1]);
        return 1;
    }
    for (int mode = 0; mode <= 2; ++mode) {
        const QImage image = orv::RenderGallery(static_cast<orv::LabelMode>(mode));
        const QString path = out.filePath(QStringLiteral("gallery_mode%1.png").arg(mode));
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "orvalin-gallery: cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}

#include "capture/camera/camera_snapshot.h"

#include "capture/camera/camera_frame.h"
#include "core/atomic_file.h"
#include "export/bmp_file.h"
#include "export/image_file.h"
#include "export/jpeg_writer.h"

namespace orv {

QByteArray BuildSnapshotBmp(const CameraFrame &frame)
{
    if (frame.isNull())
        return {};
    // The info header of the grabber's format states the frame's byte count.
    return BuildBmp24(
        frame.width(), frame.height(), [&frame](int y) { return frame.row(y); }, true);
}

bool WriteSnapshot(const CameraFrame &frame, const QString &path, const QString &type, QString *reason)
{
    const QByteArray bmp = BuildSnapshotBmp(frame);
    if (bmp.isEmpty())
        return false;
    if (type == QLatin1String("jpg"))
        return JpegWriter(path, kImageFileJpegQuality, frame.width(), frame.height(), BmpPixelRows(bmp), reason,
                          kImageFileJpegChroma)
            == 0;
    return WriteFileAtomically(path, bmp, reason);
}

}  // namespace orv

#include "capture/wireless/wireless_frame_save.h"

#include "capture/wireless/wireless_picture.h"
#include "core/atomic_file.h"
#include "export/image_file.h"
#include "export/jpeg_writer.h"

#include <QImage>

#include <string_view>

namespace orv {
namespace {

// 54-byte BMP headers in front of the rows BuildBmpFile returns.
constexpr qsizetype kBmpHeaderBytes = 54;

}  // namespace

bool SaveWirelessFrame(const QString &path, std::span<const std::uint8_t> frame, int decodedWidth,
                       const OverlayOptions &options)
{
    if (frame.empty())
        return false;
    if (!options.HasOverlay()) {
        return WriteFileAtomically(path, std::string_view(reinterpret_cast<const char *>(frame.data()), frame.size()));
    }
    const int w = decodedWidth;
    const int h = 3 * w / 4;
    if (w <= 0 || h <= 0)
        return false;
    QImage canvas(w, h, QImage::Format_RGB32);
    if (canvas.isNull())
        return false;
    canvas.fill(Qt::black);
    {
        QPainter p(&canvas);
        DrawPicture(p, frame, 0, 0, w, h, 0);
        DrawLensOverlay(p, 0, 0, w, h, options.lens, options.cross, options.colour);
    }
    const QByteArray bmp = BuildBmpFile(canvas);
    if (bmp.size() <= kBmpHeaderBytes)
        return false;
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(bmp.constData());
    const std::span<const std::uint8_t> rows(bytes + kBmpHeaderBytes,
                                             static_cast<std::size_t>(bmp.size() - kBmpHeaderBytes));
    return JpegWriter(path, kWirelessSaveJpegQuality, w, h, rows) == 0;
}

}  // namespace orv

#include "capture/wireless/wireless_picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include "core/image_limit.h"

namespace orv {

QImage DecodePicture(std::span<const std::uint8_t> frame, QSize scaledTo, QSize *natural)
{
    *natural = QSize();
    if (frame.empty() || frame.size() > std::size_t(INT32_MAX))
        return {};
    // The reader works on the frame's own bytes; nothing is copied.
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(frame.data()), static_cast<qsizetype>(frame.size()));
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer);
    // Frames are JPEG streams: name the format instead of asking every
    // image plugin about each frame. Anything else is judged by content.
    if (frame.size() >= 3 && frame[0] == 0xFF && frame[1] == 0xD8 && frame[2] == 0xFF)
        reader.setFormat("jpeg");
    else
        reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!ImageSizeAllowed(size))
        return {};
    reader.setAllocationLimit(ReaderAllocationLimitMb());
    // Stretched frames are decoded at the target size: the decoder scales in
    // its own transform, far cheaper than decoding whole and shrinking.
    if (scaledTo.isValid() && !scaledTo.isEmpty() && scaledTo != size)
        reader.setScaledSize(scaledTo);
    QImage picture = reader.read();
    if (!picture.isNull())
        *natural = size;
    return picture;
}

std::uint32_t DrawPicture(QPainter &target, std::span<const std::uint8_t> frame, int x, int y, int width, int height,
                          int placement)
{
    const bool stretch = placement != 0;
    QSize natural;
    const QImage picture = DecodePicture(frame, stretch ? QSize(width, height) : QSize(), &natural);
    if (picture.isNull())
        return 0;
    target.save();
    target.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (stretch)
        target.drawImage(QRect(x, y, width, height), picture);
    else
        target.drawImage(QPoint(x + (width - natural.width()) / 2, y + (height - natural.height()) / 2), picture);
    target.restore();
    return (std::uint32_t(natural.width()) << 16) | std::uint32_t(natural.height());
}

}  // namespace orv

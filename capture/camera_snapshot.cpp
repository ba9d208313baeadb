#include "camera_snapshot.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <span>

#include "atomic_file.h"
#include "camera_frame.h"
#include "jpeg_writer.h"

namespace orv {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kHeaderBytes = kFileHeaderBytes + kInfoHeaderBytes;

void PutLe16(char *p, std::uint16_t v)
{
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>(v >> 8);
}

void PutLe32(char *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

QByteArray BuildSnapshotBmp(const CameraFrame &frame)
{
    if (frame.isNull())
        return {};
    const int width = frame.width();
    const int height = frame.height();
    const std::size_t stride = PaddedRowBytes(width);
    const std::size_t pixelBytes = stride * static_cast<std::size_t>(height);
    if (pixelBytes > std::numeric_limits<std::uint32_t>::max() - kHeaderBytes)
        return {};
    QByteArray file(static_cast<qsizetype>(kHeaderBytes + pixelBytes), '\0');
    char *p = file.data();
    p[0] = 'B';
    p[1] = 'M';
    PutLe32(p + 2, static_cast<std::uint32_t>(kHeaderBytes + pixelBytes));
    PutLe32(p + 10, kHeaderBytes);
    // The info header of the grabber's format: 24-bit, uncompressed,
    // bottom-up (positive height), the frame's byte count as image size.
    char *info = p + kFileHeaderBytes;
    PutLe32(info, kInfoHeaderBytes);
    PutLe32(info + 4, static_cast<std::uint32_t>(width));
    PutLe32(info + 8, static_cast<std::uint32_t>(height));
    PutLe16(info + 12, 1);
    PutLe16(info + 14, 24);
    PutLe32(info + 20, static_cast<std::uint32_t>(pixelBytes));
    const auto rowBytes = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        char *dst = p + kHeaderBytes + static_cast<std::size_t>(height - 1 - y) * stride;
        std::memcpy(dst, frame.row(y), rowBytes);
    }
    return file;
}

bool WriteSnapshot(const CameraFrame &frame, const QString &path, const QString &type)
{
    const QByteArray bmp = BuildSnapshotBmp(frame);
    if (bmp.isEmpty())
        return false;
    if (type == QLatin1String("jpg")) {
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(bmp.constData());
        const std::span<const std::uint8_t> rows(bytes + kHeaderBytes,
                                                 static_cast<std::size_t>(bmp.size()) - kHeaderBytes);
        return JpegWriter(path, kSnapshotJpegQuality, frame.width(), frame.height(), rows) == 0;
    }
    return WriteFileAtomically(path, bmp);
}

}  // namespace orv

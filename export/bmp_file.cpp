#include "export/bmp_file.h"

#include <cstring>
#include <limits>

#include "export/jpeg_writer.h"

namespace orv {

namespace {

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

QByteArray BuildBmp24(int width, int height, const std::function<const void *(int)> &rowAt,
                      bool recordImageSize)
{
    if (width <= 0 || height <= 0)
        return {};
    const std::size_t stride = PaddedRowBytes(width);
    const std::size_t pixelBytes = stride * static_cast<std::size_t>(height);
    if (pixelBytes > std::numeric_limits<std::uint32_t>::max() - kBmpHeaderBytes ||
        kBmpHeaderBytes + pixelBytes > static_cast<std::size_t>(std::numeric_limits<qsizetype>::max()))
        return {};
    const auto fileSize = static_cast<std::uint32_t>(kBmpHeaderBytes + pixelBytes);
    QByteArray file(static_cast<qsizetype>(fileSize), '\0');
    char *p = file.data();
    p[0] = 'B';
    p[1] = 'M';
    PutLe32(p + 2, fileSize);
    PutLe32(p + 10, kBmpHeaderBytes);
    PutLe32(p + 14, 40);
    PutLe32(p + 18, static_cast<std::uint32_t>(width));
    PutLe32(p + 22, static_cast<std::uint32_t>(height));  // positive: bottom-up
    PutLe16(p + 26, 1);
    PutLe16(p + 28, 24);
    if (recordImageSize)
        PutLe32(p + 34, static_cast<std::uint32_t>(pixelBytes));
    const auto rowBytes = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        char *dst = p + kBmpHeaderBytes + static_cast<std::size_t>(height - 1 - y) * stride;
        std::memcpy(dst, rowAt(y), rowBytes);
    }
    return file;
}

std::span<const std::uint8_t> BmpPixelRows(const QByteArray &bmp)
{
    if (static_cast<std::size_t>(bmp.size()) < kBmpHeaderBytes)
        return {};
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(bmp.constData());
    return {bytes + kBmpHeaderBytes, static_cast<std::size_t>(bmp.size()) - kBmpHeaderBytes};
}

}  // namespace orv

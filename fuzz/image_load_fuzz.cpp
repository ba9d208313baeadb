// libFuzzer target: an image file's bytes through the load checks and the
// decoders (JPEG, BMP, GIF, PNG, TIFF by content), as opening a file does.
//
// Properties: a decoded image is 32-bit RGB and not empty; a refusal says why.
#include "fuzz_check.h"
#include "image_file.h"

#include <QByteArray>

#include <cstdint>

#define Check ORV_FUZZ_CHECK

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const orv::LoadedImage loaded = orv::DecodeImageData(bytes);
    if (loaded.ok()) {
        Check(loaded.image.format() == QImage::Format_RGB32);
        Check(loaded.image.width() > 0 && loaded.image.height() > 0);
        Check(orv::JpegDataComplete(bytes));
    } else {
        Check(!loaded.error.isEmpty());
    }
    return 0;
}

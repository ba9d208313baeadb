// libFuzzer target: an image file's bytes through the load checks and the
// decoders (JPEG, BMP, GIF, PNG, TIFF by content), as opening a file does.
//
// Properties: a decoded image is 32-bit RGB, not empty and within the pixel
// limit; a refusal says why. The limit is kept small here so that a fuzzed
// header cannot make the fuzzer itself run out of memory; the checks are the
// same at any limit.
#include "fuzz_check.h"
#include "export/image_file.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdint>

#define Check ORV_FUZZ_CHECK

// The decoders' warnings about broken data would bury the fuzzer's own output.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    constexpr qint64 kMaxPixels = 4 * 1024 * 1024;
    const orv::LoadedImage loaded = orv::DecodeImageData(bytes, kMaxPixels);
    if (loaded.ok()) {
        Check(loaded.image.format() == QImage::Format_RGB32);
        Check(loaded.image.width() > 0 && loaded.image.height() > 0);
        Check(qint64(loaded.image.width()) * loaded.image.height() <= kMaxPixels);
        Check(orv::JpegDataComplete(bytes));
    } else {
        Check(!loaded.error.isEmpty());
    }
    return 0;
}

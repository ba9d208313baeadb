#include "export/image_file.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <span>

#include "core/atomic_file.h"
#include "export/bmp_file.h"
#include "export/jpeg_writer.h"
#include "export/measurement_file.h"

namespace orv {

namespace {

LoadedImage Failed(const QString &error)
{
    LoadedImage r;
    r.error = error;
    return r;
}

LoadedImage TooLarge(const QString &error, QSize size)
{
    LoadedImage r = Failed(error);
    r.tooLarge = true;
    r.size = size;
    return r;
}

bool IsStandaloneMarker(unsigned char m)
{
    return m == 0x01 || (m >= 0xD0 && m <= 0xD7);
}

}  // namespace

QString WorkFilePath(const QString &tempDir, const QString &name)
{
    QString dir = tempDir;
    while (dir.endsWith(QLatin1Char('/')) && dir.size() > 1)
        dir.chop(1);
    if (dir.isEmpty())
        return name;
    if (dir == QLatin1String("/"))
        return dir + name;
    return dir + QLatin1Char('/') + name;
}

QString FileExtension(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

bool IsJpegExtension(const QString &extension)
{
    return extension.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0 ||
           extension.compare(QLatin1String("jpeg"), Qt::CaseInsensitive) == 0;
}

QString WithDefaultExtension(const QString &path, const QString &extension)
{
    if (QFileInfo(path).fileName().contains(QLatin1Char('.')))
        return path;
    return path + QLatin1Char('.') + extension;
}

QString ImageSavePath(const QString &typed, const QString &chosenExtension,
                      const QString &fallbackExtension)
{
    const QString given = FileExtension(typed);
    if (IsJpegExtension(given) || given.compare(QLatin1String("bmp"), Qt::CaseInsensitive) == 0 ||
        given.compare(QLatin1String(kMeasurementFileSuffix), Qt::CaseInsensitive) == 0)
        return typed;
    const QString extension = chosenExtension.isEmpty() ? fallbackExtension : chosenExtension;
    // "name." gets no second dot.
    return typed.endsWith(QLatin1Char('.')) ? typed + extension : typed + QLatin1Char('.') + extension;
}

QByteArray BuildBmpFile(const QImage &image)
{
    if (image.isNull())
        return {};
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    if (bgr.isNull())
        return {};
    return BuildBmp24(bgr.width(), bgr.height(), [&bgr](int y) { return bgr.constScanLine(y); },
                      false);
}

bool WriteImageFile(const QString &path, const QString &extension, const QImage &composite,
                    QSize imageSize, const SnapshotSaver &saveSnapshot, QString *reason)
{
    if (imageSize == kCameraFrameMarkerSize)
        return saveSnapshot ? saveSnapshot(path, extension, reason) : false;
    const QByteArray bmp = BuildBmpFile(composite);
    if (bmp.isEmpty()) {
        if (reason)
            *reason = SystemReason(composite.isNull() ? EINVAL : EFBIG);
        return false;
    }
    if (IsJpegExtension(extension)) {
        return JpegWriter(path, kImageFileJpegQuality, composite.width(), composite.height(),
                          BmpPixelRows(bmp), reason, kImageFileJpegChroma) == 0;
    }
    return WriteFileAtomically(path, bmp, reason);
}

bool JpegDataComplete(const QByteArray &data)
{
    const auto *d = reinterpret_cast<const unsigned char *>(data.constData());
    const auto n = static_cast<std::size_t>(data.size());
    if (n < 2 || d[0] != 0xFF || d[1] != 0xD8)
        return true;
    std::size_t i = 2;
    for (;;) {
        if (i >= n || d[i] != 0xFF)
            return false;
        while (i < n && d[i] == 0xFF)
            ++i;
        if (i >= n)
            return false;
        const unsigned char marker = d[i++];
        if (marker == 0xD9)
            return true;
        if (IsStandaloneMarker(marker))
            continue;
        if (i + 2 > n)
            return false;
        const std::size_t length = (std::size_t(d[i]) << 8) | d[i + 1];
        if (length < 2 || length > n - i)
            return false;
        i += length;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data runs to the next marker that is not a stuffed
        // zero or a restart marker.
        for (;;) {
            if (i + 1 >= n)
                return false;
            if (d[i] != 0xFF) {
                ++i;
                continue;
            }
            const unsigned char next = d[i + 1];
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7))
                i += 2;
            else if (next == 0xFF)
                ++i;
            else
                break;
        }
    }
}

LoadedImage DecodeImageData(const QByteArray &data, qint64 maxPixels)
{
    if (data.isEmpty())
        return Failed(QStringLiteral("empty image file"));
    if (!JpegDataComplete(data))
        return Failed(QStringLiteral("JPEG data ends before its end marker"));
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly))
        return Failed(buffer.errorString());
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // The header tells the size before anything is allocated.
    const QSize size = reader.size();
    if (!size.isEmpty() && !ImageSizeAllowed(size, maxPixels))
        return TooLarge(QStringLiteral("image too large"), size);
    // Qt's own limit is in megabytes of the decoded image, up to 8 bytes a
    // pixel for 16-bit formats; the pixel count above is the real bound.
    reader.setAllocationLimit(ReaderAllocationLimitMb(maxPixels));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return Failed(reader.errorString());
    const QSize decoded = image.size();
    // A reader that could not tell the size up front is held to it here.
    if (!ImageSizeAllowed(decoded, maxPixels))
        return TooLarge(QStringLiteral("image too large"), decoded);
    image = image.convertToFormat(QImage::Format_RGB32);
    if (image.isNull())  // no memory for the conversion
        return TooLarge(QStringLiteral("out of memory"), decoded);
    LoadedImage r;
    r.image = std::move(image);
    return r;
}

LoadedImage LoadImageFile(const QString &path, qint64 maxPixels)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failed(file.errorString());
    // Read in pieces: the size a special file reports says nothing.
    QByteArray data;
    constexpr qint64 kChunk = 1 << 20;
    for (;;) {
        const QByteArray piece = file.read(kChunk);
        if (piece.isEmpty()) {
            if (file.error() != QFileDevice::NoError)
                return Failed(file.errorString());
            break;
        }
        if (data.size() + piece.size() > kMaxImageFileBytes)
            return Failed(QStringLiteral("image file too large"));
        data.append(piece);
    }
    return DecodeImageData(data, maxPixels);
}

}  // namespace orv

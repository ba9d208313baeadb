#pragma once
// Image files: the annotated image written as BMP or JPEG, image files
// decoded for loading, and the names of the work files.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

#include "core/image_limit.h"
#include "export/jpeg_writer.h"

namespace orv {

inline constexpr char kWorkFileJpgName[] = "Orvalin_Workfile.jpg";
inline constexpr char kWorkFileBmpName[] = "Orvalin_Workfile.bmp";
// JPEG files written from the composite or a frozen camera frame: high
// quality at full colour resolution, so one-pixel red lines stay red.
inline constexpr int kImageFileJpegQuality = 95;
inline constexpr JpegChroma kImageFileJpegChroma = JpegChroma::Full;
// The image size that marks a frozen camera frame as the current image.
inline constexpr QSize kCameraFrameMarkerSize{2, 2};
// Larger image files are not read.
inline constexpr qint64 kMaxImageFileBytes = qint64(512) * 1024 * 1024;

// dir joined with name by exactly one "/".
QString WorkFilePath(const QString &tempDir, const QString &name = QLatin1String(kWorkFileJpgName));

// The extension of a chosen file name as a file dialog reports it: the text
// after the last "." of the file name, empty when it has none.
QString FileExtension(const QString &path);
// "jpg" or "jpeg" in any case: the extensions that get JPEG data.
bool IsJpegExtension(const QString &extension);
// path with ".<extension>" appended when its file name has no extension.
QString WithDefaultExtension(const QString &path, const QString &extension);
// The file the Save Image chooser's answer is written to. typed is the name
// as given, chosenExtension the chosen file type's extension (empty for "all
// files": then fallbackExtension). A name ending in an extension Save Image
// writes (JPEG, BMP, measurement file) stays; any other name gets the type's
// extension appended, so the bytes always match the name.
QString ImageSavePath(const QString &typed, const QString &chosenExtension,
                      const QString &fallbackExtension);

// The complete 24-bit BMP file of the image (54-byte headers, then the rows
// bottom-up in blue-green-red, each padded with zeros to a multiple of 4).
// Empty for a null image or one too large for the format's 32-bit size.
QByteArray BuildBmpFile(const QImage &image);

// Saves the frozen camera frame under path with the given extension; on
// failure *reason (when given) gets the system's reason.
using SnapshotSaver = std::function<bool(const QString &path, const QString &extension, QString *reason)>;

// Writes the composite to path: when imageSize is the camera-frame marker
// (2 x 2) the camera's frame goes out through saveSnapshot instead. A JPEG
// (kImageFileJpegQuality) for a JPEG extension (".JPG" too: the name must not lie about
// the content); any other extension gets the BMP bytes under path. The file is
// replaced only when written whole. False when nothing was written, with the
// system's reason in *reason (when given).
bool WriteImageFile(const QString &path, const QString &extension, const QImage &composite,
                    QSize imageSize, const SnapshotSaver &saveSnapshot, QString *reason = nullptr);

struct LoadedImage {
    QImage image;   // Format_RGB32; null on failure
    QString error;  // diagnostic text when image is null
    // A valid image refused for its size: tooLarge set, size its dimensions.
    bool tooLarge = false;
    QSize size;
    bool ok() const { return !image.isNull(); }
};

// Reads the whole file and decodes it by its content (JPEG, BMP, GIF, PNG,
// TIFF). A file that cannot be read, cannot be decoded, or is a JPEG cut off
// before its end marker gives an error instead of an image; so does an image
// the size limit refuses (more than maxPixels pixels, or a side beyond
// kMaxImageSide), marked tooLarge.
LoadedImage LoadImageFile(const QString &path, qint64 maxPixels = MaxImagePixels());
LoadedImage DecodeImageData(const QByteArray &data, qint64 maxPixels = MaxImagePixels());

// False for JPEG data whose marker structure ends before the end-of-image
// marker; true for complete JPEG data and for data that is not JPEG.
bool JpegDataComplete(const QByteArray &data);

}  // namespace orv

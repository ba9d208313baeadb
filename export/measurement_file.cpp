#include "export/measurement_file.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <zip.h>

#include <cerrno>
#include <memory>

#include "core/atomic_file.h"
#include "export/image_file.h"
#include "export/measurement_json.h"

namespace orv {
namespace {

constexpr char kMimeEntry[] = "mimetype";
constexpr char kDataEntry[] = "measurements.json";
constexpr char kImageEntry[] = "image.png";
constexpr char kFormatName[] = "orvalin-measurements";
constexpr auto kMaxDataBytes = static_cast<zip_uint64_t>(kMaxMeasurementDataBytes);
constexpr zip_uint64_t kMaxMimeBytes = 256;

struct ZipDiscard {
    void operator()(zip_t *z) const { zip_discard(z); }
};
struct SourceFree {
    void operator()(zip_source_t *s) const { zip_source_free(s); }
};
struct FileClose {
    void operator()(zip_file_t *f) const { zip_fclose(f); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipDiscard>;
using SourcePtr = std::unique_ptr<zip_source_t, SourceFree>;
using FilePtr = std::unique_ptr<zip_file_t, FileClose>;

bool AddEntry(zip_t *zip, const char *name, const QByteArray &bytes, bool compress)
{
    zip_source_t *src = zip_source_buffer(zip, bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0);
    if (!src)
        return false;
    const zip_int64_t index = zip_file_add(zip, name, src, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(src);
        return false;
    }
    return zip_set_file_compression(zip, static_cast<zip_uint64_t>(index),
                                    compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0) == 0;
}

// The whole entry, or nullopt when it is absent, larger than max (then
// *tooLarge is set) or unreadable (a CRC mismatch included).
std::optional<QByteArray> ReadEntry(zip_t *zip, const char *name, zip_uint64_t max, bool *tooLarge = nullptr)
{
    const zip_int64_t index = zip_name_locate(zip, name, 0);
    zip_stat_t st;
    zip_stat_init(&st);
    if (index < 0 || zip_stat_index(zip, static_cast<zip_uint64_t>(index), 0, &st) != 0 ||
        !(st.valid & ZIP_STAT_SIZE))
        return std::nullopt;
    if (st.size > max) {
        if (tooLarge)
            *tooLarge = true;
        return std::nullopt;
    }
    FilePtr file(zip_fopen_index(zip, static_cast<zip_uint64_t>(index), 0));
    if (!file)
        return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(st.size), Qt::Uninitialized);
    if (zip_fread(file.get(), bytes.data(), st.size) != static_cast<zip_int64_t>(st.size))
        return std::nullopt;
    char extra;
    if (zip_fread(file.get(), &extra, 1) != 0)  // reaches the end, where the CRC is checked
        return std::nullopt;
    return bytes;
}

MeasurementReadResult Failure(MeasurementReadError error, QString detail, int major = 0)
{
    MeasurementReadResult r;
    r.error = error;
    r.detail = std::move(detail);
    r.foundMajor = major;
    return r;
}

}  // namespace

QByteArray EncodeMeasurementImage(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return png;
}

QByteArray EncodeMeasurementFile(const MeasurementSession &session)
{
    return EncodeMeasurementFile(session, EncodeMeasurementImage(session.image));
}

QByteArray EncodeMeasurementFile(const MeasurementSession &session, const QByteArray &png)
{
    return PackMeasurementFile(EncodeMeasurementData(session), png);
}

QByteArray EncodeMeasurementData(const MeasurementSession &session, const QJsonObject &extra)
{
    QJsonObject json = SessionToJson(session);
    for (auto it = extra.begin(); it != extra.end(); ++it)
        json.insert(it.key(), it.value());
    json.insert(QStringLiteral("format"), QLatin1String(kFormatName));
    json.insert(QStringLiteral("version"), kMeasurementFormatMajor);
    json.insert(QStringLiteral("minorVersion"), kMeasurementFormatMinor);
    return QJsonDocument(json).toJson(QJsonDocument::Indented);
}

QByteArray PackMeasurementFile(const QByteArray &data, const QByteArray &png)
{
    if (png.isEmpty() || data.isEmpty())
        return {};
    return PackMeasurementEntries(kMeasurementMediaType, data, png);
}

QByteArray PackMeasurementEntries(const QByteArray &mime, const QByteArray &data, const QByteArray &png)
{
    zip_error_t error;
    zip_error_init(&error);
    SourcePtr out(zip_source_buffer_create(nullptr, 0, 0, &error));
    zip_error_fini(&error);
    if (!out)
        return {};
    zip_source_keep(out.get());  // still ours after the archive is closed
    ZipPtr zip(zip_open_from_source(out.get(), ZIP_TRUNCATE, nullptr));
    if (!zip) {
        zip_source_free(out.get());  // the extra reference taken above
        return {};
    }
    // Already-compressed PNG data is stored as it is.
    if (!AddEntry(zip.get(), kMimeEntry, mime, false) || !AddEntry(zip.get(), kDataEntry, data, true) ||
        !AddEntry(zip.get(), kImageEntry, png, false) || zip_close(zip.get()) != 0)
        return {};
    zip.release();  // closed

    QByteArray bytes;
    if (zip_source_open(out.get()) != 0)
        return {};
    if (zip_source_seek(out.get(), 0, SEEK_END) == 0) {
        const zip_int64_t size = zip_source_tell(out.get());
        if (size > 0 && zip_source_seek(out.get(), 0, SEEK_SET) == 0) {
            bytes.resize(static_cast<qsizetype>(size));
            if (zip_source_read(out.get(), bytes.data(), static_cast<zip_uint64_t>(size)) != size)
                bytes.clear();
        }
    }
    zip_source_close(out.get());
    return bytes;
}

MeasurementReadResult ParseMeasurementData(const QByteArray &data, QJsonObject *json)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(data, &parseError);
    if (!doc.isObject())
        return Failure(MeasurementReadError::Damaged, QLatin1String(kDataEntry));
    *json = doc.object();
    if (json->value(QStringLiteral("format")).toString() != QLatin1String(kFormatName))
        return Failure(MeasurementReadError::NotMeasurement, {});
    const double major = json->value(QStringLiteral("version")).toDouble(0);
    if (!(major >= 1 && major < 1e6))
        return Failure(MeasurementReadError::Damaged, QStringLiteral("version"));
    if (major > kMeasurementFormatMajor)
        return Failure(MeasurementReadError::NewerVersion, {}, static_cast<int>(major));
    MeasurementReadResult result;
    result.foundMajor = static_cast<int>(major);
    return result;
}

MeasurementReadResult MeasurementSessionFromData(const QJsonObject &json, QImage image)
{
    MeasurementReadResult result;
    result.session.emplace();
    result.session->image = std::move(image);
    QString what;
    if (!SessionFromJson(json, result.session->image.size(), *result.session, &what))
        return Failure(MeasurementReadError::Damaged, what);
    result.foundMajor = static_cast<int>(json.value(QStringLiteral("version")).toDouble(0));
    return result;
}

MeasurementReadResult DecodeMeasurementFile(const QByteArray &bytes, QJsonObject *data)
{
    zip_error_t error;
    zip_error_init(&error);
    SourcePtr src(zip_source_buffer_create(bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &error));
    zip_error_fini(&error);
    if (!src)
        return Failure(MeasurementReadError::NotMeasurement, {});
    ZipPtr zip(zip_open_from_source(src.get(), ZIP_RDONLY | ZIP_CHECKCONS, nullptr));
    if (!zip)
        return Failure(MeasurementReadError::NotMeasurement, {});
    src.release();  // the archive owns it now

    // A media type entry beyond any media type's length is ours, broken.
    bool mimeTooLarge = false;
    const auto mime = ReadEntry(zip.get(), kMimeEntry, kMaxMimeBytes, &mimeTooLarge);
    if (mimeTooLarge)
        return Failure(MeasurementReadError::Damaged, QLatin1String(kMimeEntry));
    if (!mime || *mime != kMeasurementMediaType)
        return Failure(MeasurementReadError::NotMeasurement, {});
    const auto dataBytes = ReadEntry(zip.get(), kDataEntry, kMaxDataBytes);
    if (!dataBytes)
        return Failure(MeasurementReadError::Damaged, QLatin1String(kDataEntry));
    QJsonObject json;
    if (MeasurementReadResult header = ParseMeasurementData(*dataBytes, &json);
        header.error != MeasurementReadError::None)
        return header;

    const auto png = ReadEntry(zip.get(), kImageEntry, static_cast<zip_uint64_t>(kMaxImageFileBytes));
    if (!png)
        return Failure(MeasurementReadError::Damaged, QLatin1String(kImageEntry));
    LoadedImage image = DecodeImageData(*png);
    if (image.tooLarge)
        return Failure(MeasurementReadError::ImageTooLarge,
                       QStringLiteral("%1 × %2").arg(image.size.width()).arg(image.size.height()));
    if (!image.ok())
        return Failure(MeasurementReadError::Damaged, QLatin1String(kImageEntry));

    MeasurementReadResult result = MeasurementSessionFromData(json, std::move(image.image));
    if (result.session && data)
        *data = std::move(json);
    return result;
}

bool SaveMeasurementFile(const QString &path, const MeasurementSession &session, QString *reason)
{
    const QByteArray bytes = EncodeMeasurementFile(session);
    if (bytes.isEmpty()) {
        if (reason)
            *reason = QStringLiteral("the image could not be encoded");
        return false;
    }
    return WriteFileAtomically(path, bytes, reason);
}

MeasurementReadResult LoadMeasurementFile(const QString &path, QJsonObject *data)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return Failure(MeasurementReadError::Unreadable, SystemReason(QFileInfo::exists(path) ? EISDIR : ENOENT));
    if (file.size() > kMaxImageFileBytes + qint64(kMaxDataBytes))
        return Failure(MeasurementReadError::Unreadable, SystemReason(EFBIG));
    if (!file.open(QIODevice::ReadOnly))
        return Failure(MeasurementReadError::Unreadable, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Failure(MeasurementReadError::Unreadable, file.errorString());
    return DecodeMeasurementFile(bytes, data);
}

QString MeasurementReadMessage(const MeasurementReadResult &r, const QString &path, Language lang)
{
    const QString name = QFileInfo(path).fileName();
    const bool ja = lang == Language::Japanese;
    switch (r.error) {
    case MeasurementReadError::None:
        return {};
    case MeasurementReadError::Unreadable:
        return (ja ? QStringLiteral("計測ファイル %1 を読み込めませんでした (%2)。")
                   : QStringLiteral("The measurement file %1 could not be read (%2)."))
            .arg(name, r.detail);
    case MeasurementReadError::NotMeasurement:
        return (ja ? QStringLiteral("%1 は計測ファイルではありません。")
                   : QStringLiteral("%1 is not a measurement file."))
            .arg(name);
    case MeasurementReadError::Damaged:
        return (ja ? QStringLiteral("計測ファイル %1 は壊れています (%2)。")
                   : QStringLiteral("The measurement file %1 is damaged (%2)."))
            .arg(name, r.detail);
    case MeasurementReadError::NewerVersion:
        return (ja ? QStringLiteral("計測ファイル %1 は新しいバージョン (形式 %2) で保存されたため開けません。")
                   : QStringLiteral("The measurement file %1 was saved by a newer version (format %2) and cannot be opened."))
            .arg(name)
            .arg(r.foundMajor);
    case MeasurementReadError::ImageTooLarge:
        return (ja ? QStringLiteral("計測ファイル %1 の画像が大きすぎます (%2)。")
                   : QStringLiteral("The image in the measurement file %1 is too large (%2)."))
            .arg(name, r.detail);
    }
    return {};
}

}  // namespace orv

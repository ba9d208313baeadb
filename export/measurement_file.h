#pragma once
// The measurement file: everything needed to reopen a measuring session as it
// was saved. A ZIP container holding
//   "mimetype"       the media type below, stored first and uncompressed,
//   "measurements.json"  calibration, standard scale, items, label mode, zoom,
//   "image.png"      the image at its original pixels (lossless).
// ZIP keeps the picture and the data in one file that ordinary tools can
// inspect; JSON keeps the data readable and lets newer versions add fields
// that older ones ignore. Only a newer major version is refused.

#include <QByteArray>
#include <QImage>
#include <QJsonObject>
#include <QString>

#include <optional>

#include "calib/scale_setting.h"
#include "calib/standard_scale.h"
#include "measure/label_mode.h"
#include "measure/language.h"
#include "measure/measure_item.h"

namespace orv {

inline constexpr char kMeasurementFileSuffix[] = "orvm";
inline constexpr char kMeasurementMediaType[] = "application/x-orvalin-measurements";
inline constexpr int kMeasurementFormatMajor = 1;
inline constexpr int kMeasurementFormatMinor = 0;
// The data part's largest size: beyond it a file is damaged.
inline constexpr qint64 kMaxMeasurementDataBytes = qint64(64) * 1024 * 1024;

struct MeasurementSession {
    QImage image;
    ScaleSetting calibration;
    StandardScale standardScale;
    MeasureList items;
    LabelMode labelMode = LabelMode::Summary;
    int zoomX = 100;
    int zoomY = 100;
};

enum class MeasurementReadError {
    None,
    Unreadable,     // the file could not be read at all
    NotMeasurement, // not a ZIP, or not ours
    Damaged,        // ours, but a part is missing or out of range
    NewerVersion,   // a major version this program does not know
    ImageTooLarge,  // beyond the image size limit
};

struct MeasurementReadResult {
    std::optional<MeasurementSession> session;
    MeasurementReadError error = MeasurementReadError::None;
    QString detail;  // the system's reason or the part that failed, for the message
    int foundMajor = 0;
};

// The file's bytes. Empty when the image cannot be encoded.
QByteArray EncodeMeasurementFile(const MeasurementSession &session);
// The image as the file stores it; empty when it cannot be encoded.
QByteArray EncodeMeasurementImage(const QImage &image);
// The file's bytes around an image encoded before (EncodeMeasurementImage of
// session.image): a writer that saves one image many times encodes it once.
QByteArray EncodeMeasurementFile(const MeasurementSession &session, const QByteArray &png);

// The data part ("measurements.json") alone. The members of `extra` are
// added beside the session's: a writer's own bookkeeping, which readers that
// do not know it ignore.
QByteArray EncodeMeasurementData(const MeasurementSession &session, const QJsonObject &extra = {});
// The file's bytes with the data part given as it is (EncodeMeasurementData).
QByteArray PackMeasurementFile(const QByteArray &data, const QByteArray &png);
// A data part parsed and its format and version checked; *json gets the
// object. The result holds no session: error None when it may be read on.
MeasurementReadResult ParseMeasurementData(const QByteArray &data, QJsonObject *json);
// The session a parsed data part describes on image, with the same checks
// against hostile values as a whole file gets.
MeasurementReadResult MeasurementSessionFromData(const QJsonObject &json, QImage image);

// The three entries as they are stored, for writers of variants (tests,
// converters). Empty on failure.
QByteArray PackMeasurementEntries(const QByteArray &mediaType, const QByteArray &json, const QByteArray &png);
// *data (when given) gets the data part's object, a writer's own members included.
MeasurementReadResult DecodeMeasurementFile(const QByteArray &bytes, QJsonObject *data = nullptr);

// Written atomically: on failure the old file stays and *reason gets why.
bool SaveMeasurementFile(const QString &path, const MeasurementSession &session, QString *reason = nullptr);
MeasurementReadResult LoadMeasurementFile(const QString &path, QJsonObject *data = nullptr);

// The message for a failed read, naming the file.
QString MeasurementReadMessage(const MeasurementReadResult &result, const QString &path, Language lang);

}  // namespace orv

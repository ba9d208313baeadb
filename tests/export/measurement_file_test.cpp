#include "export/measurement_file.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "core/atomic_file.h"
#include "export/measurement_json.h"
#include "measure/units.h"
#include "measure/values.h"
#include "file_test_util.h"
#include "same_items.h"

using namespace orv;
using orv::test::ExpectSameItems;
using orv::test::PngOf;

namespace {

QImage Picture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
    return image;
}

// Every kind, with the fields that vary: derived points, moved labels,
// sub-results one of which was removed from the list, Japanese texts.
MeasurementSession RichSession()
{
    MeasurementSession s;
    s.image = Picture(64, 48);
    s.calibration.hPixel = "123";
    s.calibration.hValue = "0.5";
    s.calibration.vPixel = "77";
    s.calibration.vValue = "2";
    s.calibration.unit = "inch";
    s.calibration.link = kLinkAsync;
    s.calibration.hStart = {3, 4};
    s.calibration.vStart = {5, 6};
    s.calibration.hPixelU = 0.41;
    s.calibration.vPixelU = 0.02;
    s.calibration.clickU = 0.5;
    s.standardScale.length = "250";
    s.standardScale.show = 1;
    s.standardScale.position = {9, 40};
    s.standardScale.pixelLength = 61;
    s.standardScale.faceName = "ＭＳ ゴシック";
    s.labelMode = LabelMode::Details;
    s.zoomX = 200;
    s.zoomY = 50;
    for (int kind = KindStandardScale; kind <= int(KindDiameter); ++kind) {
        auto item = NewMeasureItem();
        item->kind = static_cast<MeasureKind>(kind);
        for (int i = 0; i < 3; ++i)
            item->points.push_back({QPoint(kind + i, 2 * i), QPoint(-kind, i), QPoint(1, kind), QPoint(kind, 1)});
        AppendSubResult(*item, "角度 " + std::to_string(kind), kind, kind + 1, QPoint(kind, kind));
        AppendSubResult(*item, "removed", kind, -1, QPoint(1, 2)).labelBox = {1, 2, 30, 14};
        item->center = {kind, 20};
        item->center2 = {20, kind};
        item->radius = kind * 3;
        item->radius2 = kind;
        item->text = kind == KindText ? "テキスト, with \"quotes\"\nand a line" : "";
        item->labelBox = {kind, kind + 1, kind + 40, kind + 16};
        item->row = kind;
        item->number = kind;
        item->value = kind / 7.0;
        item->arcStart = 0.25 * kind;
        item->arcStop = -1.5;
        item->unit = 3;
        item->lineWidth = kind % 5;
        item->lineColor = MakeColorRef(kind, 2, 3);
        item->fontSize = 12 + kind;
        item->fontColor = 0xFFFFFF;
        item->backColor = 0x00FF00;
        item->backMode = kind % 2;
        s.items.Append(std::move(item));
    }
    return s;
}

QJsonObject DataOf(const MeasurementSession &s)
{
    // The JSON entry as the writer makes it, for variants of a good file.
    QJsonObject json = SessionToJson(s);
    json.insert("format", "orvalin-measurements");
    json.insert("version", kMeasurementFormatMajor);
    return json;
}

// The IHDR chunk's CRC (over its type and data, bytes 12..28) after an edit.
void FixPngHeaderCrc(QByteArray &png)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (int i = 12; i < 29; ++i) {
        crc ^= static_cast<unsigned char>(png[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    crc ^= 0xFFFFFFFFu;
    for (int i = 0; i < 4; ++i)
        png[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
}

}  // namespace

TEST(MeasurementFile, RoundTripKeepsEveryFieldAndEveryPixel)
{
    const MeasurementSession s = RichSession();
    QTemporaryDir dir;
    const QString path = dir.filePath("session.orvm");
    QString reason;
    ASSERT_TRUE(SaveMeasurementFile(path, s, &reason)) << reason.toStdString();

    const MeasurementReadResult r = LoadMeasurementFile(path);
    ASSERT_EQ(r.error, MeasurementReadError::None) << r.detail.toStdString();
    ASSERT_TRUE(r.session);
    const MeasurementSession &t = *r.session;
    EXPECT_EQ(t.image.convertToFormat(QImage::Format_RGB32), s.image);
    EXPECT_EQ(t.calibration, s.calibration);
    EXPECT_EQ(t.standardScale, s.standardScale);
    EXPECT_EQ(t.labelMode, s.labelMode);
    EXPECT_EQ(t.zoomX, 200);
    EXPECT_EQ(t.zoomY, 50);
    ExpectSameItems(t.items, s.items);
}

TEST(MeasurementFile, UnknownMembersAreIgnoredAndMissingOnesKeepDefaults)
{
    const MeasurementSession s = RichSession();
    QJsonObject json = DataOf(s);
    json.insert("minorVersion", 99);
    json.insert("comment", "from a later version");
    QJsonObject calibration = json.value("calibration").toObject();
    calibration.remove("vValue");
    calibration.insert("future", QJsonObject{{"x", 1}});
    json.insert("calibration", calibration);
    json.remove("zoom");

    const auto r = DecodeMeasurementFile(
        PackMeasurementEntries(kMeasurementMediaType, QJsonDocument(json).toJson(), PngOf(s.image)));
    ASSERT_EQ(r.error, MeasurementReadError::None) << r.detail.toStdString();
    EXPECT_EQ(r.session->calibration.hPixel, "123");
    EXPECT_EQ(r.session->calibration.vValue, ScaleSetting{}.vValue);
    EXPECT_EQ(r.session->zoomX, 100);
    ExpectSameItems(r.session->items, s.items);
}

TEST(MeasurementFile, BadFilesAreRefusedWithTheirReason)
{
    const MeasurementSession s = RichSession();
    const QByteArray png = PngOf(s.image);
    const QJsonObject good = DataOf(s);
    auto with = [&](const char *key, const QJsonValue &value) {
        QJsonObject json = good;
        json.insert(key, value);
        return QJsonDocument(json).toJson();
    };
    auto itemWith = [&](const char *key, const QJsonValue &value) {
        QJsonObject json = good;
        QJsonArray items = json.value("items").toArray();
        QJsonObject first = items[0].toObject();
        first.insert(key, value);
        items[0] = first;
        json.insert("items", items);
        return QJsonDocument(json).toJson();
    };
    const QByteArray mime(kMeasurementMediaType);
    const QByteArray goodFile = EncodeMeasurementFile(s);
    QImage huge(1, 1, QImage::Format_RGB32);
    QByteArray hugePng = PngOf(huge);
    // IHDR width and height start at byte 16: claim 60000 × 60000.
    for (int at : {16, 20}) {
        hugePng[at] = 0;
        hugePng[at + 1] = 0;
        hugePng[at + 2] = char(0xEA);
        hugePng[at + 3] = 0x60;
    }
    FixPngHeaderCrc(hugePng);

    const struct {
        const char *name;
        QByteArray bytes;
        MeasurementReadError error;
        QString detail;
    } cases[] = {
        {"empty", {}, MeasurementReadError::NotMeasurement, {}},
        {"a PNG", png, MeasurementReadError::NotMeasurement, {}},
        {"cut short", goodFile.left(goodFile.size() / 2), MeasurementReadError::NotMeasurement, {}},
        {"other media type", PackMeasurementEntries("text/plain", QJsonDocument(good).toJson(), png),
         MeasurementReadError::NotMeasurement, {}},
        {"other format", PackMeasurementEntries(mime, with("format", "something else"), png),
         MeasurementReadError::NotMeasurement, {}},
        {"newer major", PackMeasurementEntries(mime, with("version", 2), png), MeasurementReadError::NewerVersion, {}},
        {"no version", PackMeasurementEntries(mime, with("version", "one"), png), MeasurementReadError::Damaged,
         "version"},
        {"broken JSON", PackMeasurementEntries(mime, "{\"format\":", png), MeasurementReadError::Damaged,
         "measurements.json"},
        {"no image", PackMeasurementEntries(mime, QJsonDocument(good).toJson(), {}), MeasurementReadError::Damaged,
         "image.png"},
        {"huge image", PackMeasurementEntries(mime, QJsonDocument(good).toJson(), hugePng),
         MeasurementReadError::ImageTooLarge, "60000 × 60000"},
        {"kind 0", PackMeasurementEntries(mime, itemWith("kind", 0), png), MeasurementReadError::Damaged, "kind"},
        {"kind 21", PackMeasurementEntries(mime, itemWith("kind", 21), png), MeasurementReadError::Damaged, "kind"},
        {"far centre", PackMeasurementEntries(mime, itemWith("center", QJsonArray{2e9, 0}), png),
         MeasurementReadError::Damaged, "center"},
        {"fractional row", PackMeasurementEntries(mime, itemWith("row", 1.5), png), MeasurementReadError::Damaged,
         "row"},
        {"value NaN text", PackMeasurementEntries(mime, itemWith("value", "nan"), png), MeasurementReadError::Damaged,
         "value"},
        {"points not a list", PackMeasurementEntries(mime, itemWith("points", 3), png),
         MeasurementReadError::Damaged, "points"},
        {"three-number box", PackMeasurementEntries(mime, itemWith("labelBox", QJsonArray{1, 2, 3}), png),
         MeasurementReadError::Damaged, "labelBox"},
        {"negative uncertainty", PackMeasurementEntries(mime, itemWith("uncertainty", -0.1), png),
         MeasurementReadError::Damaged, "uncertainty"},
        {"negative click uncertainty",
         PackMeasurementEntries(mime, with("calibration", QJsonObject{{"clickU", -1}}), png),
         MeasurementReadError::Damaged, "clickU"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = DecodeMeasurementFile(c.bytes);
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(r.detail, c.detail);
        EXPECT_FALSE(r.session);
    }
}

TEST(MeasurementFile, EntriesBeyondTheirBoundsAreDamaged)
{
    const MeasurementSession s = RichSession();
    const QByteArray png = PngOf(s.image);
    const QByteArray json = QJsonDocument(DataOf(s)).toJson();
    const QByteArray mime(kMeasurementMediaType);
    // Good JSON padded with spaces to n bytes: readable whatever its size.
    const auto padded = [&json](qsizetype n) { return json + QByteArray(n - json.size(), ' '); };
    const qsizetype MiB = 1024 * 1024;
    const struct {
        const char *name;
        QByteArray mime;
        QByteArray json;
        MeasurementReadError error;
        QString detail;
    } cases[] = {
        {"data one byte beyond", mime, padded(64 * MiB + 1), MeasurementReadError::Damaged, "measurements.json"},
        {"media type at its bound", mime + QByteArray(256 - mime.size(), ' '), json,
         MeasurementReadError::NotMeasurement, {}},
        {"media type beyond", mime + QByteArray(300, ' '), json, MeasurementReadError::Damaged, "mimetype"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray file = PackMeasurementEntries(c.mime, c.json, png);
        ASSERT_FALSE(file.isEmpty());
        const auto r = DecodeMeasurementFile(file);
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(r.detail, c.detail);
        EXPECT_EQ(r.session.has_value(), c.error == MeasurementReadError::None);
    }
}

TEST(MeasurementFile, FailedSaveKeepsTheOldFileAndSaysWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.orvm");
    MeasurementSession first = RichSession();
    ASSERT_TRUE(SaveMeasurementFile(path, first));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    QString reason;
    EXPECT_FALSE(SaveMeasurementFile(dir.filePath("missing/x.orvm"), first, &reason));
    EXPECT_FALSE(reason.isEmpty());
    MeasurementSession empty;  // no image: nothing to write
    reason.clear();
    EXPECT_FALSE(SaveMeasurementFile(path, empty, &reason));
    EXPECT_FALSE(reason.isEmpty());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);

    const auto missing = LoadMeasurementFile(dir.filePath("none.orvm"));
    EXPECT_EQ(missing.error, MeasurementReadError::Unreadable);
    EXPECT_EQ(MeasurementReadMessage(missing, dir.filePath("none.orvm"), Language::English),
              "The measurement file none.orvm could not be read (" + SystemReason(ENOENT) + ").");
    EXPECT_EQ(LoadMeasurementFile(dir.path()).error, MeasurementReadError::Unreadable);
}

TEST(MeasurementFile, LoadedPointsThatFindNoCircleKeepTheSavedOneForValues)
{
    struct Case {
        MeasureKind kind;
        std::vector<QPoint> points;  // collinear triples
        double want;                 // from the saved circles below
    };
    const Case cases[] = {
        {KindAreaCircle, {{10, 10}, {20, 20}, {30, 30}}, std::numbers::pi * 7 * 7},
        {KindDistanceCircles, {{10, 10}, {20, 20}, {30, 30}, {5, 1}, {5, 2}, {5, 3}}, std::hypot(40 - 25, 30 - 22)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.kind);
        MeasurementSession s;
        s.image = Picture(64, 48);
        auto item = NewMeasureItem();
        item->kind = c.kind;
        for (QPoint p : c.points)
            AppendPoint(*item, p);
        item->center = {40, 30};
        item->radius = 7;
        item->center2 = {25, 22};
        item->radius2 = 4;
        s.items.Append(std::move(item));

        MeasurementSession t;
        QString what;
        ASSERT_TRUE(SessionFromJson(SessionToJson(s), s.image.size(), t, &what)) << what.toStdString();
        ASSERT_EQ(t.items.size(), 1u);
        ComputeMeasureValue(t.items.at(0), ScaleFactors{1.0, 1.0, UnitMillimetre}, Language::English);
        EXPECT_NEAR(t.items.at(0).value, c.want, 1e-9 * c.want);
    }
}

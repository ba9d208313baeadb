// The index beside the scale files: keys by camera and frame size, the round
// trip through its file, and contents it must survive.
#include "calib/calibration_size.h"
#include "calib/camera_scale_index.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/support/file_test_util.h"

using namespace orv;
using namespace orv::test;

namespace {

QString IndexPath(const QTemporaryDir &dir)
{
    return dir.filePath(QLatin1String(CameraScaleIndex::kFileName));
}

TEST(CameraScaleIndex, KeysAreTheCameraAndTheFrameSize)
{
    CameraScaleIndex index;
    index.setScaleFor("Kestra 2", {1280, 960}, "x40");
    index.setScaleFor("Kestra 2", {640, 480}, "x40 small");
    index.setScaleFor("Other", {1280, 960}, "other");
    index.setScaleFor("Kestra 2", {1280, 960}, "x100");  // the latest choice wins
    struct Case {
        const char *camera;
        QSize size;
        const char *scale;
    };
    for (const Case c : {Case{"Kestra 2", {1280, 960}, "x100"}, Case{"Kestra 2", {640, 480}, "x40 small"},
                         Case{"Other", {1280, 960}, "other"}, Case{"Other", {640, 480}, ""},
                         Case{"kestra 2", {1280, 960}, ""}, Case{"Kestra 2", {960, 1280}, ""},
                         Case{"", {1280, 960}, ""}}) {
        SCOPED_TRACE(c.camera);
        EXPECT_EQ(index.scaleFor(c.camera, c.size), QString::fromUtf8(c.scale));
    }
    // The defaults chosen for a camera forget its file.
    index.setScaleFor("Other", {1280, 960}, QString());
    EXPECT_EQ(index.scaleFor("Other", {1280, 960}), QString());
    EXPECT_EQ(index.scaleFor("Kestra 2", {640, 480}), "x40 small");
}

TEST(CameraScaleIndex, RoundTripThroughItsFile)
{
    QTemporaryDir dir;
    CameraScaleIndex index;
    index.setScaleFor(QString::fromUtf8("顕微鏡 \"A\""), {1280, 960}, QString::fromUtf8("細胞 x40"));
    index.setScaleFor("Nimbra", {1280, 960}, "wire");
    index.setMadeAt(QString::fromUtf8("細胞 x40"), {1280, 960});
    index.setMadeAt("wire", {640, 480});
    ASSERT_TRUE(index.Save(dir.path()));
    CameraScaleIndex::LoadStatus status{};
    const CameraScaleIndex read = CameraScaleIndex::Load(dir.path(), &status);
    EXPECT_EQ(status, CameraScaleIndex::LoadStatus::Read);
    EXPECT_EQ(read, index);
    EXPECT_EQ(read.scaleFor(QString::fromUtf8("顕微鏡 \"A\""), {1280, 960}), QString::fromUtf8("細胞 x40"));
    EXPECT_EQ(read.madeAt("wire"), QSize(640, 480));
    EXPECT_FALSE(read.madeAt("unknown").isValid());
}

TEST(CameraScaleIndex, MissingIndexIsEmptyAndNothingIsWritten)
{
    QTemporaryDir dir;
    CameraScaleIndex::LoadStatus status{};
    EXPECT_TRUE(CameraScaleIndex::Load(dir.path(), &status).empty());
    EXPECT_EQ(status, CameraScaleIndex::LoadStatus::Missing);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// Contents that are no index at all: set aside, and an empty index starts.
TEST(CameraScaleIndex, DamagedIndexIsSetAsideAndStartsEmpty)
{
    const QByteArray deep = QByteArray(100000, '[') + QByteArray(100000, ']');
    const QByteArray big = "{\"cameras\": [], \"pad\": \"" + QByteArray(CameraScaleIndex::kMaxFileBytes, 'x') + "\"}";
    struct Case {
        const char *name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty file", ""},
        {"not JSON", "camera=Kestra\nscale=x40\n"},
        {"cut short", "{\"cameras\": [{\"camera\": \"Kestra\", \"width\": 1280"},
        {"an array", "[{\"camera\": \"Kestra\"}]"},
        {"cameras not a list", "{\"cameras\": {\"camera\": \"Kestra\"}}"},
        {"scales not a list", "{\"scales\": \"x40\"}"},
        {"nested deep", deep},
        {"too large", big},
        {"binary", QByteArray("\xff\xfe\x00\x01{\x00", 6)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(WriteAll(IndexPath(dir), c.bytes));
        CameraScaleIndex::LoadStatus status{};
        CameraScaleIndex index = CameraScaleIndex::Load(dir.path(), &status);
        EXPECT_EQ(status, CameraScaleIndex::LoadStatus::Damaged);
        EXPECT_TRUE(index.empty());
        EXPECT_FALSE(QFile::exists(IndexPath(dir)));
        EXPECT_EQ(ReadAll(IndexPath(dir) + CameraScaleIndex::kDamagedSuffix), c.bytes);
        // Rebuilt from there on.
        index.setScaleFor("Kestra", {640, 480}, "x40");
        ASSERT_TRUE(index.Save(dir.path()));
        EXPECT_EQ(CameraScaleIndex::Load(dir.path(), &status).scaleFor("Kestra", {640, 480}), "x40");
        EXPECT_EQ(status, CameraScaleIndex::LoadStatus::Read);
    }
}

// A readable index keeps its good entries and drops the ones that make no sense.
TEST(CameraScaleIndex, HostileEntriesAreDroppedAndTheRestKept)
{
    const char *good = R"({"camera": "Kestra", "width": 1280, "height": 960, "scale": "x40"})";
    struct Case {
        const char *name;
        const char *entry;
        // The entry names no camera but is a good scale entry.
        bool scaleKept = false;
    };
    const Case cases[] = {
        {"not an object", "17"},
        {"no camera", R"({"width": 640, "height": 480, "scale": "x40"})", true},
        {"camera a number", R"({"camera": 5, "width": 640, "height": 480, "scale": "x40"})", true},
        {"width a text", R"({"camera": "C", "width": "640", "height": 480, "scale": "x40"})"},
        {"negative height", R"({"camera": "C", "width": 640, "height": -480, "scale": "x40"})"},
        {"zero width", R"({"camera": "C", "width": 0, "height": 480, "scale": "x40"})"},
        {"fraction", R"({"camera": "C", "width": 640.5, "height": 480, "scale": "x40"})"},
        {"huge", R"({"camera": "C", "width": 1e300, "height": 480, "scale": "x40"})"},
        {"beyond any frame", R"({"camera": "C", "width": 70000, "height": 480, "scale": "x40"})"},
        {"scale in a folder", R"({"camera": "C", "width": 640, "height": 480, "scale": "../../etc/passwd"})"},
        {"scale with a backslash", R"({"camera": "C", "width": 640, "height": 480, "scale": "a\\b"})"},
        {"scale a parent", R"({"camera": "C", "width": 640, "height": 480, "scale": ".."})"},
        {"scale empty", R"({"camera": "C", "width": 640, "height": 480, "scale": ""})"},
        {"scale with NUL", R"({"camera": "C", "width": 640, "height": 480, "scale": "a\u0000b"})"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QByteArray text = QByteArray("{\"version\": 99, \"cameras\": [") + c.entry + ", " + good
            + "], \"scales\": [" + QByteArray(c.entry).replace("\"camera\"", "\"other\"") + "]}";
        ASSERT_TRUE(WriteAll(IndexPath(dir), text));
        CameraScaleIndex::LoadStatus status{};
        const CameraScaleIndex index = CameraScaleIndex::Load(dir.path(), &status);
        EXPECT_EQ(status, CameraScaleIndex::LoadStatus::Read);
        EXPECT_EQ(index.scaleFor("Kestra", {1280, 960}), "x40");
        EXPECT_EQ(index.scaleFor("C", {640, 480}), QString());
        EXPECT_EQ(index.madeAt("x40"), c.scaleKept ? QSize(640, 480) : QSize());
        EXPECT_FALSE(index.madeAt("../../etc/passwd").isValid());
    }
}

TEST(CameraScaleIndex, KeepsTheLatestEntriesOnly)
{
    QTemporaryDir dir;
    CameraScaleIndex index;
    const int count = static_cast<int>(CameraScaleIndex::kMaxEntries) + 10;
    for (int i = 0; i < count; ++i) {
        index.setScaleFor(QStringLiteral("camera %1").arg(i), {640, 480}, QStringLiteral("s%1").arg(i));
        index.setMadeAt(QStringLiteral("s%1").arg(i), {640, 480});
    }
    ASSERT_TRUE(index.Save(dir.path()));
    const CameraScaleIndex read = CameraScaleIndex::Load(dir.path());
    EXPECT_EQ(read.scaleFor("camera 9", {640, 480}), QString());
    EXPECT_EQ(read.scaleFor("camera 10", {640, 480}), "s10");
    EXPECT_EQ(read.scaleFor(QStringLiteral("camera %1").arg(count - 1), {640, 480}), QStringLiteral("s%1").arg(count - 1));
    EXPECT_FALSE(read.madeAt("s9").isValid());
    EXPECT_EQ(read.madeAt("s10"), QSize(640, 480));
}

TEST(CameraScaleIndex, AFolderThatCannotTakeItFailsWithAReason)
{
    QTemporaryDir dir;
    CameraScaleIndex index;
    index.setScaleFor("Kestra", {640, 480}, "x40");
    QString reason;
    EXPECT_FALSE(index.Save(dir.filePath("no such folder"), &reason));
    EXPECT_FALSE(reason.isEmpty());
    // Something else in the index's place is set aside like a damaged index.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QLatin1String(CameraScaleIndex::kFileName)));
    CameraScaleIndex::LoadStatus status{};
    EXPECT_TRUE(CameraScaleIndex::Load(dir.path(), &status).empty());
    EXPECT_EQ(status, CameraScaleIndex::LoadStatus::Damaged);
    ASSERT_TRUE(index.Save(dir.path()));
    EXPECT_EQ(CameraScaleIndex::Load(dir.path()).scaleFor("Kestra", {640, 480}), "x40");
}

TEST(CalibrationSize, TheWarningNamesBothSizesOnlyWhenTheyDiffer)
{
    struct Case {
        QSize madeAt;
        QSize image;
        bool warns;
    };
    for (const Case c : {Case{{1280, 960}, {640, 480}, true}, Case{{640, 480}, {1280, 960}, true},
                         Case{{1280, 960}, {960, 1280}, true}, Case{{1280, 960}, {1280, 960}, false},
                         Case{{}, {640, 480}, false}, Case{{1280, 960}, {}, false}}) {
        for (const Language lang : {Language::English, Language::Japanese}) {
            const QString text = CalibrationSizeWarning(c.madeAt, c.image, lang);
            EXPECT_EQ(!text.isEmpty(), c.warns) << text.toStdString();
            if (c.warns) {
                const qsizetype made = text.indexOf(ImageSizeText(c.madeAt));
                EXPECT_GE(made, 0);
                EXPECT_GT(text.indexOf(ImageSizeText(c.image), made + 1), made) << text.toStdString();
            }
        }
    }
    EXPECT_EQ(CalibrationSizeWarning({1280, 960}, {640, 480}, Language::English),
              QString::fromUtf8("Calibrated at 1280 × 960; this image is 640 × 480."));
}

// Names are user text: a camera called "%2" stays as it is.
TEST(CalibrationSize, CameraScaleTextKeepsNamesAsTheyAre)
{
    for (const Language lang : {Language::English, Language::Japanese}) {
        const QString text = CameraScaleText("Cam %2 %3", {1280, 960}, "x%1", lang);
        EXPECT_TRUE(text.contains("Cam %2 %3")) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8("1280 × 960"))) << text.toStdString();
        EXPECT_TRUE(text.endsWith("x%1")) << text.toStdString();
    }
}

}  // namespace

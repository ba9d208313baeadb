#include "calib/draw_file.h"
#include "calib/scale_file.h"
#include "calib/setting_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cmath>

#include "tests/support/file_test_util.h"

using namespace orv;
using namespace orv::test;

namespace {
const std::string kMu = "\xCE\xBCm";  // μm
}

TEST(ScaleFile, SaveWritesTheTableInOrderWithCp932Unit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lens40.sst");
    ScaleSetting s = ScaleSetting::Defaults(Language::Japanese);
    s.hValue = "100.50";
    s.link = kLinkSync;
    ASSERT_TRUE(SaveScaleSetting(path, s));
    EXPECT_EQ(ReadAll(path),
              "[HScale]\r\nstart_x=10\r\nstart_y=10\r\npixel=100\r\nvalue=100.50\r\nunit=\x83\xCA\x6D\r\n"
              "[VScale]\r\nstart_x=10\r\nstart_y=10\r\npixel=100\r\nvalue=100\r\n"
              "[HVLink]\r\nlink=0\r\n");
    EXPECT_EQ(LoadScaleSetting(path), s);
}

TEST(ScaleFile, RoundTripKeepsOtherContents)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.sst");
    ASSERT_TRUE(WriteAll(path, "[Notes]\nwho=me\n[hscale]\nUNIT=mm\nextra=1\n"));
    ScaleSetting s;
    s.hPixel = "250";
    s.unit = "inch";
    s.vStart = QPoint(-4, 7);
    ASSERT_TRUE(SaveScaleSetting(path, s));
    EXPECT_EQ(LoadScaleSetting(path), s);
    const std::string text = Str(ReadAll(path));
    EXPECT_NE(text.find("[Notes]\nwho=me\n[hscale]\nUNIT=inch\nextra=1\n"), std::string::npos) << text;
}

TEST(ScaleFile, MissingKeysGiveTheFileDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("h.sst");
    ASSERT_TRUE(WriteAll(path, "[HScale]\r\npixel=250\r\nvalue=1\r\n"));
    const ScaleSetting s = LoadScaleSetting(path);
    EXPECT_EQ(s.hPixel, "250");
    EXPECT_EQ(s.hValue, "1");
    EXPECT_EQ(s.unit, kMu);
    EXPECT_EQ(s.vPixel, "100");
    EXPECT_EQ(s.vValue, "100");
    EXPECT_EQ(s.hStart, QPoint(100, 100));
    EXPECT_EQ(s.vStart, QPoint(100, 100));
    EXPECT_EQ(s.link, kLinkAsync);
    EXPECT_EQ(CalibrationBars::Build(s).horizontal.points[1].pos, QPoint(350, 100));

    // A vanished file reads as all file defaults, unlike the default entry.
    const ScaleSetting gone = LoadScaleSetting(dir.filePath("gone.sst"));
    EXPECT_EQ(gone.hStart, QPoint(100, 100));
    EXPECT_EQ(gone.unit, kMu);
    EXPECT_EQ(DefaultScaleSetting(Language::English).hStart, QPoint(10, 10));
    EXPECT_EQ(DefaultScaleSetting(Language::English).unit, "um");
}

TEST(ScaleFile, LinkReadsFromTheFirstCharacter)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("l.sst");
    const std::pair<const char *, int> cases[] = {{"0", 0}, {"1", 1}, {"10", 1}, {"2", 0}, {" 1", 1}, {"01", 0}, {"", 0}, {"x", 0}};
    // Blanks around a value are not part of it.
    for (const auto &[text, link] : cases) {
        ASSERT_TRUE(WriteAll(path, QByteArray("[HVLink]\nlink=") + text + "\n"));
        EXPECT_EQ(LoadScaleSetting(path).link, link) << text;
    }
}

TEST(ScaleFile, Utf8AndCp932UnitsReadAlike)
{
    QTemporaryDir dir;
    const QString cp = dir.filePath("cp.sst");
    const QString u8 = dir.filePath("u8.sst");
    const QString micro = dir.filePath("micro.sst");
    ASSERT_TRUE(WriteAll(cp, "[HScale]\nunit=\x83\xCA\x6D\n"));
    ASSERT_TRUE(WriteAll(u8, "\xEF\xBB\xBF[HScale]\nunit=\xCE\xBCm\n"));
    ASSERT_TRUE(WriteAll(micro, "[HScale]\nunit=\xC2\xB5m\n"));
    EXPECT_EQ(LoadScaleSetting(cp).unit, kMu);
    EXPECT_EQ(LoadScaleSetting(u8).unit, kMu);
    EXPECT_EQ(LoadScaleSetting(micro).unit, kMu);
    // Saved again, the hand-written UTF-8 file holds code page 932.
    ASSERT_TRUE(SaveScaleSetting(u8, LoadScaleSetting(u8)));
    EXPECT_NE(Str(ReadAll(u8)).find("unit=\x83\xCA\x6D"), std::string::npos);
}

TEST(ScaleFile, HostileValuesLoadWithFiniteFactors)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.sst");
    const char *pixels[] = {"0", "-5", "abc", "1e999", "nan"};
    for (const char *pixel : pixels) {
        ASSERT_TRUE(WriteAll(path, QByteArray("[HScale]\nunit=cm\npixel=") + pixel + "\nvalue=0\nstart_x=99999999999\n"
                                       "[VScale]\npixel=" + pixel + "\nvalue=" + QByteArray(300, '9') + "\n"));
        const ScaleSetting s = LoadScaleSetting(path);
        EXPECT_EQ(s.unit, "cm");
        EXPECT_EQ(s.unitIndex(), 2);
        EXPECT_EQ(s.hStart.x(), 2147483647);
        EXPECT_EQ(s.vValue.size(), 255u);
        const ScaleFactors f = s.Factors();
        EXPECT_TRUE(std::isfinite(f.sx)) << pixel;
        EXPECT_TRUE(std::isfinite(f.sy) && f.sy > 0) << pixel;
        EXPECT_EQ(ScaleLengthToPixels(s.hPixel, s.hValue, s.unit, "200", "um"), 100);
        const CalibrationBars bars = CalibrationBars::Build(s);
        EXPECT_EQ(bars.horizontal.points.size(), 2u);
    }
}

TEST(ScaleFile, FailedSaveReportsAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    // A directory where the file should go.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.sst"));
    EXPECT_FALSE(SaveScaleSetting(dir.filePath("taken.sst"), ScaleSetting{}));
    EXPECT_FALSE(SaveDrawSetting(dir.filePath("taken.sst"), DrawAttribute{}));
    // A file standing where the folder should be: nothing can be created inside it.
    const QString old = dir.filePath("old.sst");
    ASSERT_TRUE(WriteAll(old, "[HScale]\npixel=42\n"));
    EXPECT_FALSE(SaveScaleSetting(old + "/x.sst", ScaleSetting{}));
    EXPECT_EQ(ReadAll(old), "[HScale]\npixel=42\n");
    EXPECT_EQ(Entries(dir.path()), (QStringList{"old.sst", "taken.sst"}));
}

TEST(SettingFiles, ListInFileSystemOrderWithDefaultEntry)
{
    QTemporaryDir dir;
    for (const char *name : {"b.sst", "a_b.sst", "ab.sst", "A.SST", "a.sst.sst", "a1.sst", "Zeta.sst", "c.drw",
                             "notes.txt", "x.sstx", ".hidden.sst"})
        ASSERT_TRUE(WriteAll(dir.filePath(name), "[HScale]\n"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.sst"));
    const std::vector<QString> en = FillScaleFileList(dir.path(), Language::English);
    // Ordinal order of upper-cased names: '.' < '1' < 'B' < '_'.
    const std::vector<QString> expected{"Default", ".hidden", "A", "a.sst", "a1", "ab", "a_b", "b", "Zeta"};
    EXPECT_EQ(en, expected);
    const std::vector<QString> ja = FillScaleFileList(dir.path(), Language::Japanese);
    EXPECT_EQ(ja.front(), QString::fromUtf8("(\xEF\xBE\x83\xEF\xBE\x9E\xEF\xBE\x8C\xEF\xBD\xAB\xEF\xBE\x99\xEF\xBE\x84)"));
    EXPECT_EQ(ja.size(), expected.size());
    EXPECT_EQ(FillDrawFileList(dir.path(), Language::English), (std::vector<QString>{"Default", "c"}));
    EXPECT_EQ(FillScaleFileList(dir.filePath("nowhere"), Language::English), std::vector<QString>{"Default"});

    // Entries lead back to their files, whatever the extension's case.
    EXPECT_EQ(ScaleFilePath(dir.path(), "a.sst"), dir.filePath("a.sst.sst"));
    EXPECT_EQ(ScaleFilePath(dir.path(), "A"), dir.filePath("A.SST"));
    EXPECT_EQ(ScaleFilePath(dir.path() + "/", "b"), dir.filePath("b.sst"));
    EXPECT_EQ(SettingFileTitle(dir.filePath("lens40.sst")), "lens40");
}

TEST(DrawFile, SaveWritesHexColoursAndTexts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("red.drw");
    DrawAttribute a;
    a.lineColor = MakeColorRef(255, 0, 0);
    a.fontColor = MakeColorRef(0, 255, 255);
    a.backColor = 0x00123ABC;
    a.fontSize = 20;
    a.fontSizeText = "20";
    a.lineWidthText = "3";
    a.transparent = 0;
    ASSERT_TRUE(SaveDrawSetting(path, a));
    EXPECT_EQ(ReadAll(path),
              "[DrawAttribute]\r\nFONT_COLOR=00FFFF00\r\nBACK_COLOR=00123ABC\r\nLINE_COLOR=000000FF\r\n"
              "FONT_SIZE=20\r\nLINE_WIDTH=3\r\nBACK_MODE=0\r\n");
    DrawAttribute b;
    b.labelMode = LabelMode::Summary;
    b.zoomText = "75";
    LoadDrawSetting(path, b);
    EXPECT_EQ(b.lineColor, a.lineColor);
    EXPECT_EQ(b.fontColor, a.fontColor);
    EXPECT_EQ(b.backColor, a.backColor);
    EXPECT_EQ(b.fontSize, 20);
    EXPECT_EQ(b.fontSizeText, "20");
    EXPECT_EQ(b.lineWidth(), 3);
    EXPECT_EQ(b.transparent, 0);
    EXPECT_EQ(b.labelMode, LabelMode::Summary);  // not stored
    EXPECT_EQ(b.zoomText, "75");
}

TEST(DrawFile, MissingKeysAndOddValues)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("odd.drw");
    ASSERT_TRUE(WriteAll(path, "[drawattribute]\nback_mode=0\n"));
    DrawAttribute a;
    a.fontColor = 0;
    a.lineWidthText = "5";
    LoadDrawSetting(path, a);
    DrawAttribute expected;
    expected.transparent = 0;
    EXPECT_EQ(a, expected);

    ASSERT_TRUE(WriteAll(path, "[DrawAttribute]\nFONT_COLOR=0x1234567890\nFONT_SIZE=17.5px\nBACK_MODE=10\n"
                               "LINE_WIDTH=wide\n"));
    LoadDrawSetting(path, a);
    EXPECT_EQ(a.fontColor, 0x12345678u);
    EXPECT_EQ(a.fontSize, 17);
    EXPECT_EQ(a.fontSizeText, "17.5px");
    EXPECT_EQ(a.transparent, 1);
    EXPECT_EQ(a.lineWidth(), 0);

    LoadDrawSetting(dir.filePath("gone.drw"), a);
    EXPECT_EQ(a, DrawAttribute{});
}

TEST(DrawAttribute, CopiesTheSixAttributes)
{
    DrawAttribute a;
    a.lineWidthText = "4";
    a.fontSize = 25;
    a.transparent = 0;
    MeasureItem item;
    a.copyTo(item);
    EXPECT_EQ(item.lineWidth, 4);
    EXPECT_EQ(item.lineColor, kDefaultLineColor);
    EXPECT_EQ(item.fontSize, 25);
    EXPECT_EQ(item.fontColor, kDefaultFontColor);
    EXPECT_EQ(item.backColor, kDefaultBackColor);
    EXPECT_EQ(item.backMode, 0u);

    item.lineWidth = 2;
    item.fontSize = 9;
    item.backMode = 5;
    DrawAttribute b;
    b.takeFrom(item);
    EXPECT_EQ(b.lineWidthText, "2");
    EXPECT_EQ(b.fontSizeText, "9");
    EXPECT_EQ(b.transparent, 1);

    b.resetFileAttributes();
    b.labelMode = LabelMode::ItemNumberOnly;
    DrawAttribute expected;
    expected.labelMode = LabelMode::ItemNumberOnly;
    EXPECT_EQ(b, expected);
    EXPECT_EQ(FontSizeAt(0), 5);
    EXPECT_EQ(FontSizeAt(10), 16);
    EXPECT_EQ(FontSizeAt(14), 30);
    EXPECT_EQ(FontSizeAt(15), 16);
}

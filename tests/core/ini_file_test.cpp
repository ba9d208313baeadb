#include "core/ini_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "tests/support/file_test_util.h"

using namespace orv;
using namespace orv::test;

TEST(IniFile, NamesCompareCaseInsensitively)
{
    const IniFile ini = IniFile::Parse("[hscale]\r\nPIXEL=250\r\n[VScale]\r\nvalue = 12.5 \r\n");
    EXPECT_EQ(ini.value("HScale", "pixel", "100"), "250");
    EXPECT_EQ(ini.value("HSCALE", "Pixel", "100"), "250");
    EXPECT_EQ(ini.value("vscale", "VALUE", "100"), "12.5");
    EXPECT_TRUE(ini.contains("VSCALE", "Value"));
}

TEST(IniFile, MissingSectionsAndKeysGiveTheDefault)
{
    const IniFile ini = IniFile::Parse("[HScale]\npixel=250\n");
    EXPECT_EQ(ini.value("HScale", "value", "100"), "100");
    EXPECT_EQ(ini.value("VScale", "pixel", "def"), "def");
    EXPECT_FALSE(ini.contains("VScale", "pixel"));
    // A key in another section does not count.
    EXPECT_EQ(IniFile::Parse("[Other]\npixel=1\n[HScale]\n").value("HScale", "pixel", "d"), "d");
    // An empty value is a value, not a missing key.
    EXPECT_EQ(IniFile::Parse("[S]\nk=\n").value("S", "k", "d"), "");
}

TEST(IniFile, GarbageLinesAreTolerated)
{
    const IniFile ini = IniFile::Parse(
        "no section=1\n"
        "\x01\x02garbage without equals\n"
        "[Broken\n"
        "; comment=yes\n"
        "=no key\n"
        "[DrawAttribute]\n"
        "   \t\n"
        "FONT_SIZE=20\n"
        "FONT_SIZE=30\n"
        "[\n"
        "x=1");
    EXPECT_EQ(ini.value("DrawAttribute", "FONT_SIZE", "16"), "20");  // the first one counts
    EXPECT_EQ(ini.value("Broken", "; comment", "none"), "none");
    EXPECT_EQ(ini.value("", "x", "d"), "1");
    EXPECT_EQ(ini.value("", "no section", "d"), "d");
}

TEST(IniFile, LongValuesAreCutTo255Bytes)
{
    const std::string longValue(300, 'v');
    const IniFile ini = IniFile::Parse("[S]\nk=" + longValue + "\n");
    EXPECT_EQ(ini.value("S", "k", ""), std::string(255, 'v'));
    EXPECT_EQ(ini.value("S", "missing", longValue).size(), 255u);
}

TEST(IniFile, QuotesAroundAValueAreRemoved)
{
    const IniFile ini = IniFile::Parse("[S]\na=\"x y\"\nb='z'\nc=\"open\nd=\"\n");
    EXPECT_EQ(ini.value("S", "a", ""), "x y");
    EXPECT_EQ(ini.value("S", "b", ""), "z");
    EXPECT_EQ(ini.value("S", "c", ""), "\"open");
    EXPECT_EQ(ini.value("S", "d", ""), "\"");
}

TEST(IniFile, WritingKeepsEverythingElse)
{
    const std::string original =
        "; my notes\r\n"
        "[hscale]\r\n"
        "Pixel=250\r\n"
        "custom=keep me\r\n"
        "\r\n"
        "[Extra]\r\n"
        "a=b\r\n";
    IniFile ini = IniFile::Parse(original);
    ini.setValue("HScale", "pixel", "300");
    ini.setValue("HScale", "value", "2");
    ini.setValue("VScale", "pixel", "40");
    EXPECT_EQ(ini.serialize(),
              "; my notes\r\n"
              "[hscale]\r\n"
              "Pixel=300\r\n"
              "custom=keep me\r\n"
              "value=2\r\n"
              "\r\n"
              "[Extra]\r\n"
              "a=b\r\n"
              "[VScale]\r\n"
              "pixel=40\r\n");
}

TEST(IniFile, ValuesCannotAddLines)
{
    IniFile ini;
    ini.setValue("S", "k", "one\r\n[Evil]\r\nx=1");
    EXPECT_EQ(ini.serialize(), "[S]\r\nk=one\r\n");
}

TEST(IniFile, KeepsLineEndingsAndByteOrderMark)
{
    IniFile unix = IniFile::Parse("[S]\nk=1\n");
    unix.setValue("S", "j", "2");
    EXPECT_EQ(unix.serialize(), "[S]\nk=1\nj=2\n");
    IniFile bom = IniFile::Parse("\xEF\xBB\xBF[S]\r\nk=1\r\n");
    EXPECT_EQ(bom.value("S", "k", ""), "1");
    bom.setValue("S", "k", "2");
    EXPECT_EQ(bom.serialize(), "\xEF\xBB\xBF[S]\r\nk=2\r\n");
}

TEST(IniFile, FileRoundTripAndMissingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    EXPECT_EQ(ReadIniString(path, "S", "k", "dflt"), "dflt");
    IniFile::LoadStatus status;
    IniFile::Load(path, &status);
    EXPECT_EQ(status, IniFile::LoadStatus::Missing);

    ASSERT_TRUE(WriteAll(path, "[Other]\nx=1\n"));
    EXPECT_TRUE(WriteIniString(path, "S", "k", "v"));
    EXPECT_TRUE(WriteIniString(path, "s", "K", "w"));
    EXPECT_EQ(ReadIniString(path, "S", "k", ""), "w");
    EXPECT_EQ(ReadIniString(path, "OTHER", "X", ""), "1");
    EXPECT_EQ(ReadAll(path), "[Other]\nx=1\n[S]\nk=w\n");
}

TEST(IniFile, UnreadableFileIsNotReplaced)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("d.ini");
    ASSERT_TRUE(QDir(dir.path()).mkdir("d.ini"));
    IniFile::LoadStatus status;
    const IniFile ini = IniFile::Load(path, &status);
    EXPECT_EQ(status, IniFile::LoadStatus::Unreadable);
    EXPECT_EQ(ini.value("S", "k", "d"), "d");
    EXPECT_FALSE(WriteIniString(path, "S", "k", "v"));
    EXPECT_EQ(Entries(dir.path()), QStringList{"d.ini"});
}

TEST(IniFile, ValuesReadBackAsWritten)
{
    // Blanks around a value and enclosing quotes would be lost on reading.
    for (const std::string value : {" padded ", "tab\t", "\"quoted\"", "'single'", "\"", "a \"b\" c", ""}) {
        IniFile ini = IniFile::Parse("[S]\nk=old\n");
        ini.setValue("S", "k", value);
        ini.setValue("S", "new", value);
        const IniFile reread = IniFile::Parse(ini.serialize());
        EXPECT_EQ(reread.value("S", "k", "-"), value) << value;
        EXPECT_EQ(reread.value("S", "new", "-"), value) << value;
    }
}

TEST(IniFile, CarriageReturnsEndingTheLastLineAreALineBreak)
{
    const IniFile ini = IniFile::Parse("[S]\nk=1\r\r");
    EXPECT_EQ(ini.serialize(), "[S]\nk=1\n");
    EXPECT_EQ(IniFile::Parse(ini.serialize()).serialize(), ini.serialize());
}

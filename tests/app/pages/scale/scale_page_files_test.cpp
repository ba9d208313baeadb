// The Scale page's file list and Save button, through the page's controls.
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include "calib/scale_file.h"
#include "tests/app/pages/scale/scale_page_fixture.h"

namespace orv::test {
namespace {

class ScalePageFilesTest : public ScalePageTest {
protected:
    void WriteFile(const QString &name, const QByteArray &content)
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    QStringList ListEntries() const
    {
        QStringList out;
        for (int i = 0; i < ui().scaleFileList->count(); ++i)
            out << ui().scaleFileList->itemText(i);
        return out;
    }

    int EntryIndex(const QString &name) const { return ui().scaleFileList->findText(name); }
};

TEST_F(ScalePageFilesTest, ListsTheStartDirectoryAndLoadsAnEntry)
{
    WriteFile("part.sst", "[HScale]\r\npixel=250\r\nvalue=1\r\n");
    WriteFile("a.sst.sst", "[HScale]\r\npixel=333\r\n[HVLink]\r\nlink=10\r\n");
    WriteFile("other.txt", "x");
    auto &p = MakePage();
    QStringList entries = ListEntries();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries.front(), "Default");
    entries.sort();
    EXPECT_EQ(entries, (QStringList{"Default", "a.sst", "part"}));
    EXPECT_FALSE(ui().saveButton->isEnabled());

    Choose(ui().scaleFileList, EntryIndex("part"));
    const ScaleSetting &s = p.scaleSetting();
    EXPECT_EQ(s.hPixel, "250");
    EXPECT_EQ(s.hValue, "1");
    EXPECT_EQ(s.unit, std::string(kUnitMicroJa));
    EXPECT_EQ(s.vPixel, "100");
    EXPECT_EQ(s.vStart, QPoint(100, 100));
    EXPECT_EQ(s.link, kLinkAsync);
    EXPECT_EQ(ui().hPixel->text(), "250");
    EXPECT_EQ(ui().unit->currentText(), QString::fromUtf8("\xCE\xBCm"));
    EXPECT_EQ(ui().scaleFileList->currentText(), "part");
    EXPECT_EQ(p.horizontalBar().points.at(0).pos, QPoint(100, 100));
    EXPECT_EQ(p.horizontalBar().points.at(1).pos, QPoint(350, 100));
    // 200 um under 250 px = 1 um ("μm" and "um" are one unit).
    EXPECT_EQ(p.standardScale().pixelLength, 50000);
    EXPECT_TRUE(ui().saveButton->isEnabled());
    EXPECT_TRUE(ui().vValue->isEnabled());

    Choose(ui().scaleFileList, EntryIndex("a.sst"));
    EXPECT_EQ(p.scaleSetting().hPixel, "333");
    EXPECT_EQ(p.scaleSetting().link, kLinkAsync);
}

TEST_F(ScalePageFilesTest, LinkedFileLocksTheVerticalFieldAndDefaultsUnlockIt)
{
    WriteFile("linked.sst",
              "[HScale]\r\nstart_x=5\r\nstart_y=6\r\npixel=120\r\nvalue=50\r\nunit=mm\r\n"
              "[VScale]\r\npixel=80\r\nvalue=30\r\n[HVLink]\r\nlink=0\r\n");
    auto &p = MakePage();
    // A standard scale length committed before stays through the list choices.
    Retype(ui().standardLength, "300");
    QTest::keyClick(ui().standardLength, Qt::Key_Return);

    Choose(ui().scaleFileList, EntryIndex("linked"));
    EXPECT_EQ(p.scaleSetting().link, kLinkSync);
    EXPECT_TRUE(ui().sync->isChecked());
    EXPECT_FALSE(ui().vValue->isEnabled());
    // The stored scales stay as they are until the next commit.
    EXPECT_EQ(ui().vPixel->text(), "80");
    EXPECT_EQ(ui().unit->currentText(), "mm");
    EXPECT_EQ(p.verticalBar().points.at(1).pos, QPoint(100, 180));
    // 300 um under 120 px = 50 mm.
    EXPECT_EQ(p.standardScale().pixelLength, 0);

    Choose(ui().scaleFileList, 0);
    EXPECT_EQ(p.scaleSetting(), ScaleSetting::Defaults(Language::English));
    EXPECT_TRUE(ui().async->isChecked());
    EXPECT_TRUE(ui().vValue->isEnabled());
    EXPECT_EQ(ui().scaleFileList->currentText(), "Default");
    EXPECT_EQ(p.horizontalBar().points.at(0).pos, QPoint(10, 10));
    EXPECT_EQ(p.verticalBar().points.at(1).pos, QPoint(10, 110));
    EXPECT_EQ(p.standardScale().length, "300");
    EXPECT_EQ(p.standardScale().pixelLength, 300);
    EXPECT_TRUE(ui().saveButton->isEnabled());
}

TEST_F(ScalePageFilesTest, SaveWritesTheFieldsAndRefillsTheList)
{
    auto &p = MakePage();
    Retype(ui().hValue, "12.50");
    prompter.savePaths.push_back(dir.filePath("lens40"));
    // A click on the disabled Save commits the typing but does not save.
    QTest::mouseClick(ui().saveButton, Qt::LeftButton);
    EXPECT_TRUE(prompter.saveRequests.empty());
    EXPECT_EQ(p.scaleSetting().hValue, "12.50");
    ASSERT_TRUE(ui().saveButton->isEnabled());
    QTest::mouseClick(ui().saveButton, Qt::LeftButton);
    ASSERT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_EQ(prompter.saveRequests[0].dir, dir.path());
    EXPECT_TRUE(prompter.saveRequests[0].filter.contains("*.sst"));
    EXPECT_FALSE(ui().saveButton->isEnabled());

    ASSERT_TRUE(QFileInfo::exists(dir.filePath("lens40.sst")));
    const ScaleSetting saved = LoadScaleSetting(dir.filePath("lens40.sst"));
    EXPECT_EQ(saved.hValue, "12.50");
    EXPECT_EQ(saved.unit, "um");
    EXPECT_EQ(saved.hStart, QPoint(10, 10));
    EXPECT_TRUE(ListEntries().contains("lens40"));
    EXPECT_EQ(ui().scaleFileList->currentText(), "lens40");

    // Cancelled: nothing written, Save disabled all the same.
    p.CommitScaleEdits();
    QTest::mouseClick(ui().saveButton, Qt::LeftButton);
    EXPECT_EQ(prompter.saveRequests.size(), 2u);
    EXPECT_FALSE(ui().saveButton->isEnabled());
    EXPECT_EQ(QDir(dir.path()).entryList({"*.sst"}), QStringList{"lens40.sst"});
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ScalePageFilesTest, FailedSaveSaysSoAndKeepsTheName)
{
    auto &p = MakePage();
    p.CommitScaleEdits();
    prompter.savePaths.push_back(dir.filePath("missing/sub/x.sst"));
    QTest::mouseClick(ui().saveButton, Qt::LeftButton);
    EXPECT_EQ(prompter.messageTexts(),
              QStringList{"The scale setting file could not be saved.\n\n" + dir.filePath("missing/sub/x.sst") + "\n"
                          + QString::fromLocal8Bit(std::strerror(ENOENT))});
    EXPECT_EQ(ui().scaleFileList->currentText(), "Default");
    EXPECT_FALSE(ui().saveButton->isEnabled());
}

}  // namespace
}  // namespace orv::test

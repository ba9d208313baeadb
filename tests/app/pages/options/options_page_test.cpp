// The Option page: captions, draw setting files (list, load, save and the
// folder refusal), the sample box, and with the main window the attributes of
// the selected measurement, the label mode and the zoom list.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <memory>

#include "app/pages/options/attribute_sample.h"
#include "app/pages/options/options_page.h"
#include "document/measure_document.h"
#include "tests/app/scripted_prompter.h"
#include "tests/app/mainwindow/main_window_fixture.h"

namespace orv::test {
namespace {

LocaleSource OptionLocale(const char *user)
{
    LocaleSource src;
    src.systemLanguage = [] { return std::string("en"); };
    src.userLanguage = [user] { return std::string(user); };
    src.englishMarker = [] { return false; };
    return src;
}

// Picks an entry of a drop-down list with the mouse, as a user does.
void ChooseFromList(QComboBox *combo, int index)
{
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    const QModelIndex item = view->model()->index(index, 0);
    view->scrollTo(item);
    const QPoint at = view->visualRect(item).center();
    QTest::mouseMove(view->viewport(), at);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
}

// On its box: past the end of its text a check box takes no click.
void ClickCheckBox(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
}

void WriteFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray ReadFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int CountPixels(const QImage &img, QColor colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += QColor(img.pixel(x, y)) == colour;
    return n;
}

class OptionsPageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    OptionsPage &MakePage(const char *user = "en")
    {
        const Language lang = PageLanguage(OptionLocale(user));
        page.reset();
        doc = std::make_unique<MeasureDocument>(lang, lang);
        const WindowEnvironment env = prompter.environment(dir.path(), OptionLocale(user));
        page = std::make_unique<OptionsPage>(*doc, nullptr, env);
        page->EnableOptionControls(true);
        page->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(page.get()));
        return *page;
    }
    const OptionsPageControls &ui() const { return page->controls(); }

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<MeasureDocument> doc;
    std::unique_ptr<OptionsPage> page;
};

TEST_F(OptionsPageTest, StartsWithTheDefaultsInEnglish)
{
    auto &p = MakePage("en");
    EXPECT_EQ(p.language(), Language::English);
    EXPECT_EQ(ui().labelModeHeading->text(), "Data Labels");
    EXPECT_EQ(ui().numberOnly->text(), "Item No. Only");
    EXPECT_EQ(ui().attributeGroup->title(), "DrawAttribute");
    EXPECT_EQ(ui().lineWidthLabel->text(), "Thickness");
    EXPECT_EQ(ui().saveButton->text(), "Save");
    EXPECT_EQ(ui().drawFileList->currentText(), "Default");
    EXPECT_EQ(ui().fontSize->currentText(), "16");
    EXPECT_EQ(ui().lineWidth->currentText(), "1");
    EXPECT_EQ(ui().zoom->currentText(), "100");
    EXPECT_TRUE(ui().transparent->isChecked());
    EXPECT_TRUE(ui().details->isChecked());
    EXPECT_FALSE(ui().saveButton->isEnabled());
    EXPECT_EQ(ui().fontSize->count(), 15);
    EXPECT_EQ(ui().fontSize->itemText(10), "16");
    EXPECT_EQ(ui().zoom->itemText(6), "Fit");
    const DrawAttribute &a = p.drawAttribute();
    EXPECT_EQ(a, DrawAttribute{.drawFileName = "Default"});
    EXPECT_EQ(p.labelMode(), LabelMode::Details);
}

TEST_F(OptionsPageTest, JapaneseCaptionsAndDefaultEntry)
{
    MakePage("ja");
    EXPECT_EQ(ui().labelModeHeading->text(), QString::fromUtf8("データ表示"));
    EXPECT_EQ(ui().fontSizeLabel->text(), QString::fromUtf8("ｻｲｽﾞ"));
    EXPECT_EQ(ui().lineColor->text(), QString::fromUtf8("ライン色変更"));
    EXPECT_EQ(ui().drawFileList->currentText(), QString::fromUtf8("(ﾃﾞﾌｫﾙﾄ)"));
}

TEST_F(OptionsPageTest, DisabledControlsAndSaveStates)
{
    auto &p = MakePage();
    p.EnableOptionControls(false);
    for (QWidget *w : {static_cast<QWidget *>(ui().fontColor), static_cast<QWidget *>(ui().zoom),
                       static_cast<QWidget *>(ui().drawFileList), static_cast<QWidget *>(ui().details)})
        EXPECT_FALSE(w->isEnabled());
    p.EnableOptionControls(true);
    ChooseFromList(ui().lineWidth, 2);
    EXPECT_EQ(ui().lineWidth->currentText(), "3");
    EXPECT_TRUE(ui().saveButton->isEnabled());
    // Label mode and zoom changes leave Save as it is; a cancelled colour too.
    p.EnableOptionControls(true);
    QTest::mouseClick(ui().summary, Qt::LeftButton);
    ChooseFromList(ui().zoom, 0);
    QTest::mouseClick(ui().backColor, Qt::LeftButton);
    EXPECT_EQ(prompter.colorRequests, 1);
    EXPECT_FALSE(ui().saveButton->isEnabled());
    EXPECT_EQ(ui().zoom->currentText(), "50");
    EXPECT_EQ(p.labelMode(), LabelMode::Summary);
}

TEST_F(OptionsPageTest, KeysDoNotTypeIntoTheLists)
{
    MakePage();
    ui().fontSize->setFocus();
    QTest::keyClicks(ui().fontSize, "99");
    QTest::keyClick(ui().fontSize, Qt::Key_Down);
    QTest::keyClick(ui().lineWidth, Qt::Key_Down);
    EXPECT_EQ(ui().fontSize->currentText(), "16");
    EXPECT_EQ(ui().lineWidth->currentText(), "1");
    EXPECT_FALSE(ui().saveButton->isEnabled());
}

TEST_F(OptionsPageTest, ListsTheDrawFilesOfTheStartDirectory)
{
    WriteFile(dir.filePath("b.drw"), "");
    WriteFile(dir.filePath("A.drw"), "");
    WriteFile(dir.filePath("scale.sst"), "");
    MakePage();
    ASSERT_EQ(ui().drawFileList->count(), 3);
    EXPECT_EQ(ui().drawFileList->itemText(0), "Default");
    EXPECT_EQ(ui().drawFileList->itemText(1), "A");
    EXPECT_EQ(ui().drawFileList->itemText(2), "b");
}

TEST_F(OptionsPageTest, ChoosingAFileLoadsItAndTheDefaultEntryResets)
{
    WriteFile(dir.filePath("opaque.drw"), "[DrawAttribute]\r\nBACK_MODE=0\r\n");
    WriteFile(dir.filePath("wide.drw"), "[DrawAttribute]\r\nFONT_COLOR=000000FF\r\nFONT_SIZE=17\r\nLINE_WIDTH=7\r\n");
    auto &p = MakePage();
    ChooseFromList(ui().lineWidth, 4);
    ASSERT_TRUE(ui().saveButton->isEnabled());

    ChooseFromList(ui().drawFileList, ui().drawFileList->findText("opaque"));
    EXPECT_FALSE(ui().transparent->isChecked());
    EXPECT_EQ(ui().lineWidth->currentText(), "1");
    EXPECT_EQ(ui().fontSize->currentText(), "16");
    EXPECT_EQ(ui().drawFileList->currentText(), "opaque");
    EXPECT_FALSE(ui().saveButton->isEnabled());
    EXPECT_EQ(p.drawAttribute().fontColor, kDefaultFontColor);

    // Values outside the lists are shown as they read.
    ChooseFromList(ui().drawFileList, ui().drawFileList->findText("wide"));
    EXPECT_EQ(ui().fontSize->currentText(), "17");
    EXPECT_EQ(ui().lineWidth->currentText(), "7");
    EXPECT_TRUE(ui().transparent->isChecked());
    EXPECT_EQ(p.drawAttribute().fontSize, 17);
    EXPECT_EQ(p.drawAttribute().lineWidth(), 7);
    EXPECT_EQ(p.drawAttribute().fontColor, 0x000000FFu);

    ChooseFromList(ui().drawFileList, 0);
    EXPECT_EQ(ui().drawFileList->currentText(), "Default");
    EXPECT_EQ(p.drawAttribute(), DrawAttribute{.drawFileName = "Default"});
}

TEST_F(OptionsPageTest, SaveOutsideTheStartDirectoryIsRefused)
{
    MakePage();
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    QTemporaryDir elsewhere;
    ChooseFromList(ui().fontSize, 12);
    ASSERT_TRUE(ui().saveButton->isEnabled());

    prompter.savePaths = {dir.filePath("sub/moved.drw"), elsewhere.filePath("away.drw"),
                          dir.filePath("sub/../sub/x.drw")};
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(ui().saveButton, Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 3u);
    for (const auto &m : prompter.messages) {
        EXPECT_EQ(m.text, QString::fromUtf8("保存フォルダーは移動できません。"));
        EXPECT_EQ(m.buttons, UiPrompter::Buttons::Ok);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("sub/moved.drw")));
    EXPECT_FALSE(QFile::exists(elsewhere.filePath("away.drw")));
    EXPECT_FALSE(QFile::exists(dir.filePath("sub/x.drw")));
    EXPECT_TRUE(ui().saveButton->isEnabled());
    EXPECT_EQ(ui().drawFileList->count(), 1);
    ASSERT_EQ(prompter.saveRequests.size(), 3u);
    EXPECT_EQ(prompter.saveRequests[0].dir, dir.path());
    EXPECT_EQ(prompter.saveRequests[0].filter, "DrawSetting Files (*.drw);;All Files (*)");

    // A cancelled dialog disables Save.
    QTest::mouseClick(ui().saveButton, Qt::LeftButton);
    EXPECT_FALSE(ui().saveButton->isEnabled());
}

TEST_F(OptionsPageTest, FailedSaveNamesTheFileAndTheReason)
{
    for (const char *lang : {"en", "ja"}) {
        SCOPED_TRACE(lang);
        prompter.messages.clear();
        // A folder where the file should go: nothing is listed, the folder stays.
        const QString path = dir.filePath(QStringLiteral("taken_%1.drw").arg(lang));
        ASSERT_TRUE(QDir().mkpath(path));
        MakePage(lang);
        ClickCheckBox(ui().transparent);
        prompter.savePaths = {path};
        QTest::mouseClick(ui().saveButton, Qt::LeftButton);
        const QString lead = QString::fromLatin1(lang) == "en"
            ? QStringLiteral("The draw setting file could not be saved.")
            : QStringLiteral("描画設定ファイルを保存できませんでした。");
        EXPECT_EQ(prompter.messageTexts(),
                  QStringList{lead + "\n\n" + path + "\n" + QString::fromLocal8Bit(std::strerror(EISDIR))});
        EXPECT_TRUE(QFileInfo(path).isDir());
        EXPECT_EQ(ui().drawFileList->count(), 1);
    }
}

TEST_F(OptionsPageTest, SaveWritesTheSixKeysAndListsTheFile)
{
    MakePage();
    prompter.colors = {QColor(0, 0, 255)};
    QTest::mouseClick(ui().fontColor, Qt::LeftButton);
    ClickCheckBox(ui().transparent);
    ChooseFromList(ui().fontSize, 13);
    ASSERT_TRUE(ui().saveButton->isEnabled());

    prompter.savePaths = {dir.filePath("mine")};
    QTest::mouseClick(ui().saveButton, Qt::LeftButton);
    EXPECT_TRUE(prompter.messages.empty());
    const QByteArray text = ReadFile(dir.filePath("mine.drw"));
    EXPECT_TRUE(text.contains("[DrawAttribute]"));
    EXPECT_TRUE(text.contains("FONT_COLOR=00FF0000"));
    EXPECT_TRUE(text.contains("BACK_COLOR=00F0F0F0"));
    EXPECT_TRUE(text.contains("LINE_COLOR=000000FF"));
    EXPECT_TRUE(text.contains("FONT_SIZE=25"));
    EXPECT_TRUE(text.contains("LINE_WIDTH=1"));
    EXPECT_TRUE(text.contains("BACK_MODE=0"));
    EXPECT_EQ(ui().drawFileList->count(), 2);
    EXPECT_EQ(ui().drawFileList->currentText(), "mine");
    EXPECT_FALSE(ui().saveButton->isEnabled());
}

TEST_F(OptionsPageTest, SampleFollowsTheAttributes)
{
    auto &p = MakePage();
    const QColor red(255, 0, 0), green(0, 255, 0);
    const QImage before = ui().sample->Render();
    EXPECT_GT(CountPixels(before, red), 100);
    EXPECT_EQ(CountPixels(before, green), 0);
    prompter.colors = {green};
    QTest::mouseClick(ui().lineColor, Qt::LeftButton);
    const QImage after = ui().sample->Render();
    EXPECT_EQ(CountPixels(after, red), 0);
    EXPECT_GT(CountPixels(after, green), 100);

    // An opaque label puts its back colour behind "Sample TEXT".
    prompter.colors = {QColor(10, 20, 30)};
    QTest::mouseClick(ui().backColor, Qt::LeftButton);
    EXPECT_EQ(CountPixels(ui().sample->Render(), QColor(10, 20, 30)), 0);
    ClickCheckBox(ui().transparent);
    EXPECT_GT(CountPixels(ui().sample->Render(), QColor(10, 20, 30)), 50);
    EXPECT_EQ(p.drawAttribute().transparent, 0);
}

// With the main window: the selected measurement follows the page.
class OptionsPageWithOwnerTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Make("en", "en", {1024, 768});
        page = PartsOf(*mainWindow).optionsPage;
        ASSERT_NE(page, nullptr);
        mainWindow->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(mainWindow.get()));
    }

    void Load(QSize size)
    {
        ASSERT_TRUE(LoadFilled(QStringLiteral("image.png"), size, Qt::darkBlue));
        mainWindow->host().SelectTab(PageOptions);
        QCoreApplication::processEvents();
    }

    // Two placed two-point distances with the page's attributes.
    std::pair<MeasureItem *, MeasureItem *> AddTwoItems()
    {
        MeasureItem *items[2];
        for (auto &out : items) {
            auto item = NewMeasureItem();
            item->kind = KindDistance2Points;
            AppendPoint(*item, {10, 10});
            AppendPoint(*item, {60, 40});
            item->labelBox = {5, 5, 50, 25};
            page->drawAttribute().copyTo(*item);
            out = item.get();
            mainWindow->document().list().Append(std::move(item));
        }
        return {items[0], items[1]};
    }

    const OptionsPageControls &ui() const { return page->controls(); }

    OptionsPage *page = nullptr;
};

TEST_F(OptionsPageWithOwnerTest, AttributesApplyToTheSelectedMeasurementOnly)
{
    Load({300, 200});
    auto [first, second] = AddTwoItems();
    mainWindow->document().SelectItem(first);

    prompter.colors = {QColor(0, 255, 0), QColor(0, 0, 255)};
    QTest::mouseClick(ui().lineColor, Qt::LeftButton);
    ChooseFromList(ui().fontSize, 14);
    ChooseFromList(ui().lineWidth, 3);
    ClickCheckBox(ui().transparent);
    EXPECT_EQ(first->lineColor, MakeColorRef(0, 255, 0));
    EXPECT_EQ(first->fontSize, 30);
    EXPECT_EQ(first->lineWidth, 4);
    EXPECT_EQ(first->backMode, 0u);
    EXPECT_EQ(first->labelBox.bottom, -1);
    EXPECT_EQ(mainWindow->host().viewState(), ViewState::Rebuild);
    EXPECT_EQ(second->lineColor, kDefaultLineColor);
    EXPECT_EQ(second->fontSize, 16);
    EXPECT_EQ(second->lineWidth, 1);
    EXPECT_EQ(second->backMode, 1u);
    EXPECT_EQ(second->labelBox.bottom, 25);

    // Without a selection only the defaults for new measurements change.
    mainWindow->document().SelectItem(nullptr);
    QTest::mouseClick(ui().fontColor, Qt::LeftButton);
    EXPECT_EQ(page->drawAttribute().fontColor, MakeColorRef(0, 0, 255));
    EXPECT_EQ(first->fontColor, kDefaultFontColor);
    EXPECT_EQ(second->fontColor, kDefaultFontColor);

    // Selecting a measurement shows its attributes on the page.
    page->ShowRecordAttributes(first);
    EXPECT_EQ(ui().fontSize->currentText(), "30");
    EXPECT_EQ(ui().lineWidth->currentText(), "4");
    EXPECT_FALSE(ui().transparent->isChecked());
    EXPECT_EQ(page->drawAttribute().lineColor, MakeColorRef(0, 255, 0));
}

TEST_F(OptionsPageWithOwnerTest, DrawFilesApplyToTheSelectedMeasurement)
{
    Load({300, 200});
    auto [first, second] = AddTwoItems();
    // A set saved from the page, then the defaults again, nothing selected.
    ChooseFromList(ui().lineWidth, 4);
    prompter.colors = {QColor(0, 0, 255)};
    QTest::mouseClick(ui().lineColor, Qt::LeftButton);
    prompter.savePaths = {dir.filePath("thick.drw")};
    QTest::mouseClick(ui().saveButton, Qt::LeftButton);
    ASSERT_EQ(ui().drawFileList->findText("thick"), 1);
    ChooseFromList(ui().drawFileList, 0);
    EXPECT_EQ(first->lineWidth, 1);

    mainWindow->document().SelectItem(first);
    ChooseFromList(ui().drawFileList, 1);
    EXPECT_EQ(first->lineWidth, 5);
    EXPECT_EQ(first->lineColor, 0x00FF0000u);
    EXPECT_EQ(first->labelBox.bottom, -1);
    EXPECT_EQ(second->lineWidth, 1);
    EXPECT_EQ(second->lineColor, kDefaultLineColor);

    // The default entry resets the selected measurement's six attributes.
    first->fontSize = 9;
    first->backMode = 0;
    first->fontColor = 0;
    ChooseFromList(ui().drawFileList, 0);
    EXPECT_EQ(first->lineWidth, 1);
    EXPECT_EQ(first->lineColor, kDefaultLineColor);
    EXPECT_EQ(first->fontSize, 16);
    EXPECT_EQ(first->backMode, 1u);
    EXPECT_EQ(first->fontColor, kDefaultFontColor);
    EXPECT_EQ(first->backColor, kDefaultBackColor);
}

TEST_F(OptionsPageWithOwnerTest, LabelModeMarksEveryPlacedLabel)
{
    Load({300, 200});
    auto [first, second] = AddTwoItems();
    second->labelBox = {};
    auto perpendicular = NewMeasureItem();
    perpendicular->kind = KindPerpendicular;
    perpendicular->labelBox = {1, 1, 30, 20};
    AppendSubResult(*perpendicular, "12.00", KindPerpendicularPart, 3, {5, 5}).labelBox = {2, 2, 20, 20};
    AppendSubResult(*perpendicular, "13.00", KindPerpendicularPart, 4, {6, 6});
    MeasureItem *perp = perpendicular.get();
    mainWindow->document().list().Append(std::move(perpendicular));

    QTest::mouseClick(ui().numberOnly, Qt::LeftButton);
    EXPECT_EQ(page->labelMode(), LabelMode::ItemNumberOnly);
    EXPECT_EQ(first->labelBox.bottom, -1);
    EXPECT_EQ(perp->labelBox.bottom, -1);
    EXPECT_EQ(perp->subResults[0].labelBox.bottom, -1);
    // Labels never placed stay at their anchors.
    EXPECT_EQ(second->labelBox.bottom, 0);
    EXPECT_EQ(perp->subResults[1].labelBox.bottom, 0);
    EXPECT_EQ(mainWindow->host().viewState(), ViewState::Rebuild);
    EXPECT_FALSE(ui().saveButton->isEnabled());
}

TEST_F(OptionsPageWithOwnerTest, ZoomListWithFit)
{
    Load({2000, 1500});
    EXPECT_EQ(ui().zoom->currentText(), "100");
    ChooseFromList(ui().zoom, 4);
    EXPECT_EQ(mainWindow->host().view().zoomX, 200);
    EXPECT_EQ(mainWindow->host().view().zoomY, 200);
    EXPECT_EQ(mainWindow->host().view().scroll, QPoint(0, 0));
    EXPECT_EQ(ui().zoom->currentText(), "200");

    mainWindow->host().SetScroll({300, 100});
    ChooseFromList(ui().zoom, 6);
    const int fit = mainWindow->host().FitZoom();
    EXPECT_EQ(fit, std::min((1024 - mainWindow->host().columnWidth() - 15) * 100 / 2000, (768 - 40) * 100 / 1500));
    EXPECT_EQ(mainWindow->host().view().zoomX, fit);
    EXPECT_EQ(mainWindow->host().view().zoomY, fit);
    EXPECT_EQ(mainWindow->host().view().scroll, QPoint(0, 0));
    EXPECT_EQ(ui().zoom->currentText(), QString::number(fit));
    EXPECT_EQ(mainWindow->host().view().size, QSize(fit * 2000 / 100, fit * 1500 / 100));
    // The image now fits: no overview.
    EXPECT_FALSE(PartsOf(*mainWindow).overviewShown);
    // Fit again from the number it left.
    ChooseFromList(ui().zoom, 6);
    EXPECT_EQ(ui().zoom->currentText(), QString::number(fit));
}

}  // namespace
}  // namespace orv::test

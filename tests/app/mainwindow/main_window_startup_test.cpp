// Start-up state, captions in both languages, pages and shut-down of the main window.
#include <algorithm>

#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>

#include <QLineEdit>
#include <QPushButton>
#include "app/dialogs/about_dialog.h"
#include "app/pages/image/image_page.h"
#include "app/pages/scale/scale_page.h"

#include "app/pages/measure/measure_page.h"
#include "app/pages/measure/tool_button.h"
#include "app/pages/options/options_page.h"
#include "tests/app/mainwindow/main_window_fixture.h"

namespace orv::test {
namespace {

using StartUp = MainWindowTest;

TEST_F(StartUp, EnglishWindowHasItsCaptionsTitleAndColumns)
{
    MainWindow &d = Make("en", "en");
    EXPECT_EQ(d.windowTitle(), "Orvalin - ver. 1.07.1[*]");
    EXPECT_EQ(d.host().language(), Language::English);
    EXPECT_EQ(d.host().button(CommandId::Exit)->text(), "Exit");
    EXPECT_EQ(d.host().button(CommandId::SaveCsv)->text(), "Save Data Only");
    EXPECT_EQ(d.host().button(CommandId::SaveImage)->text(), "Save Image Only");
    EXPECT_EQ(d.host().button(CommandId::Report)->text(), "Save Data && Img");
    EXPECT_EQ(d.host().button(CommandId::DeleteAll)->text(), "Delete All Data");
    const QStringList tabs{"Image", "Scale", "Measure", "Option"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(PartsOf(d).tabControl->tabText(i), tabs[i]);
    auto *model = PartsOf(d).resultsView->model();
    const QStringList columns{"No.", "Measurement", "Value", "Unit"};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), columns[c]);
    EXPECT_EQ(d.host().button(CommandId::Overview)->toolTip(), "Show / Hide a Scroll Window");
    EXPECT_EQ(PartsOf(d).overviewWindow->windowTitle(), "ScrollView");
    EXPECT_TRUE(d.workFilePath().endsWith("/Orvalin_Workfile.jpg"));
    EXPECT_FALSE(d.workFilePath().contains("//"));
}

TEST_F(StartUp, JapaneseWindowKeepsJapaneseCaptionsWhilePagesFollowTheUserLocale)
{
    MainWindow &d = Make("ja", "en");
    EXPECT_EQ(d.host().language(), Language::Japanese);
    EXPECT_EQ(d.windowTitle(), "Orvalin - ver. 1.07.1[*]");
    EXPECT_EQ(d.host().button(CommandId::Exit)->text(), QStringLiteral("終了"));
    EXPECT_EQ(d.host().button(CommandId::SaveCsv)->text(), QStringLiteral("CSV出力"));
    EXPECT_EQ(d.host().button(CommandId::SaveImage)->text(), QStringLiteral("ラベル　出力"));
    EXPECT_EQ(d.host().button(CommandId::Report)->text(), QStringLiteral("レポート出力"));
    EXPECT_EQ(d.host().button(CommandId::DeleteAll)->text(), QStringLiteral("全削除"));
    const QStringList tabs{QStringLiteral("ｲﾒｰｼﾞ"), QStringLiteral("ｽｹｰﾙ"), QStringLiteral("計測"),
                           QStringLiteral("ｵﾌﾟｼｮﾝ")};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(PartsOf(d).tabControl->tabText(i), tabs[i]);
    EXPECT_EQ(PartsOf(d).resultsView->model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("計測"));
    EXPECT_EQ(d.host().button(CommandId::Overview)->toolTip(), QStringLiteral("スクロールウィンドウの表示/非表示"));
    EXPECT_EQ(PartsOf(d).overviewWindow->windowTitle(), QStringLiteral("画像スクロール"));
    // The pages decide by the user locale: English here, so row texts are English.
    EXPECT_EQ(PartsOf(d).imagePage->language(), Language::English);
    EXPECT_EQ(d.host().textLanguage(), Language::English);
}

TEST_F(StartUp, PagesSitInTheTabControlInOrderAndStartDisabled)
{
    MainWindow &d = Make();
    QTabWidget *tabs = PartsOf(d).tabControl;
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->widget(PageImage), PartsOf(d).imagePage);
    EXPECT_EQ(tabs->widget(PageScale), PartsOf(d).scalePage);
    EXPECT_EQ(tabs->widget(PageMeasure), PartsOf(d).measurePage);
    EXPECT_EQ(tabs->widget(PageOptions), static_cast<QWidget *>(PartsOf(d).optionsPage));
    EXPECT_EQ(d.host().currentTab(), PageImage);
    EXPECT_EQ(tabs->currentIndex(), PageImage);
    for (CommandId id : {CommandId::SaveCsv, CommandId::SaveImage, CommandId::Report, CommandId::DeleteAll})
        EXPECT_FALSE(d.host().button(id)->isEnabled()) << ToUnderlying(id);
    EXPECT_TRUE(d.host().button(CommandId::Exit)->isEnabled());
    EXPECT_FALSE(PartsOf(d).measurePage->button(1011)->isEnabled());
    EXPECT_FALSE(PartsOf(d).scalePage->controls().hValue->isEnabled());
    EXPECT_TRUE(PartsOf(d).imagePage->openButton()->isEnabled());
    EXPECT_EQ(d.host().viewState(), ViewState::NoImage);
    EXPECT_FALSE(d.hasImage());
    EXPECT_EQ(d.pointer().dragMode(), DragMode::Idle);
    EXPECT_EQ(d.document().selectedItem(), nullptr);
    EXPECT_EQ(d.pendingCommand(), CommandId::None);
    EXPECT_FALSE(PartsOf(d).overviewWindow->isVisible());
    EXPECT_FALSE(d.host().liveView()->isVisible());
    // The tool palette chose its first tool.
    EXPECT_EQ(PartsOf(d).measurePage->currentTool(), KindDistance2Points);
    // No camera: the window is the control column only.
    EXPECT_EQ(d.host().windowSizeRequested(), QSize(d.host().columnWidth(), PartsOf(d).columnHeight));
    // The pages lie inside the tab control, below its labels.
    d.show();
    Settle();
    const QRect tabRect = tabs->geometry();
    const QPoint pageTop = PartsOf(d).imagePage->mapTo(tabs, QPoint(0, 0));
    EXPECT_GT(pageTop.y(), 0);
    EXPECT_LE(pageTop.y() + PartsOf(d).imagePage->height(), tabRect.height());
}

TEST_F(StartUp, KeysNeverEndTheDialogNorReachTheList)
{
    MainWindow &d = MakeWithImage();
    AddDistance({10, 10}, {50, 10});
    AddDistance({10, 20}, {50, 20});
    d.show();
    d.document().results().SelectRow(0);
    QTest::keyClick(PartsOf(d).resultsView, Qt::Key_Down);
    EXPECT_EQ(d.document().results().selectedRow(), 0);
    EXPECT_EQ(PartsOf(d).resultsView->currentIndex().row(), 0);
    QTest::keyClick(PartsOf(d).resultsView, Qt::Key_Escape);
    QTest::keyClick(d.host().button(CommandId::Exit), Qt::Key_Return);
    // Space would press a focused button.
    d.host().button(CommandId::Exit)->setFocus();
    QTest::keyClick(d.host().button(CommandId::Exit), Qt::Key_Space);
    QTest::keyClick(&d, Qt::Key_Escape);
    Settle();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.document().list().size(), 2u);
}

TEST_F(StartUp, ExitAndTheCloseBoxBothFreeTheMeasurementsAndAccept)
{
    for (bool closeBox : {false, true}) {
        MainWindow &d = MakeWithImage();
        AddDistance({10, 10}, {50, 10});
        d.show();
        if (closeBox)
            d.close();
        else
            QTest::mouseClick(d.host().button(CommandId::Exit), Qt::LeftButton);
        Settle();
        EXPECT_FALSE(d.isVisible()) << closeBox;
        EXPECT_EQ(d.result(), QDialog::Accepted) << closeBox;
        EXPECT_TRUE(d.document().list().empty()) << closeBox;
        EXPECT_FALSE(d.hasImage()) << closeBox;
        EXPECT_EQ(d.document().results().rowCount(), 0) << closeBox;
    }
}

TEST_F(StartUp, MissingTemporaryDirectoryIsReported)
{
    WindowEnvironment env = Env();
    env.tempDir = [] { return QString(); };
    mainWindow = std::make_unique<MainWindow>(std::move(env));
    // The window and the image page each look for it.
    ASSERT_FALSE(prompter.messages.empty());
    for (const auto &m : prompter.messages)
        EXPECT_EQ(m.text, "Could not open temporary file.");
    EXPECT_EQ(mainWindow->workFilePath(), "Orvalin_Workfile.jpg");
}

// The platform environment looks for the marker and the setting files in the
// start directory it is given, whatever the process's current directory.
TEST_F(StartUp, StartDirectoryHoldsTheMarkerAndTheSettingFiles)
{
    const QString cwd = QDir::currentPath();
    ASSERT_NE(QDir::cleanPath(cwd), QDir::cleanPath(dir.path()));
    for (const char *name : {"english.txt", "cell.sst", "thin.drw"}) {
        QFile f(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << name;
    }
    struct Case {
        bool marker;
        Language expected;
    };
    for (const Case c : {Case{true, Language::English}, Case{false, Language::Japanese}}) {
        SCOPED_TRACE(c.marker);
        if (!c.marker) {
            ASSERT_TRUE(QFile::remove(dir.filePath("english.txt")));
        }
        WindowEnvironment env = WindowEnvironment::FromPlatform(dir.path());
        EXPECT_EQ(env.locale.englishMarker(), c.marker);
        const WindowEnvironment fixed = Env("ja", "ja");
        env.locale.systemLanguage = fixed.locale.systemLanguage;
        env.locale.userLanguage = fixed.locale.userLanguage;
        env.prompter = fixed.prompter;
        env.screenSize = fixed.screenSize;
        env.tempDir = fixed.tempDir;
        env.wirelessPort = 0;
        mainWindow = std::make_unique<MainWindow>(std::move(env));
        EXPECT_EQ(mainWindow->host().language(), c.expected);
        EXPECT_EQ(PartsOf(*mainWindow).scalePage->language(), c.expected);
        EXPECT_EQ(PartsOf(*mainWindow).scalePage->startDirectory(), dir.path());
        EXPECT_GE(PartsOf(*mainWindow).scalePage->controls().scaleFileList->findText("cell"), 1);
        EXPECT_GE(PartsOf(*mainWindow).optionsPage->controls().drawFileList->findText("thin"), 1);
        EXPECT_EQ(QDir::currentPath(), cwd);
    }
}

TEST_F(StartUp, AboutBoxIsAskedThroughThePrompter)
{
    MainWindow &d = Make();
    auto *about = d.findChild<QPushButton *>("aboutButton");
    ASSERT_NE(about, nullptr);
    QTest::mouseClick(about, Qt::LeftButton);
    QTest::mouseClick(about, Qt::LeftButton);
    EXPECT_EQ(prompter.aboutRequests, 2);
    EXPECT_TRUE(prompter.messages.empty());
}

// Any character outside Latin-1 (kana and kanji are).
bool HasJapanese(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xff; });
}

TEST_F(StartUp, AboutEntryAndAboutBoxSpeakTheWindowsLanguage)
{
    struct Case {
        const char *locale;
        Language expected;
    };
    for (const Case &c : {Case{"en", Language::English}, Case{"ja", Language::Japanese}}) {
        SCOPED_TRACE(c.locale);
        MainWindow &d = Make(c.locale, c.locale);
        ASSERT_EQ(d.host().language(), c.expected);
        const bool japanese = c.expected == Language::Japanese;
        auto *about = d.findChild<QPushButton *>("aboutButton");
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(HasJapanese(about->toolTip()), japanese) << about->toolTip().toStdString();
        EXPECT_TRUE(about->toolTip().contains("Orvalin"));
        prompter.aboutLanguage = japanese ? Language::English : Language::Japanese;
        QTest::mouseClick(about, Qt::LeftButton);
        EXPECT_EQ(prompter.aboutLanguage, c.expected);
        // The box the real prompter shows for that language.
        const AboutDialog box(prompter.aboutLanguage);
        EXPECT_EQ(HasJapanese(box.windowTitle()), japanese) << box.windowTitle().toStdString();
        EXPECT_TRUE(box.windowTitle().contains("Orvalin"));
    }
}

}  // namespace
}  // namespace orv::test

// The text input dialog, the about box, the overview toggle and the real prompter's seam.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <utility>

#include "app/dialogs/about_dialog.h"
#include "app/dialogs/text_input_dialog.h"
#include "tests/app/mainwindow/main_window_fixture.h"

namespace orv::test {
namespace {

TEST(InputDialog, LanguageFollowsTheUserLocaleAndOkTakesTheText)
{
    TextInputDialog ja(DlgLocale("en", "ja"));
    EXPECT_EQ(ja.windowTitle(), QStringLiteral("文字列を入力してください。"));
    EXPECT_EQ(ja.findChild<QPushButton *>("cancelButton")->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    TextInputDialog en(DlgLocale("ja", "en"));
    EXPECT_EQ(en.windowTitle(), "Input Text");
    EXPECT_EQ(en.findChild<QPushButton *>("cancelButton")->text(), "Cancel");
    TextInputDialog marker(DlgLocale("ja", "ja", true));
    EXPECT_EQ(marker.language(), Language::English);

    // The text is taken only when the dialog ends with OK.
    QTimer::singleShot(0, &en, [&en] {
        QTest::keyClicks(en.edit(), "cell wall");
        en.findChild<QPushButton *>("cancelButton")->click();
    });
    EXPECT_EQ(en.exec(), QDialog::Rejected);
    EXPECT_EQ(en.text(), "");
    QTimer::singleShot(0, &en, [&en] {
        EXPECT_TRUE(en.edit()->hasFocus());
        en.edit()->setText("nucleus");
        en.findChild<QPushButton *>("okButton")->click();
    });
    EXPECT_EQ(en.exec(), QDialog::Accepted);
    EXPECT_EQ(en.text(), "nucleus");
}

TEST(AboutDialog, NamesTheProgramAndItsVersion)
{
    AboutDialog about;
    auto *label = about.findChild<QLabel *>("aboutVersion");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Orvalin ver. 1.07.1");
}

using Overview = MainWindowTest;

TEST_F(Overview, ToggleShowsAndHidesTheOverviewAndMarksARebuild)
{
    MainWindow &d = MakeWithImage({200, 100});
    ASSERT_FALSE(PartsOf(d).overviewShown);
    d.EnsureComposite();
    QTest::mouseClick(d.host().button(CommandId::Overview), Qt::LeftButton);
    EXPECT_TRUE(PartsOf(d).overviewShown);
    EXPECT_TRUE(PartsOf(d).overviewWindow->isVisible());
    EXPECT_EQ(d.host().viewState(), ViewState::Rebuild);
    QTest::mouseClick(d.host().button(CommandId::Overview), Qt::LeftButton);
    EXPECT_FALSE(PartsOf(d).overviewShown);
    EXPECT_FALSE(PartsOf(d).overviewWindow->isVisible());
    // The window's own close pushes the flag back into the button.
    d.host().SetOverviewShown(true);
    EXPECT_TRUE(d.host().button(CommandId::Overview)->isChecked());
    d.host().SetOverviewShown(false);
    EXPECT_FALSE(d.host().button(CommandId::Overview)->isChecked());
}

TEST_F(Overview, PostedCommandsCrossTheSignalAsTheirControlIds)
{
    MainWindow &d = MakeWithImage({200, 100});
    // The ids are the window's control numbers wherever they are posted as ints.
    const std::pair<CommandId, int> ids[] = {
        {CommandId::None, 0},       {CommandId::Exit, 1},         {CommandId::Cancel, 2},
        {CommandId::Report, 3},     {CommandId::DeleteAll, 4},    {CommandId::OpenImage, 1000},
        {CommandId::SaveCsv, 1003}, {CommandId::SaveImage, 1005}, {CommandId::Overview, 1016},
    };
    for (const auto &[command, id] : ids)
        EXPECT_EQ(ToUnderlying(command), id);

    // The toggle follows its button.
    QPushButton *toggle = d.host().button(CommandId::Overview);
    toggle->setChecked(true);
    emit d.commandPosted(1016);
    EXPECT_FALSE(PartsOf(d).overviewShown) << "posted commands run from the event loop";
    QCoreApplication::processEvents();
    EXPECT_TRUE(PartsOf(d).overviewShown);
    toggle->setChecked(false);
    d.host().PostCommand(CommandId::Overview);
    QCoreApplication::processEvents();
    EXPECT_FALSE(PartsOf(d).overviewShown);
    // An id no command has is ignored.
    toggle->setChecked(true);
    emit d.commandPosted(1017);
    QCoreApplication::processEvents();
    EXPECT_FALSE(PartsOf(d).overviewShown);
}

TEST_F(Overview, SaveRoundGoesOnWithoutAPaintWhenTheWindowIsHidden)
{
    MainWindow &d = MakeWithImage({40, 30});
    MeasureItem *item = AddDistance({2, 2}, {30, 2});
    d.host().SelectTab(PageMeasure);
    d.document().SelectItem(item);
    prompter.savePaths.push_back(dir.filePath("hidden.bmp"));
    d.commands().OnSaveImage();
    EXPECT_EQ(d.document().selectedItem(), nullptr);
    for (int i = 0; i < 20 && prompter.saveRequests.empty(); ++i)
        QTest::qWait(5);
    EXPECT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_TRUE(QFile::exists(dir.filePath("hidden.bmp")));
    EXPECT_EQ(d.pendingCommand(), CommandId::None);
}

using QtTexts = MainWindowTest;

TEST_F(QtTexts, StandardButtonsAndDialogsFollowTheMainWindowsLanguage)
{
    auto yesText = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.button(QMessageBox::Yes)->text();
    };
    const QString english = yesText();
    ASSERT_EQ(english, "&Yes");
    Make("ja", "ja");
    EXPECT_EQ(yesText(), QStringLiteral("はい(&Y)"));
    EXPECT_EQ(QFileDialog::tr("Look in:"), QStringLiteral("アドレス:"));
    // The translation goes with the window, and an English window loads none.
    mainWindow.reset();
    EXPECT_EQ(yesText(), english);
    Make("en", "ja");
    EXPECT_EQ(yesText(), english);
}

}  // namespace
}  // namespace orv::test

// The program's keys in the real window, delivered as the window system
// delivers them: Ctrl+S and the undo keys from every window of the program,
// Delete and Backspace on the selected measurement.
#include "tests/app/interaction/interaction_fixture.h"

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

#include "app/pages/options/options_page.h"

namespace orv::test {
namespace {

class ProgramKeys : public InteractionTest {
public:
    // The cases reach these from outside the fixture.
    using InteractionTest::list;
    using InteractionTest::listView;
    using InteractionTest::view;
    using MainWindowTest::mainWindow;
    using MainWindowTest::prompter;

    void SetUp() override
    {
        InteractionTest::SetUp();
        ASSERT_NE(Place(KindDistance2Points, {{40, 40}, {240, 40}}), nullptr);
        ClearSelection();
    }

    // To the focus widget of the window target is in.
    void Key(QWidget *target, Qt::Key key, Qt::KeyboardModifiers mods = {})
    {
        QTest::keyClick(target->window()->windowHandle(), key, mods);
        QCoreApplication::processEvents();
    }

    // The overview shown and holding the focus, as after a zoom that opens it.
    QWidget *FocusedOverview()
    {
        QWidget *overview = PartsOf(*mainWindow).overviewWindow;
        if (!overview->isVisible())
            QTest::mouseClick(mainWindow->host().button(CommandId::Overview), Qt::LeftButton);
        EXPECT_TRUE(overview->isVisible());
        overview->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(overview));
        return overview;
    }

    void DeleteAll()
    {
        prompter.answers.push_back(UiPrompter::Answer::Yes);
        QTest::mouseClick(mainWindow->host().button(CommandId::DeleteAll), Qt::LeftButton);
        ASSERT_TRUE(list().empty());
    }

    void SelectFirstRow()
    {
        QTest::mouseClick(listView()->viewport(), Qt::LeftButton, {}, RowCenter(0));
        ASSERT_NE(mainWindow->document().selectedItem(), nullptr);
    }

    // The question a right click on the selected measurement asks (answered No).
    QString RightClickQuestion()
    {
        SelectFirstRow();
        const MeasureItem &item = list().at(0);
        const QPoint on = item.points.at(0).pos + QPoint(60, 0);
        Hover(on);
        const std::size_t asked = prompter.messages.size();
        prompter.answers.push_back(UiPrompter::Answer::No);
        RightClick(on);
        EXPECT_EQ(prompter.messages.size(), asked + 1);
        EXPECT_EQ(list().size(), 1u);
        return prompter.messages.empty() ? QString() : prompter.messages.back().text;
    }
};

TEST_F(ProgramKeys, SaveAndUndoKeysWorkWhileTheOverviewHasTheFocus)
{
    struct Case {
        const char *name;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        std::function<void(ProgramKeys &)> before;
        std::function<bool(ProgramKeys &)> done;
    };
    const QString saved = dir.filePath("from-overview.orvm");
    const std::vector<Case> cases = {
        {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, [](ProgramKeys &t) { t.DeleteAll(); },
         [](ProgramKeys &t) { return t.list().size() == 1; }},
        {"Ctrl+Y", Qt::Key_Y, Qt::ControlModifier,
         [](ProgramKeys &t) {
             t.DeleteAll();
             ASSERT_TRUE(t.mainWindow->document().Undo());
         },
         [](ProgramKeys &t) { return t.list().empty(); }},
        {"Ctrl+Shift+Z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier,
         [](ProgramKeys &t) {
             t.DeleteAll();
             ASSERT_TRUE(t.mainWindow->document().Undo());
         },
         [](ProgramKeys &t) { return t.list().empty(); }},
        {"Ctrl+S", Qt::Key_S, Qt::ControlModifier, [saved](ProgramKeys &t) { t.prompter.savePaths.push_back(saved); },
         [saved](ProgramKeys &) { return QFile::exists(saved); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.before(*this);
        QWidget *overview = FocusedOverview();
        ASSERT_FALSE(c.done(*this));
        Key(overview, c.key, c.mods);
        EXPECT_TRUE(c.done(*this));
        EXPECT_TRUE(overview->isVisible());
        if (list().empty()) {
            ASSERT_TRUE(mainWindow->document().Undo());
        }
    }
    // Escape still closes the overview, not the program.
    Key(FocusedOverview(), Qt::Key_Escape);
    EXPECT_FALSE(PartsOf(*mainWindow).overviewWindow->isVisible());
    EXPECT_TRUE(mainWindow->isVisible());
}

TEST_F(ProgramKeys, AModalDialogOfTheWindowKeepsTheUndoKeysForItsField)
{
    DeleteAll();
    QDialog modal(mainWindow.get());
    auto *field = new QLineEdit(&modal);
    (new QVBoxLayout(&modal))->addWidget(field);
    modal.setModal(true);
    modal.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&modal));
    field->setFocus();
    QTest::keyClicks(field, "abc");
    Key(&modal, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(list().empty());
    EXPECT_NE(field->text(), "abc");
}

TEST_F(ProgramKeys, DeleteAndBackspaceRemoveTheSelectionAsTheRightClickDoes)
{
    const QString question = RightClickQuestion();
    ASSERT_FALSE(question.isEmpty());
    const std::vector<QPoint> points = Positions(list().at(0));
    struct Case {
        const char *name;
        Qt::Key key;
        UiPrompter::Answer answer;
        std::function<QWidget *(ProgramKeys &)> focus;
    };
    const std::vector<Case> cases = {
        {"Delete on the view", Qt::Key_Delete, UiPrompter::Answer::Yes,
         [](ProgramKeys &t) -> QWidget * { return t.view; }},
        {"Backspace on the list", Qt::Key_Backspace, UiPrompter::Answer::Yes,
         [](ProgramKeys &t) -> QWidget * { return t.listView(); }},
        {"Delete answered No", Qt::Key_Delete, UiPrompter::Answer::No,
         [](ProgramKeys &t) -> QWidget * { return t.view; }},
        {"Delete from the overview", Qt::Key_Delete, UiPrompter::Answer::Yes,
         [](ProgramKeys &t) -> QWidget * { return t.FocusedOverview(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SelectFirstRow();
        QWidget *target = c.focus(*this);
        target->setFocus();
        const std::size_t asked = prompter.messages.size();
        prompter.answers.push_back(c.answer);
        Key(target, c.key);
        ASSERT_EQ(prompter.messages.size(), asked + 1);
        EXPECT_EQ(prompter.messages.back().text, question);
        if (c.answer == UiPrompter::Answer::No) {
            EXPECT_EQ(list().size(), 1u);
            continue;
        }
        EXPECT_TRUE(list().empty());
        EXPECT_EQ(rows().rowCount(), 0);
        // One step: a single undo brings it back where it was.
        Key(mainWindow.get(), Qt::Key_Z, Qt::ControlModifier);
        ASSERT_EQ(list().size(), 1u);
        EXPECT_EQ(Positions(list().at(0)), points);
    }
}

TEST_F(ProgramKeys, DeleteAsksNothingWithoutASelectionOrInATextField)
{
    struct Case {
        const char *name;
        bool select;
        std::function<QWidget *(ProgramKeys &)> focus;
    };
    const std::vector<Case> cases = {
        {"nothing selected", false, [](ProgramKeys &t) -> QWidget * { return t.view; }},
        {"the zoom field of the Option page", true,
         [](ProgramKeys &t) -> QWidget * {
             t.mainWindow->host().SelectTab(PageOptions);
             return PartsOf(*t.mainWindow).optionsPage->controls().zoom;
         }},
        {"the Scale page", true,
         [](ProgramKeys &t) -> QWidget * {
             t.mainWindow->host().SelectTab(PageScale);
             return PartsOf(*t.mainWindow).tabControl;
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        mainWindow->host().SelectTab(PageMeasure);
        if (c.select)
            SelectFirstRow();
        QWidget *target = c.focus(*this);
        target->setFocus();
        for (Qt::Key key : {Qt::Key_Delete, Qt::Key_Backspace})
            Key(mainWindow.get(), key);
        EXPECT_TRUE(prompter.messages.empty());
        EXPECT_EQ(list().size(), 1u);
    }
}

}  // namespace
}  // namespace orv::test

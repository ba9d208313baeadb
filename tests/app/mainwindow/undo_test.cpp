// Undo and redo in the real window, with the keys: every kind of step comes
// back as it was made by hand (document, rows, pages and the composite's
// pixels), a drag is one step, and the keys work wherever the focus is.
#include "drawn_label_boxes.h"
#include "observed_document.h"
#include "tests/app/interaction/interaction_fixture.h"
#include "tests/app/pages/scale/scale_page_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

#include "app/mainwindow/composition_inputs.h"
#include "app/mainwindow/undo_keys.h"
#include "app/pages/options/options_page.h"
#include "app/pages/scale/scale_page.h"
#include "calib/scale_bars.h"
#include "document/document_history.h"
#include "view/view_composer.h"

namespace orv::test {
namespace {

testing::AssertionResult SamePixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return testing::AssertionFailure() << "sizes differ";
    QRect diff;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                diff |= QRect(x, y, 1, 1);
    if (diff.isNull())
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "differ in " << diff.x() << "," << diff.y() << " " << diff.width() << "x"
                                       << diff.height();
}

QPoint CentreOf(const LabelBox &b)
{
    return QPoint((b.left + b.right) / 2, (b.top + b.bottom) / 2);
}

class UndoTest : public InteractionTest {
public:
    // The cases' steps are made from outside the fixture.
    using InteractionTest::ClearSelection;
    using InteractionTest::Drag;
    using InteractionTest::listView;
    using InteractionTest::Place;
    using InteractionTest::RowCenter;
    using InteractionTest::view;
    using MainWindowTest::mainWindow;
    using MainWindowTest::prompter;

    void SetUp() override
    {
        InteractionTest::SetUp();
        const MeasureItem *p = Place(KindPerpendicular, {{20, 200}, {280, 200}, {100, 100}, {200, 150}});
        ASSERT_NE(p, nullptr);
        perpendicularId = p->id;
        const MeasureItem *d = Place(KindDistance2Points, {{40, 40}, {240, 40}});
        ASSERT_NE(d, nullptr);
        distanceId = d->id;
        ClearSelection();
        Settle();
    }

    // Undo and redo put copies back: items are found by id.
    MeasureItem &perpendicular() { return *doc().Find(perpendicularId); }
    MeasureItem &distance() { return *doc().Find(distanceId); }

    MeasureDocument &doc() { return mainWindow->document(); }
    const ScalePageControls &scale() { return PartsOf(*mainWindow).scalePage->controls(); }
    const OptionsPageControls &option() { return PartsOf(*mainWindow).optionsPage->controls(); }

    void Settle()
    {
        QCoreApplication::processEvents();
        Paint();
    }

    Observed Observe() { return test::Observe(doc()); }

    // A full rebuild of the window's state as it is now, drawn from copies.
    QImage Reference()
    {
        const LayerInputs in = CompositionInputs(*mainWindow);
        MeasureList copy;
        MeasureDrawOptions options = in.measureOptions;
        for (const auto &item : *in.list) {
            auto dup = std::make_unique<MeasureItem>(*item);
            if (options.selectedItem == item.get())
                options.selectedItem = dup.get();
            copy.Append(std::move(dup));
        }
        const QImage drawn = ViewComposer::BuildComposite(in.source, [&](QImage &c) {
            if (in.scale && in.calibration)
                DrawScaleBars(c, *in.scale, *in.calibration, in.calibrationPage ? kCalibrationPageIndex : 0);
            DrawAllMeasures(c, copy, nullptr, options);
        });
        return drawn.convertToFormat(QImage::Format_RGB32);
    }

    QImage Composite()
    {
        mainWindow->EnsureComposite();
        return mainWindow->composite().convertToFormat(QImage::Format_RGB32);
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers mods)
    {
        QTest::keyClick(mainWindow->windowHandle(), key, mods);
        Settle();
    }
    void Undo() { Key(Qt::Key_Z, Qt::ControlModifier); }
    void Redo(bool shiftZ)
    {
        if (shiftZ)
            Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        else
            Key(Qt::Key_Y, Qt::ControlModifier);
    }

    void ClickRow(int row) { QTest::mouseClick(listView()->viewport(), Qt::LeftButton, {}, RowCenter(row)); }

    // The pages show the document's calibration and attributes.
    void ExpectPagesShow(const Observed &o)
    {
        const ScaleSetting &s = o.calibration.setting;
        EXPECT_EQ(scale().hPixel->text().toStdString(), s.hPixel);
        EXPECT_EQ(scale().hValue->text().toStdString(), s.hValue);
        EXPECT_EQ(scale().vPixel->text().toStdString(), s.vPixel);
        EXPECT_EQ(scale().vValue->text().toStdString(), s.vValue);
        EXPECT_EQ(scale().sync->isChecked(), s.link == kLinkSync);
        EXPECT_EQ(scale().vValue->isEnabled(), s.link == kLinkAsync);
        EXPECT_EQ(scale().show->isChecked(), o.calibration.standard.show != 0);
        EXPECT_EQ(PartsOf(*mainWindow).scalePage->horizontalBar().points, o.calibration.bars.horizontal.points);
        const QRadioButton *mode = o.attributes.labelMode == LabelMode::ItemNumberOnly ? option().numberOnly
            : o.attributes.labelMode == LabelMode::Summary                             ? option().summary
                                                                                       : option().details;
        EXPECT_TRUE(mode->isChecked());
        EXPECT_EQ(option().lineWidth->currentText().toStdString(), o.attributes.lineWidthText);
    }

    ItemId perpendicularId = kNoItem;
    ItemId distanceId = kNoItem;
};

struct StepCase {
    const char *name;
    // What comes before the step and is no step (a selection, a page).
    std::function<void(UndoTest &)> prepare;
    std::function<void(UndoTest &)> act;
};

TEST_F(UndoTest, EveryKindOfStepComesBackAsMadeByHand)
{
    const auto none = [](UndoTest &) {};
    const auto scalePage = [](UndoTest &t) { t.mainWindow->host().SelectTab(PageScale); };
    const std::vector<StepCase> cases = {
        {"place a distance", none,
         [](UndoTest &t) {
             t.Place(KindDistance2Points, {{30, 170}, {150, 170}});
         }},
        {"drag a point", [](UndoTest &t) { t.ClickRow(0); },
         [](UndoTest &t) {
             t.Drag({200, 150}, {230, 120});
         }},
        {"move a sub-result label", [](UndoTest &t) { t.ClickRow(0); },
         [](UndoTest &t) {
             const QPoint grab = CentreOf(t.perpendicular().subResults[0].labelBox);
             t.Drag(grab, grab + QPoint(20, -30));
         }},
        {"move a label", [](UndoTest &t) { t.ClickRow(3); },
         [](UndoTest &t) {
             const QPoint grab = CentreOf(t.distance().labelBox);
             t.Drag(grab, grab + QPoint(15, 50));
         }},
        {"duplicate from the list", [](UndoTest &t) { t.ClickRow(3); },
         [](UndoTest &t) {
             QWidget *rows = t.listView()->viewport();
             QTest::mouseClick(rows, Qt::LeftButton, {}, t.RowCenter(3));
             QTest::mouseDClick(rows, Qt::LeftButton, {}, t.RowCenter(3));
             QTest::mouseRelease(rows, Qt::LeftButton, {}, t.RowCenter(3));
         }},
        {"delete an item from the list", [](UndoTest &t) { t.ClickRow(0); },
         [](UndoTest &t) {
             t.prompter.answers.push_back(UiPrompter::Answer::Yes);
             QTest::mouseClick(t.listView()->viewport(), Qt::RightButton, {}, t.RowCenter(0));
         }},
        {"delete a sub-result row", [](UndoTest &t) { t.ClickRow(2); },
         [](UndoTest &t) {
             t.prompter.answers.push_back(UiPrompter::Answer::Yes);
             QTest::mouseClick(t.listView()->viewport(), Qt::RightButton, {}, t.RowCenter(2));
         }},
        {"delete all", none,
         [](UndoTest &t) {
             t.prompter.answers.push_back(UiPrompter::Answer::Yes);
             QTest::mouseClick(t.mainWindow->host().button(CommandId::DeleteAll), Qt::LeftButton);
         }},
        {"type a calibration value", scalePage,
         [](UndoTest &t) {
             Retype(t.scale().hValue, "250");
             QTest::keyClick(t.scale().hValue, Qt::Key_Return);
         }},
        {"Sync.", scalePage, [](UndoTest &t) { QTest::mouseClick(t.scale().sync, Qt::LeftButton); }},
        {"drag a bar's end", scalePage,
         [](UndoTest &t) {
             t.Drag({110, 10}, {160, 10});
         }},
        {"choose a unit", scalePage, [](UndoTest &t) { Choose(t.scale().unit, 0); }},
        {"show the standard scale", scalePage, [](UndoTest &t) { QTest::mouseClick(t.scale().show, Qt::LeftButton); }},
        {"label mode", [](UndoTest &t) { t.mainWindow->host().SelectTab(PageOptions); },
         [](UndoTest &t) { QTest::mouseClick(t.option().numberOnly, Qt::LeftButton); }},
        {"line width of the selected item",
         [](UndoTest &t) {
             t.ClickRow(3);
             t.mainWindow->host().SelectTab(PageOptions);
         },
         [](UndoTest &t) { Choose(t.option().lineWidth, 3); }},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const StepCase &c = cases[i];
        SCOPED_TRACE(c.name);
        c.prepare(*this);
        // The keys are pressed with the focus on the list: a modifier pressed
        // in a Scale field commits the field, a step of its own when typed.
        listView()->setFocus();
        Settle();
        const Observed before = Observe();
        const QImage drawnBefore = Reference();
        const int steps = doc().history().stack().index();

        c.act(*this);
        listView()->setFocus();
        Settle();
        const Observed after = Observe();
        const QImage drawnAfter = Reference();
        ASSERT_NE(after, before);
        EXPECT_EQ(doc().history().stack().index(), steps + 1) << "one step";

        Undo();
        EXPECT_EQ(Observe(), before);
        ExpectPagesShow(before);
        EXPECT_TRUE(SamePixels(Composite(), drawnBefore));
        Redo(i % 2 == 0);
        EXPECT_EQ(Observe(), after);
        ExpectPagesShow(after);
        EXPECT_TRUE(SamePixels(Composite(), drawnAfter));
        // Each case starts where the first did.
        Undo();
        EXPECT_EQ(Observe(), before);
        mainWindow->host().SelectTab(PageMeasure);
        ClearSelection();
    }
}

TEST_F(UndoTest, KeysWorkWhereverTheFocusIsAndOtherKeysStillDoNothing)
{
    struct Case {
        const char *name;
        std::function<QWidget *(UndoTest &)> focus;
    };
    const std::vector<Case> cases = {
        {"the view", [](UndoTest &t) -> QWidget * { return t.view; }},
        {"the results list", [](UndoTest &t) -> QWidget * { return t.listView(); }},
        {"a scale field",
         [](UndoTest &t) -> QWidget * {
             t.mainWindow->host().SelectTab(PageScale);
             return t.scale().hValue;
         }},
        {"the option page",
         [](UndoTest &t) -> QWidget * {
             t.mainWindow->host().SelectTab(PageOptions);
             return t.option().lineWidth;
         }},
        {"the window", [](UndoTest &t) -> QWidget * { return t.mainWindow.get(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t count = list().size();
        prompter.answers.push_back(UiPrompter::Answer::Yes);
        QTest::mouseClick(mainWindow->host().button(CommandId::DeleteAll), Qt::LeftButton);
        ASSERT_TRUE(list().empty());
        QWidget *target = c.focus(*this);
        target->setFocus();
        Undo();
        EXPECT_EQ(list().size(), count);
        Redo(true);
        EXPECT_TRUE(list().empty());
        Undo();
        EXPECT_EQ(list().size(), count);
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Delete})
            Key(key, {});
        EXPECT_TRUE(mainWindow->isVisible());
        EXPECT_EQ(list().size(), count);
        mainWindow->host().SelectTab(PageMeasure);
    }
}

TEST_F(UndoTest, ACalibrationValueUndoneWithTheKeysInItsFieldPutsTheLabelsBack)
{
    struct Case {
        const char *name;
        bool returnFirst;
    };
    const Case cases[] = {{"typed and taken with Return", true}, {"typed and undone at once", false}};
    // Every label placed: each item selected once, then none.
    for (int row : {0, 3}) {
        ClickRow(row);
        Settle();
    }
    ClearSelection();
    Settle();
    ASSERT_GE(distance().labelBox.bottom, 1);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        mainWindow->host().SelectTab(PageScale);
        Settle();
        const std::vector<LabelBox> before = test::ListLabelBoxes(list());
        const std::string hValue = scale().hValue->text().toStdString();
        const QImage drawnBefore = Composite();

        scale().hValue->setFocus();
        Retype(scale().hValue, "20");
        if (c.returnFirst)
            QTest::keyClick(scale().hValue, Qt::Key_Return);
        Settle();
        Undo();
        EXPECT_EQ(scale().hValue->text().toStdString(), hValue);
        // Leaving the field (for the Save button, say) takes its value again.
        listView()->setFocus();
        Settle();
        const std::vector<LabelBox> after = test::ListLabelBoxes(list());
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i].left, before[i].left) << i;
            EXPECT_EQ(after[i].top, before[i].top) << i;
            EXPECT_EQ(after[i].right, before[i].right) << i;
            EXPECT_EQ(after[i].bottom, before[i].bottom) << i;
        }
        EXPECT_TRUE(SamePixels(Composite(), drawnBefore));
        mainWindow->host().SelectTab(PageMeasure);
    }
}

TEST_F(UndoTest, KeysAreReadAsUndoOrRedoOnly)
{
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        UndoKey expected;
    };
    const Case cases[] = {
        {Qt::Key_Z, Qt::ControlModifier, UndoKey::Undo},
        {Qt::Key_Z, Qt::ControlModifier | Qt::KeypadModifier, UndoKey::Undo},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, UndoKey::Redo},
        {Qt::Key_Y, Qt::ControlModifier, UndoKey::Redo},
        {Qt::Key_Z, Qt::NoModifier, UndoKey::None},
        {Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier, UndoKey::None},
        {Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier, UndoKey::None},
        {Qt::Key_X, Qt::ControlModifier, UndoKey::None},
    };
    for (const Case &c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.mods);
        EXPECT_EQ(UndoKeyOf(event), c.expected) << c.key << " " << c.mods;
    }
}

TEST_F(UndoTest, ADragInProgressAndANewImageBlockOrEndTheHistory)
{
    ClickRow(0);
    const Observed before = Observe();
    Hover({200, 150});
    Press({200, 150});
    QTest::mouseMove(view, {220, 130});
    ASSERT_NE(mainWindow->pointer().dragMode(), DragMode::Idle);
    Undo();
    EXPECT_NE(mainWindow->pointer().dragMode(), DragMode::Idle) << "the drag goes on";
    QTest::mouseMove(view, {230, 120});
    Release({230, 120});
    Settle();
    EXPECT_EQ(perpendicular().points[3].pos, QPoint(230, 120));
    // The whole drag, many moves, is one step.
    Undo();
    EXPECT_EQ(Observe(), before);

    ASSERT_TRUE(LoadFilled(QStringLiteral("next.png"), {320, 240}, Qt::gray));
    EXPECT_FALSE(doc().CanUndo());
    EXPECT_FALSE(doc().CanRedo());
    Place(KindDistance2Points, {{40, 40}, {240, 40}});
    Undo();
    EXPECT_TRUE(list().empty());
    Undo();
    EXPECT_TRUE(list().empty()) << "the last image's measurements stay gone";
}

TEST_F(UndoTest, TheScaleFileListShowsTheNameThatWentWithTheSettingPutBack)
{
    mainWindow->host().SelectTab(PageScale);
    QComboBox *files = scale().scaleFileList;
    const QString start = files->currentText();
    Retype(scale().hValue, "40");
    QTest::keyClick(scale().hValue, Qt::Key_Return);
    prompter.savePaths.push_back(dir.filePath(QStringLiteral("lens.sst")));
    PartsOf(*mainWindow).scalePage->OnSave();
    ASSERT_EQ(files->currentText(), QStringLiteral("lens"));
    // Back to the defaults from the list, then each step taken back.
    Choose(files, 0);
    ASSERT_EQ(files->currentText(), start);
    listView()->setFocus();

    struct Case {
        bool undo;
        const char *hValue;
        QString name;
    };
    const Case cases[] = {
        {true, "40", QStringLiteral("lens")},
        {true, "100", start},
        {false, "40", QStringLiteral("lens")},
        {false, "100", start},
    };
    for (const Case &c : cases) {
        c.undo ? Undo() : Redo(false);
        EXPECT_EQ(scale().hValue->text().toStdString(), c.hValue);
        EXPECT_EQ(files->currentText(), c.name) << c.hValue;
    }
}

}  // namespace
}  // namespace orv::test

// Undo and redo of the document's steps without any widget: each step puts
// back exactly the list, rows, calibration, attributes and selection it
// found, redo brings back what it left, and nothing that changes nothing is
// a step.
#include <gtest/gtest.h>

#include "drawn_label_boxes.h"
#include "observed_document.h"

#include <functional>
#include <string>
#include <vector>

#include "document/document_history.h"
#include "document/document_state.h"
#include "document/measure_document.h"
#include "measure/derive.h"
#include "measure/hit_test.h"

namespace orv {
namespace {

std::unique_ptr<MeasureItem> Item(MeasureKind kind, std::vector<QPoint> points)
{
    auto item = NewMeasureItem();
    item->kind = kind;
    for (QPoint p : points)
        AppendPoint(*item, p);
    UpdateDerivedGeometry(*item);
    return item;
}

using test::Observe;
using test::Observed;

// A document with a still and three measurements, history starting there.
class Scene {
public:
    Scene()
    {
        doc.SetImage(QImage(400, 300, QImage::Format_RGB32), ImageOrigin::File);
        distance = Add(Item(KindDistance2Points, {{10, 10}, {110, 10}}));
        perpendicular = Add(Item(KindPerpendicular, {{0, 100}, {200, 100}, {50, 40}, {150, 30}}));
        circle = Add(Item(KindAreaCircle, {{200, 200}, {230, 200}}));
        doc.ClearSelection();
        doc.ClearHistory();
    }

    ItemId Add(std::unique_ptr<MeasureItem> item)
    {
        doc.BeginEdit(std::move(item));
        return doc.ListEditItem()->id;
    }
    MeasureItem &At(ItemId id) { return *doc.Find(id); }
    // The first listed sub-result row of the perpendicular.
    int SubRow() { return At(perpendicular).subResults.at(0).row; }

    MeasureDocument doc{Language::English, Language::English};
    ItemId distance = kNoItem;
    ItemId perpendicular = kNoItem;
    ItemId circle = kNoItem;
};

struct StepCase {
    const char *name;
    std::function<void(Scene &)> act;
    // What comes before the step and is no step of its own.
    std::function<void(Scene &)> prepare = [](Scene &) {};
};

TEST(DocumentHistory, EachStepUndoesAndRedoesExactly)
{
    const std::vector<StepCase> cases = {
        {"place", [](Scene &t) { t.Add(Item(KindDistance2Points, {{5, 5}, {5, 95}})); }},
        {"duplicate", [](Scene &t) { t.doc.Duplicate(t.perpendicular); }},
        {"remove the middle item", [](Scene &t) { t.doc.Remove(t.perpendicular); }},
        {"remove a sub-result row", [](Scene &t) { t.doc.RemoveSubResultRow(t.SubRow()); }},
        {"point drag",
         [](Scene &t) {
             // Many moves of the edit item, one commit: one step.
             for (int x = 111; x < 140; ++x) {
                 auto clone = CloneMeasureItem(t.At(t.distance));
                 SetPointAt(clone.get(), 1, {x, 20});
                 t.doc.SetEditItem(std::move(clone));
             }
             t.doc.CommitPointDrag(t.distance);
         },
         [](Scene &t) { t.doc.Select(t.distance); }},
        {"label move",
         [](Scene &t) {
             auto clone = CloneMeasureItem(t.At(t.circle));
             clone->labelBox = {250, 250, 300, 266};
             t.doc.SetEditItem(std::move(clone));
             t.doc.CommitMove(t.circle, HitLabel, -1);
         }},
        {"stroke move",
         [](Scene &t) {
             auto clone = CloneMeasureItem(t.At(t.perpendicular));
             for (MeasurePoint &p : clone->points)
                 p.pos += QPoint(7, 9);
             UpdateDerivedGeometry(*clone);
             t.doc.SetEditItem(std::move(clone));
             t.doc.CommitMove(t.perpendicular, HitStroke, -1);
         }},
        {"move a point", [](Scene &t) { t.doc.MovePoint(t.perpendicular, 2, {60, 10}); }},
        {"delete all", [](Scene &t) { t.doc.DeleteAll(); }},
        {"renumber a list out of step", [](Scene &t) { t.doc.Renumber(); },
         // What another window may leave behind.
         [](Scene &t) { t.At(t.circle).number = 9; }},
        {"calibration with values",
         [](Scene &t) {
             Calibration &c = t.doc.editCalibration();
             c.setting.hPixel = "50";
             c.setting.unit = "mm";
             c.bars.Update(c.setting);
             c.standard.updatePixelLength(c.setting);
             t.doc.RecomputeAll();
             t.doc.CalibrationEdited();
         }},
        {"standard scale",
         [](Scene &t) {
             t.doc.editCalibration().standard.show = 1;
             t.doc.editCalibration().standard.position = {70, 80};
             t.doc.CalibrationEdited();
         }},
        {"attributes of the selection",
         [](Scene &t) {
             t.doc.editDrawAttribute().lineColor = 0x00123456;
             t.At(t.circle).lineColor = 0x00123456;
             t.doc.AttributesEdited();
         },
         [](Scene &t) { t.doc.Select(t.circle); }},
        {"label mode",
         [](Scene &t) {
             t.doc.editDrawAttribute().labelMode = LabelMode::ItemNumberOnly;
             t.At(t.distance).labelBox.bottom = -1;
             t.doc.AttributesEdited();
         }},
    };
    for (const StepCase &c : cases) {
        SCOPED_TRACE(c.name);
        Scene scene;
        MeasureDocument &doc = scene.doc;
        c.prepare(scene);
        const Observed before = Observe(doc);
        c.act(scene);
        const Observed after = Observe(doc);
        ASSERT_NE(after, before);
        EXPECT_EQ(doc.history().stack().count(), 1);

        ASSERT_TRUE(doc.Undo());
        EXPECT_EQ(Observe(doc), before);
        EXPECT_FALSE(doc.CanUndo());
        ASSERT_TRUE(doc.Redo());
        EXPECT_EQ(Observe(doc), after);
        EXPECT_FALSE(doc.CanRedo());
        // Back and forth again: the states are kept, not consumed.
        ASSERT_TRUE(doc.Undo());
        EXPECT_EQ(Observe(doc), before);
        ASSERT_TRUE(doc.Redo());
        EXPECT_EQ(Observe(doc), after);
    }
}

TEST(DocumentHistory, WhatChangesNothingIsNoStep)
{
    const std::vector<StepCase> cases = {
        {"renumber a list in step", [](Scene &t) { t.doc.Renumber(); }},
        {"duplicate a gone id", [](Scene &t) { t.doc.Duplicate(kNoItem); }},
        {"remove a gone id", [](Scene &t) { t.doc.Remove(999); }},
        {"list without an edit item", [](Scene &t) { t.doc.ListEditItem(); }},
        {"move a point that is not there", [](Scene &t) { t.doc.MovePoint(t.distance, 5, {1, 1}); }},
        {"move ending where it began",
         [](Scene &t) {
             t.doc.SetEditItem(CloneMeasureItem(t.At(t.circle)));
             t.doc.CommitMove(t.circle, HitStroke, -1);
         }},
        {"calibration said changed", [](Scene &t) { t.doc.CalibrationEdited(); }},
        {"zoom only",
         [](Scene &t) {
             t.doc.editDrawAttribute().zoomText = "300";
             t.doc.AttributesEdited();
         }},
        {"values recomputed unchanged", [](Scene &t) { t.doc.RecomputeAll(); },
         // Drawn: placed labels, which the recomputation marks to measure again.
         [](Scene &t) {
             t.At(t.distance).labelBox = {20, 20, 80, 36};
             t.At(t.perpendicular).subResults.at(0).labelBox = {60, 50, 120, 66};
         }},
        {"selection only",
         [](Scene &t) {
             t.doc.Select(t.circle);
             t.doc.ShowSelectionInRows();
         }},
    };
    for (const StepCase &c : cases) {
        SCOPED_TRACE(c.name);
        Scene scene;
        c.prepare(scene);
        c.act(scene);
        EXPECT_FALSE(scene.doc.CanUndo());
        EXPECT_EQ(scene.doc.history().stack().count(), 0);
    }
}

// A value typed on the Scale page, as the page commits it: one step.
void TypeScaleValue(Scene &t, const char *hValue)
{
    const DocumentStep step(t.doc);
    if (hValue)
        t.doc.editCalibration().setting.hValue = hValue;
    t.doc.RecomputeAll();
    t.doc.CalibrationEdited();
}

TEST(DocumentHistory, LabelBoxesComeBackExactlyAfterCalibrationSteps)
{
    struct Case {
        const char *name;
        std::function<void(Scene &)> act;
    };
    const std::vector<Case> cases = {
        {"a value typed, undone", [](Scene &t) {
             TypeScaleValue(t, "20");
             EXPECT_TRUE(t.doc.Undo());
         }},
        // A key in the field commits it again with nothing changed.
        {"a value typed, committed again, undone", [](Scene &t) {
             TypeScaleValue(t, "20");
             TypeScaleValue(t, nullptr);
             EXPECT_TRUE(t.doc.Undo());
         }},
        {"undone, then committed again unchanged", [](Scene &t) {
             TypeScaleValue(t, "20");
             EXPECT_TRUE(t.doc.Undo());
             TypeScaleValue(t, nullptr);
         }},
        {"undone and redone twice over", [](Scene &t) {
             TypeScaleValue(t, "20");
             for (int i = 0; i < 2; ++i) {
                 EXPECT_TRUE(t.doc.Undo());
                 EXPECT_TRUE(t.doc.Redo());
             }
             EXPECT_TRUE(t.doc.Undo());
         }},
        {"recomputed unchanged", [](Scene &t) { TypeScaleValue(t, nullptr); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Scene t;
        // Placed labels, as drawing them selected leaves them.
        t.At(t.distance).labelBox = {107, 285, 281, 307};
        t.At(t.circle).labelBox = {20, 20, 80, 36};
        t.At(t.perpendicular).labelBox.bottom = 1;
        t.At(t.perpendicular).subResults.at(0).labelBox = {60, 50, 120, 66};
        t.doc.ClearHistory();
        const std::vector<LabelBox> before = test::ListLabelBoxes(t.doc.list());
        const std::string hValue = t.doc.calibration().setting.hValue;
        c.act(t);
        EXPECT_EQ(t.doc.calibration().setting.hValue, hValue);
        EXPECT_EQ(test::ListLabelBoxes(t.doc.list()), before);
    }
}

TEST(DocumentHistory, StepsGoBackAndForthInOrderAndANewStepDropsTheRedoneOnes)
{
    Scene t;
    std::vector<Observed> states{Observe(t.doc)};
    t.doc.Remove(t.distance);
    states.push_back(Observe(t.doc));
    t.doc.MovePoint(t.circle, 1, {260, 200});
    states.push_back(Observe(t.doc));
    t.doc.DeleteAll();
    states.push_back(Observe(t.doc));

    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(t.doc.Undo());
        EXPECT_EQ(Observe(t.doc), states[i - 1]) << i;
    }
    EXPECT_FALSE(t.doc.Undo());
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(t.doc.Redo());
        EXPECT_EQ(Observe(t.doc), states[i]) << i;
    }
    EXPECT_FALSE(t.doc.Redo());

    t.doc.Undo();
    t.doc.Undo();
    t.Add(Item(KindDistance2Points, {{1, 1}, {2, 2}}));
    EXPECT_FALSE(t.doc.CanRedo());
    ASSERT_TRUE(t.doc.Undo());
    // Placing selected the new item first: only the selection differs.
    EXPECT_EQ(Observe(t.doc).items, states[1].items);
    EXPECT_EQ(Observe(t.doc).rows, states[1].rows);
}

TEST(DocumentHistory, UndoneItemsKeepTheirIdsAndNewOnesNeverTakeThem)
{
    Scene t;
    const ItemId removed = t.perpendicular;
    t.doc.Select(removed);
    t.doc.Remove(removed);
    ASSERT_EQ(t.doc.Find(removed), nullptr);
    ASSERT_TRUE(t.doc.Undo());
    ASSERT_NE(t.doc.Find(removed), nullptr);
    EXPECT_EQ(t.doc.selectedId(), removed);
    // Rows point back at the restored item.
    EXPECT_EQ(t.doc.list().FindByRow(t.At(removed).row), &t.At(removed));

    t.doc.DeleteAll();
    const ItemId fresh = t.Add(Item(KindDistance2Points, {{1, 1}, {9, 9}}));
    EXPECT_GT(fresh, t.circle);
    ASSERT_TRUE(t.doc.Undo());
    ASSERT_TRUE(t.doc.Undo());
    EXPECT_EQ(t.doc.list().size(), 3u);
    EXPECT_GT(t.Add(Item(KindDistance2Points, {{1, 1}, {9, 9}})), fresh);
}

TEST(DocumentHistory, WhatHappensAfterAStepBelongsToIt)
{
    Scene t;
    const ItemId placed = t.Add(Item(KindDistance2Points, {{5, 5}, {5, 95}}));
    // A repaint places the new item's label.
    const LabelBox label{8, 40, 60, 56};
    t.At(placed).labelBox = label;
    t.doc.Remove(t.distance);

    ASSERT_TRUE(t.doc.Undo());
    EXPECT_EQ(t.At(placed).labelBox, label);
    ASSERT_TRUE(t.doc.Undo());
    EXPECT_EQ(t.doc.Find(placed), nullptr);
    ASSERT_TRUE(t.doc.Redo());
    EXPECT_EQ(t.At(placed).labelBox, label);
}

TEST(DocumentHistory, NewImageStartsANewHistoryAndItsEmptyListIsNoStep)
{
    Scene t;
    t.doc.Remove(t.distance);
    ASSERT_TRUE(t.doc.CanUndo());
    t.doc.SetImage(QImage(50, 50, QImage::Format_RGB32), ImageOrigin::File);
    EXPECT_FALSE(t.doc.CanUndo());
    // As opening an image does.
    t.doc.DeleteAll();
    EXPECT_FALSE(t.doc.CanUndo());
    t.Add(Item(KindDistance2Points, {{1, 1}, {9, 9}}));
    ASSERT_TRUE(t.doc.Undo());
    EXPECT_TRUE(t.doc.list().empty());
    EXPECT_EQ(t.doc.results().rowCount(), 0);
}

TEST(DocumentHistory, NothingIsUndoneWhileEditingOrWithoutAnImage)
{
    struct Case {
        const char *name;
        std::function<void(Scene &)> block;
    };
    const std::vector<Case> cases = {
        {"an item being dragged",
         [](Scene &t) { t.doc.SetEditItem(CloneMeasureItem(t.At(t.perpendicular))); }},
        {"an item being placed",
         [](Scene &t) { t.doc.BeginEdit(Item(KindDistance2Points, {{1, 1}})); }},
        {"no image", [](Scene &t) { t.doc.DropImage(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Scene t;
        t.doc.Remove(t.circle);
        t.doc.Remove(t.distance);
        t.doc.Undo();
        c.block(t);
        const Observed blocked = Observe(t.doc);
        const bool hadImage = t.doc.hasImage();
        EXPECT_FALSE(t.doc.Undo());
        EXPECT_FALSE(t.doc.Redo());
        EXPECT_EQ(Observe(t.doc), blocked);
        if (hadImage) {
            t.doc.SetEditItem(nullptr);
            EXPECT_TRUE(t.doc.Undo());
        }
    }
}

TEST(DocumentHistory, RestoringSaysEveryChangeOnceAndKeepsTheZoom)
{
    Scene t;
    t.doc.editDrawAttribute().fontSize = 30;
    t.doc.AttributesEdited();
    t.doc.editDrawAttribute().zoomText = "150";
    t.doc.zoom().SetZoom(150, 150);
    t.doc.zoom().SetScroll(QPoint(40, 30));
    int list = 0, calibration = 0, attributes = 0, restored = 0, zoomed = 0;
    QObject::connect(&t.doc.zoom(), &ViewZoom::zoomChanged, [&] { ++zoomed; });
    QObject::connect(&t.doc.zoom(), &ViewZoom::scrollChanged, [&] { ++zoomed; });
    QObject::connect(&t.doc, &MeasureDocument::listChanged, [&] { ++list; });
    QObject::connect(&t.doc, &MeasureDocument::calibrationChanged, [&] { ++calibration; });
    QObject::connect(&t.doc, &MeasureDocument::attributesChanged, [&] { ++attributes; });
    QObject::connect(&t.doc, &MeasureDocument::restored, [&] { ++restored; });
    ASSERT_TRUE(t.doc.Undo());
    EXPECT_EQ(t.doc.drawAttribute().fontSize, DrawAttribute{}.fontSize);
    EXPECT_EQ(t.doc.drawAttribute().zoomText, "150");
    EXPECT_EQ(t.doc.zoom().zoomX(), 150);
    EXPECT_EQ(t.doc.zoom().scroll(), QPoint(40, 30));
    EXPECT_EQ((std::vector<int>{list, calibration, attributes, restored, zoomed}),
              (std::vector<int>{1, 1, 1, 1, 0}));

    // Nothing a listener does while the state comes back is a step (it would
    // drop the step to redo).
    ASSERT_TRUE(t.doc.Redo());
    QObject::connect(&t.doc, &MeasureDocument::restored, [&t] {
        t.doc.list().at(0).number = 7;
        t.doc.Renumber();
    });
    ASSERT_TRUE(t.doc.Undo());
    EXPECT_TRUE(t.doc.CanRedo());
}

TEST(DocumentHistory, KeepsOnlyTheNewest200Steps)
{
    Scene t;
    std::vector<Observed> states{Observe(t.doc)};
    // 205 steps, each moving the circle's rim one pixel further.
    for (int i = 1; i <= 205; ++i) {
        ASSERT_TRUE(t.doc.MovePoint(t.circle, 1, {230 + i, 200}));
        states.push_back(Observe(t.doc));
    }
    int undone = 0;
    while (undone < 1000 && t.doc.Undo())
        ++undone;
    EXPECT_EQ(undone, 200);
    // The five oldest steps are gone: their changes stay.
    EXPECT_EQ(Observe(t.doc), states[5]);
    int redone = 0;
    while (redone < 1000 && t.doc.Redo())
        ++redone;
    EXPECT_EQ(redone, 200);
    EXPECT_EQ(Observe(t.doc), states.back());
}

TEST(DocumentHistory, StepsOpenedInsideAChangedStepFoldIntoIt)
{
    const std::vector<StepCase> cases = {
        {"two removals",
         [](Scene &t) {
             t.doc.Remove(t.distance);
             t.doc.Remove(t.circle);
         }},
        {"an edit in place, then a renumbering",
         [](Scene &t) {
             t.At(t.circle).lineWidth = 4;
             t.At(t.distance).number = 7;
             t.doc.Renumber();
         }},
        {"a removal, then a point move",
         [](Scene &t) {
             t.doc.Remove(t.perpendicular);
             t.doc.MovePoint(t.circle, 1, {250, 200});
         }},
        {"a removal, then the attributes",
         [](Scene &t) {
             t.doc.Remove(t.distance);
             t.doc.editDrawAttribute().lineColor = 0x00654321;
             t.doc.AttributesEdited();
         }},
        {"a duplicate, then a calibration",
         [](Scene &t) {
             t.doc.Duplicate(t.distance);
             t.doc.editCalibration().setting.hPixel = "40";
             t.doc.RecomputeAll();
             t.doc.CalibrationEdited();
         }},
    };
    for (const StepCase &c : cases) {
        SCOPED_TRACE(c.name);
        Scene scene;
        MeasureDocument &doc = scene.doc;
        const Observed before = Observe(doc);
        {
            const DocumentStep outer(doc);
            c.act(scene);
        }
        const Observed after = Observe(doc);
        ASSERT_NE(after, before);
        EXPECT_EQ(doc.history().stack().count(), 1);
        ASSERT_TRUE(doc.Undo());
        EXPECT_EQ(Observe(doc), before);
        EXPECT_FALSE(doc.CanUndo());
        ASSERT_TRUE(doc.Redo());
        EXPECT_EQ(Observe(doc), after);
    }
}

TEST(DocumentState, UnchangedPartsAreSharedWithThePreviousState)
{
    Scene t;
    const DocumentState first = CaptureState(t.doc, nullptr);
    t.At(t.perpendicular).lineWidth = 4;
    const DocumentState second = CaptureState(t.doc, &first);
    ASSERT_EQ(second.items.size(), 3u);
    EXPECT_EQ(second.items[0], first.items[0]);
    EXPECT_NE(second.items[1], first.items[1]);
    EXPECT_EQ(second.items[1]->lineWidth, 4);
    EXPECT_EQ(second.items[2], first.items[2]);
    EXPECT_EQ(second.rows, first.rows);
    EXPECT_EQ(second.calibration, first.calibration);
    EXPECT_FALSE(second.SameAs(first));
    EXPECT_TRUE(CaptureState(t.doc, &second).SameAs(second));
}

}  // namespace
}  // namespace orv

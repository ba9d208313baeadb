// Placing the labels in the document gives, after any sequence of
// operations, the boxes that drawing the list after each of them used to
// write back.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "document/measure_document.h"
#include "drawn_label_boxes.h"

namespace orv {
namespace {

struct Shape {
    MeasureKind kind;
    std::vector<QPoint> points;
};

const std::vector<Shape> kShapes = {
    {KindDistance2Points, {{100, 40}, {260, 40}}},
    {KindPerpendicular, {{20, 300}, {420, 300}, {100, 150}, {200, 180}}},
    {KindParallel, {{20, 300}, {420, 290}, {100, 150}, {200, 180}, {300, 120}}},
    {KindAngle3Points, {{160, 60}, {100, 60}, {100, 120}}},
    {KindAreaCircle, {{200, 300}, {300, 200}, {400, 300}}},
    {KindText, {{40, 40}}},
};

// One document and how it is shown: the selection only on the pages that show it.
struct Session {
    MeasureDocument doc{Language::English, Language::English};
    bool selectionShown = true;

    MeasureDrawOptions Options() const
    {
        MeasureDrawOptions o;
        o.labelMode = doc.labelMode();
        o.faceName = QString::fromStdString(doc.drawAttribute().faceName);
        o.selectedItem = doc.selectedItem();
        o.selectionShown = selectionShown;
        return o;
    }

    void Add(const Shape &shape)
    {
        auto item = NewMeasureItem();
        item->kind = shape.kind;
        item->text = "note";
        for (QPoint q : shape.points)
            AppendPoint(*item, q);
        doc.BeginEdit(std::move(item));
        doc.ListEditItem();
    }

    MeasureItem *At(std::size_t k) const
    {
        return doc.list().size() == 0 ? nullptr : &doc.list().at(k % doc.list().size());
    }
};

using Operation = std::function<void(Session &, std::size_t)>;

void MarkForRemeasure(LabelBox &box)
{
    if (box.bottom != 0)
        box.bottom = -1;
}

// The operations that change what a label's box depends on, each given a
// number that picks an item.
const std::vector<std::pair<const char *, Operation>> &Operations()
{
    static const std::vector<std::pair<const char *, Operation>> ops = {
        {"select", [](Session &s, std::size_t k) { s.doc.SelectItem(s.At(k)); }},
        {"clear selection", [](Session &s, std::size_t) { s.doc.ClearSelection(); }},
        {"other page", [](Session &s, std::size_t k) { s.selectionShown = k % 3 != 0; }},
        {"label mode",
         [](Session &s, std::size_t k) {
             s.doc.editDrawAttribute().labelMode = static_cast<LabelMode>(k % 3);
             s.doc.AttributesEdited();
         }},
        {"attributes of the selected",
         [](Session &s, std::size_t k) {
             MeasureItem *item = s.doc.selectedItem();
             if (!item)
                 return;
             item->lineWidth = 1 + static_cast<int>(k % 4);
             MarkForRemeasure(item->labelBox);
             for (SubResult &sub : item->subResults)
                 MarkForRemeasure(sub.labelBox);
         }},
        {"move a point",
         [](Session &s, std::size_t k) {
             if (MeasureItem *item = s.At(k))
                 s.doc.MovePoint(item->id, static_cast<int>(k % item->points.size()),
                                 item->points[k % item->points.size()].pos + QPoint(7, -5));
         }},
        {"move a label",
         [](Session &s, std::size_t k) {
             MeasureItem *item = s.At(k);
             if (item && item->labelBox.bottom != 0)
                 item->labelBox = {item->labelBox.left + 11, item->labelBox.top + 6, item->labelBox.right + 11, -1};
         }},
        {"duplicate", [](Session &s, std::size_t k) {
             if (MeasureItem *item = s.At(k); item && s.doc.list().size() < 12)
                 s.doc.Duplicate(item->id);
         }},
        {"remove", [](Session &s, std::size_t k) {
             if (MeasureItem *item = s.At(k); item && s.doc.list().size() > 3)
                 s.doc.Remove(item->id);
         }},
        {"recompute", [](Session &s, std::size_t) { s.doc.RecomputeAll(); }},
        {"add", [](Session &s, std::size_t k) {
             if (s.doc.list().size() < 12)
                 s.Add(kShapes[k % kShapes.size()]);
         }},
    };
    return ops;
}

TEST(LabelPlacement, ReplayedOperationsGiveTheBoxesDrawingWroteBack)
{
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        Session drawn;  // the labels placed by drawing after every operation
        Session placed; // the labels placed by the document
        for (Session *s : {&drawn, &placed})
            for (const Shape &shape : kShapes)
                s->Add(shape);
        std::mt19937 rng(seed);
        int changes = 0;
        for (int step = 0; step < 250; ++step) {
            const auto &[what, op] = Operations()[rng() % Operations().size()];
            const std::size_t k = rng();
            SCOPED_TRACE(std::to_string(step) + " " + what);
            op(drawn, k);
            op(placed, k);
            const MeasureDrawOptions drawnOpts = drawn.Options();
            for (const auto &item : drawn.doc.list())
                test::ApplyDrawnLabelBoxes(*item, drawnOpts);
            changes += placed.doc.PlaceLabels(placed.Options());
            ASSERT_EQ(test::ListLabelBoxes(placed.doc.list()), test::ListLabelBoxes(drawn.doc.list()));
            // Placed once, nothing moves until something changes.
            ASSERT_FALSE(placed.doc.PlaceLabels(placed.Options()));
        }
        EXPECT_GT(changes, 10);
    }
}

}  // namespace
}  // namespace orv

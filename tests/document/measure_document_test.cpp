// The document's operations without any widget: the list, its rows and the
// selection stay consistent, and ids that are gone change nothing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "document/measure_document.h"
#include "measure/hit_test.h"

namespace orv {
namespace {

std::unique_ptr<MeasureItem> Distance(QPoint a, QPoint b)
{
    auto item = NewMeasureItem();
    item->kind = KindDistance2Points;
    AppendPoint(*item, a);
    AppendPoint(*item, b);
    return item;
}

class DocumentTest : public ::testing::Test {
protected:
    DocumentTest() : doc(Language::English, Language::English)
    {
        QObject::connect(&doc, &MeasureDocument::selectionChanged, [this] { ++selectionSignals; });
        QObject::connect(&doc, &MeasureDocument::listChanged, [this] { ++listSignals; });
    }

    // Lists a distance the way placing does: as the selected edit item.
    MeasureItem &Add(QPoint a, QPoint b)
    {
        doc.BeginEdit(Distance(a, b));
        return *doc.ListEditItem();
    }
    std::string Cell(int row, int column) const { return doc.results().text(row, column); }
    std::vector<std::string> Numbers() const
    {
        std::vector<std::string> out;
        for (int r = 0; r < doc.results().rowCount(); ++r)
            out.push_back(Cell(r, ColumnNumber));
        return out;
    }

    MeasureDocument doc;
    int selectionSignals = 0;
    int listSignals = 0;
};

TEST_F(DocumentTest, ListedEditItemKeepsTheSelectionAndGetsAFreshId)
{
    MeasureItem &a = Add({0, 0}, {30, 40});
    EXPECT_NE(a.id, kNoItem);
    EXPECT_EQ(doc.selectedItem(), &a);
    EXPECT_EQ(doc.selectedId(), a.id);
    EXPECT_EQ(doc.editItem(), nullptr);
    EXPECT_DOUBLE_EQ(a.value, 50.0);
    EXPECT_EQ(Cell(a.row, ColumnValue), "50.00");

    MeasureItem &b = Add({0, 0}, {10, 0});
    EXPECT_GT(b.id, a.id);
    EXPECT_EQ(doc.selectedItem(), &b);
    EXPECT_EQ(Numbers(), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(listSignals, 2);
}

TEST_F(DocumentTest, GoneIdsChangeNothing)
{
    MeasureItem &a = Add({0, 0}, {10, 0});
    MeasureItem &b = Add({0, 0}, {20, 0});
    const ItemId gone = a.id;
    const ItemId kept = b.id;
    ASSERT_TRUE(doc.Remove(gone));
    // A new item may reuse the freed memory, never the id.
    const ItemId fresh = Add({0, 0}, {30, 0}).id;
    EXPECT_NE(fresh, gone);

    struct Case {
        const char *what;
        std::function<bool()> run;
    };
    const std::vector<Case> cases = {
        {"select", [&] { doc.Select(gone); return doc.selectedItem() != nullptr; }},
        {"remove", [&] { return doc.Remove(gone); }},
        {"move a point", [&] { return doc.MovePoint(gone, 0, {5, 5}); }},
        {"duplicate", [&] { return doc.Duplicate(gone) != nullptr; }},
        {"no id", [&] { return doc.Remove(kNoItem) || doc.Find(kNoItem) != nullptr; }},
    };
    for (const Case &c : cases) {
        doc.Select(kept);
        EXPECT_FALSE(c.run()) << c.what;
        EXPECT_EQ(doc.list().size(), 2u) << c.what;
        EXPECT_EQ(doc.results().rowCount(), 2) << c.what;
        EXPECT_EQ(doc.Find(kept)->value, 20.0) << c.what;
    }
}

TEST_F(DocumentTest, DragEndingOnAGoneSourceDropsTheCopyAndSelectsNothing)
{
    MeasureItem &a = Add({0, 0}, {10, 0});
    const ItemId id = a.id;
    doc.BeginEdit(CloneMeasureItem(a));
    ASSERT_TRUE(doc.editItemSelected());
    doc.DeleteAll();
    for (bool pointDrag : {true, false}) {
        doc.BeginEdit(Distance({0, 0}, {1, 1}));
        if (pointDrag)
            doc.CommitPointDrag(id);
        else
            doc.CommitMove(id, HitStroke, -1);
        EXPECT_EQ(doc.editItem(), nullptr) << pointDrag;
        EXPECT_EQ(doc.selectedItem(), nullptr) << pointDrag;
        EXPECT_TRUE(doc.list().empty()) << pointDrag;
    }
}

TEST_F(DocumentTest, RemovingWhileAnotherIsSelectedKeepsRowsAndIdsInStep)
{
    MeasureItem &a = Add({0, 0}, {10, 0});
    MeasureItem &b = Add({0, 0}, {20, 0});
    MeasureItem &c = Add({0, 0}, {30, 0});
    const ItemId bId = b.id, cId = c.id;
    doc.Select(cId);
    ASSERT_TRUE(doc.Remove(a.id));
    // The item after the removed one is selected, as the list does on deletion.
    EXPECT_EQ(doc.selectedId(), bId);
    EXPECT_EQ(Numbers(), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(doc.Find(bId)->row, 0);
    EXPECT_EQ(doc.Find(cId)->row, 1);
    EXPECT_EQ(doc.Find(cId)->number, 2);
    EXPECT_EQ(Cell(1, ColumnValue), "30.00");

    // Removing the last item selects the one before it.
    ASSERT_TRUE(doc.Remove(cId));
    EXPECT_EQ(doc.selectedId(), bId);
    ASSERT_TRUE(doc.Remove(bId));
    EXPECT_EQ(doc.selectedItem(), nullptr);
    EXPECT_EQ(doc.results().rowCount(), 0);
}

TEST_F(DocumentTest, MovingAPointRecomputesTheValueAndItsRow)
{
    MeasureItem &a = Add({0, 0}, {10, 0});
    MeasureItem &b = Add({0, 0}, {30, 40});
    a.labelBox = {1, 2, 3, 4};
    doc.Select(b.id);
    ASSERT_TRUE(doc.MovePoint(a.id, 1, {0, 20}));
    EXPECT_EQ(a.points[1].pos, QPoint(0, 20));
    EXPECT_DOUBLE_EQ(a.value, 20.0);
    EXPECT_EQ(Cell(a.row, ColumnValue), "20.00");
    EXPECT_EQ(a.labelBox.bottom, 0) << "the label goes back to its anchor";
    EXPECT_EQ(doc.selectedItem(), &a);
    EXPECT_EQ(doc.results().selectedRow(), a.row);
    EXPECT_DOUBLE_EQ(b.value, 50.0);

    EXPECT_FALSE(doc.MovePoint(a.id, 2, {1, 1})) << "no third point";
    EXPECT_FALSE(doc.MovePoint(a.id, -1, {1, 1}));
}

TEST_F(DocumentTest, RecalibratingRewritesEveryValueAndRow)
{
    MeasureItem &a = Add({0, 0}, {10, 0});
    MeasureItem &b = Add({0, 0}, {0, 40});
    int drawn = 0;
    QObject::connect(&doc, &MeasureDocument::calibrationChanged, [&] { ++drawn; });
    ScaleSetting &s = doc.editCalibration().setting;
    s.hPixel = "100";
    s.hValue = "50";
    s.vPixel = "100";
    s.vValue = "25";
    s.unit = "mm";
    doc.CalibrationEdited();
    EXPECT_EQ(drawn, 1);
    EXPECT_DOUBLE_EQ(a.value, 10.0) << "values follow only a recompute";
    doc.RecomputeAll();
    EXPECT_DOUBLE_EQ(a.value, 5.0);
    EXPECT_DOUBLE_EQ(b.value, 10.0);
    for (const MeasureItem *item : {&a, &b}) {
        EXPECT_EQ(Cell(item->row, ColumnUnit), "mm");
        EXPECT_EQ(Cell(item->row, ColumnValue), item == &a ? "5.00" : "10.00");
    }
}

TEST_F(DocumentTest, DuplicateIsListedSelectedAndValued)
{
    MeasureItem &a = Add({0, 0}, {10, 0});
    doc.BeginEdit(Distance({1, 1}, {2, 2}));
    MeasureItem *copy = doc.Duplicate(a.id);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->id, a.id);
    EXPECT_EQ(copy->number, 2);
    EXPECT_EQ(doc.selectedItem(), copy);
    EXPECT_EQ(doc.editItem(), nullptr);
    EXPECT_EQ(Cell(copy->row, ColumnValue), "10.00");
}

TEST_F(DocumentTest, EditItemSelectionEndsWithTheEditItem)
{
    MeasureItem &a = Add({0, 0}, {10, 0});
    const std::uint64_t before = doc.editGeneration();
    doc.BeginEdit(CloneMeasureItem(a));
    EXPECT_EQ(doc.selectedItem(), doc.editItem());
    EXPECT_EQ(doc.selectedId(), kNoItem);
    doc.SetEditItem(Distance({0, 0}, {1, 0}));
    EXPECT_EQ(doc.editGeneration(), before + 2) << "every new edit item counts";
    doc.SetEditItem(nullptr);
    EXPECT_EQ(doc.selectedItem(), nullptr);
    EXPECT_GT(selectionSignals, 0);

    // A listed item selected stays selected when an edit item goes.
    doc.Select(a.id);
    doc.SetEditItem(Distance({0, 0}, {1, 0}));
    doc.SetEditItem(nullptr);
    EXPECT_EQ(doc.selectedItem(), &a);
}

TEST_F(DocumentTest, CameraFrameOriginOutlivesDroppingTheImage)
{
    struct Case {
        ImageOrigin set;
        ImageOrigin afterDrop;
    };
    for (const Case c : {Case{ImageOrigin::File, ImageOrigin::None},
                         Case{ImageOrigin::WirelessFrame, ImageOrigin::None},
                         Case{ImageOrigin::CameraFrame, ImageOrigin::CameraFrame}}) {
        QImage image(4, 3, QImage::Format_RGB32);
        doc.SetImage(image, c.set);
        EXPECT_TRUE(doc.hasImage());
        doc.DropImage();
        EXPECT_FALSE(doc.hasImage());
        EXPECT_EQ(doc.origin(), c.afterDrop);
    }
}

TEST_F(DocumentTest, CopiesFromElsewhereAreListedAsOneStepWithValuesMeasuredHere)
{
    doc.SetImage(QImage(200, 200, QImage::Format_RGB32), ImageOrigin::CameraFrame);
    // Undo puts items back anew: only the id is kept.
    const ItemId first = Add({0, 0}, {10, 0}).id;
    ScaleSetting &s = doc.editCalibration().setting;
    s.hPixel = s.vPixel = "100";
    s.hValue = s.vValue = "50";
    doc.CalibrationEdited();
    doc.RecomputeAll();

    MeasureList elsewhere;
    elsewhere.Append(Distance({0, 0}, {40, 0}));
    elsewhere.Append(Distance({0, 0}, {0, 30}));
    elsewhere.at(0).value = 999.0;  // measured under another calibration
    ASSERT_EQ(doc.AppendCopies(elsewhere), 2);
    ASSERT_EQ(doc.list().size(), 3u);
    EXPECT_EQ(Numbers(), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_DOUBLE_EQ(doc.list().at(1).value, 20.0);
    EXPECT_DOUBLE_EQ(doc.list().at(2).value, 15.0);
    EXPECT_EQ(doc.selectedItem(), nullptr);
    // Copies: the source keeps its items and ids.
    EXPECT_EQ(elsewhere.size(), 2u);
    EXPECT_NE(doc.list().at(1).id, elsewhere.at(0).id);

    ASSERT_TRUE(doc.Undo());
    ASSERT_EQ(doc.list().size(), 1u);
    EXPECT_EQ(doc.list().at(0).id, first);
    EXPECT_EQ(Numbers(), std::vector<std::string>{"1"});
    // Nothing to list makes no step: the redo stays.
    EXPECT_EQ(doc.AppendCopies(MeasureList{}), 0);
    EXPECT_TRUE(doc.CanRedo());
}

}  // namespace
}  // namespace orv

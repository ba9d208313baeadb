#include "export/results_table.h"

#include <gtest/gtest.h>

#include "results_fixture.h"

using namespace orv;
using orv::test::ListItem;

namespace {

std::vector<std::string> NumberColumn(const ResultsTable &t)
{
    std::vector<std::string> out;
    for (const ResultRow &r : t.rows())
        out.push_back(r.columns[ColumnNumber]);
    return out;
}

// Every stored row index points at a row that shows the item's number.
void ExpectRowsInStep(const MeasureList &list, const ResultsTable &t)
{
    int expectedRow = 0;
    for (const auto &item : list) {
        EXPECT_EQ(item->row, expectedRow);
        EXPECT_EQ(t.text(item->row, ColumnNumber), std::to_string(item->number));
        ++expectedRow;
        for (const SubResult &s : item->subResults) {
            if (s.row < 0)
                continue;
            EXPECT_EQ(s.row, expectedRow);
            EXPECT_EQ(t.text(s.row, ColumnValue), s.text);
            ++expectedRow;
        }
    }
    EXPECT_EQ(expectedRow, t.rowCount());
}

// Keeps its own copy of the rows from the notifications alone.
class MirrorListener : public ResultsTableListener {
public:
    explicit MirrorListener(const ResultsTable &t) : table_(t) {}
    void rowsInserted(int first, int last) override
    {
        for (int r = first; r <= last; ++r)
            mirror.insert(mirror.begin() + r, table_.row(r).columns);
    }
    void rowsRemoved(int first, int last) override
    {
        mirror.erase(mirror.begin() + first, mirror.begin() + last + 1);
    }
    void rowChanged(int row) override { mirror[static_cast<std::size_t>(row)] = table_.row(row).columns; }
    void tableReset() override { mirror.clear(); }
    void selectionChanged(int selected, int) override { lastSelected = selected; }

    std::vector<std::array<std::string, kResultColumnCount>> mirror;
    int lastSelected = -2;

private:
    const ResultsTable &table_;
};

}  // namespace

TEST(ResultsTable, RowFormsPerKind)
{
    MeasureList list;
    ResultsTable t(Language::English);
    ListItem(list, t, KindDistance2Points, 12.5, UnitMillimetre);
    MeasureItem &perp = ListItem(list, t, KindPerpendicular, 0, UnitMillimetre, 3);
    ListItem(list, t, KindAreaCircle, 3.25, UnitSquareMicrometre, 2);
    ListItem(list, t, KindDistance2Points, 0.0394, UnitInch);

    EXPECT_EQ(NumberColumn(t),
              (std::vector<std::string>{"1", "2", "2_1", "2_2", "2_3", "3", "3", "3", "4"}));
    const ResultRow &main = t.row(0);
    EXPECT_EQ(main.columns[ColumnMeasurement], "Distance - Between 2 points");
    EXPECT_EQ(main.columns[ColumnValue], "12.50");
    EXPECT_EQ(main.columns[ColumnUnit], "mm");
    EXPECT_EQ(t.text(2, ColumnMeasurement), " - Perpendicular Line");
    EXPECT_EQ(t.text(2, ColumnValue), "1.00mm");
    EXPECT_EQ(t.text(2, ColumnUnit), "");
    EXPECT_EQ(t.text(5, ColumnUnit), "um2");
    EXPECT_EQ(t.text(6, ColumnMeasurement), " * Radius");
    EXPECT_EQ(t.text(6, ColumnUnit), "");
    // An inch value below one: four decimals without the leading zero.
    EXPECT_EQ(t.text(8, ColumnValue), ".0394");
    EXPECT_EQ(t.text(8, ColumnUnit), "inch");

    EXPECT_EQ(perp.row, 1);
    EXPECT_EQ(perp.subResults[2].row, 4);
    ExpectRowsInStep(list, t);
    // The last row added is the selected and focused one.
    EXPECT_EQ(t.selectedRow(), 8);
    EXPECT_EQ(t.focusedRow(), 8);
}

TEST(ResultsTable, JapaneseTexts)
{
    MeasureList list;
    ResultsTable t(Language::Japanese);
    ListItem(list, t, KindPerpendicular, 0, UnitMicrometre, 1);
    ListItem(list, t, KindAngle3Points, 45, UnitDegree);
    EXPECT_EQ(t.text(0, ColumnMeasurement), "距離-垂線");
    EXPECT_EQ(t.text(0, ColumnUnit), "μm");
    EXPECT_EQ(t.text(1, ColumnMeasurement), "■垂線");
    EXPECT_EQ(t.text(2, ColumnUnit), "°");
    EXPECT_STREQ(ResultColumnTitle(ColumnMeasurement, Language::Japanese), "計測");
    EXPECT_STREQ(ResultColumnTitle(ColumnUnit, Language::English), "Unit");
    EXPECT_EQ(ResultColumnWidth(ColumnMeasurement), 85);
}

TEST(ResultsTable, RemovingAnItemShiftsAndRenumbers)
{
    MeasureList list;
    ResultsTable t(Language::English);
    MirrorListener mirror(t);
    t.setListener(&mirror);
    MeasureItem &first = ListItem(list, t, KindPerpendicular, 0, UnitMillimetre, 2);
    MeasureItem &second = ListItem(list, t, KindPerpendicular, 0, UnitMillimetre, 3);
    MeasureItem &third = ListItem(list, t, KindDistance2Points, 4, UnitMillimetre);

    MeasureItem *next = t.RemoveMeasureRows(list, &first);
    EXPECT_EQ(next, &second);
    EXPECT_EQ(second.number, 1);
    EXPECT_EQ(third.number, 2);
    EXPECT_EQ(NumberColumn(t), (std::vector<std::string>{"1", "1_1", "1_2", "1_3", "2"}));
    ExpectRowsInStep(list, t);
    // The item to select next has its main row selected again.
    EXPECT_EQ(t.selectedRow(), second.row);

    // Removing the last item selects the first; the list keeps its order.
    EXPECT_EQ(t.RemoveMeasureRows(list, &third), &second);
    ExpectRowsInStep(list, t);
    EXPECT_EQ(t.RemoveMeasureRows(list, &second), nullptr);
    EXPECT_EQ(t.rowCount(), 0);
    EXPECT_EQ(t.selectedRow(), -1);
    EXPECT_EQ(t.RemoveMeasureRows(list, nullptr), nullptr);

    EXPECT_TRUE(mirror.mirror.empty());
    EXPECT_EQ(mirror.lastSelected, -1);
}

TEST(ResultsTable, RemovingOneSubResultRow)
{
    MeasureList list;
    ResultsTable t(Language::English);
    MirrorListener mirror(t);
    t.setListener(&mirror);
    ListItem(list, t, KindDistance2Points, 1, UnitMillimetre);
    MeasureItem &perp = ListItem(list, t, KindParallel, 0, UnitMillimetre, 3);
    MeasureItem &after = ListItem(list, t, KindAreaCircle, 2, UnitSquareMillimetre, 1);

    // A main row is not a sub-result row.
    EXPECT_FALSE(t.RemoveSubResultRow(list, perp.row));
    EXPECT_FALSE(t.RemoveSubResultRow(list, 99));

    const int removed = perp.subResults[1].row;
    ASSERT_TRUE(t.RemoveSubResultRow(list, removed));
    EXPECT_EQ(perp.subResults[1].row, -1);
    EXPECT_EQ(perp.subResults[1].text, "2.00mm");  // kept, only unlisted
    // The gap stays in the numbering: k counts every sub-result.
    EXPECT_EQ(NumberColumn(t), (std::vector<std::string>{"1", "2", "2_1", "2_3", "3", "3"}));
    EXPECT_EQ(after.row, 4);
    EXPECT_EQ(after.subResults[0].row, 5);
    ExpectRowsInStep(list, t);
    EXPECT_EQ(t.selectedRow(), -1);

    // A calibration change rewrites the rows in the same form.
    perp.subResults[2].text = "7.50mm";
    t.RefreshMeasureRows(perp);
    EXPECT_EQ(t.text(3, ColumnNumber), "2_3");
    EXPECT_EQ(t.text(3, ColumnValue), "7.50mm");

    // The item now has two listed rows plus its main row.
    ListItem(list, t, KindDistance2Points, 1, UnitMillimetre);
    EXPECT_EQ(t.RemoveMeasureRows(list, &perp), &after);
    EXPECT_EQ(NumberColumn(t), (std::vector<std::string>{"1", "2", "2", "3"}));
    ExpectRowsInStep(list, t);

    EXPECT_EQ(mirror.mirror.size(), static_cast<std::size_t>(t.rowCount()));
    for (int r = 0; r < t.rowCount(); ++r)
        EXPECT_EQ(mirror.mirror[static_cast<std::size_t>(r)], t.row(r).columns);
}

TEST(ResultsTable, RefreshAndSelection)
{
    MeasureList list;
    ResultsTable t(Language::English);
    MeasureItem &a = ListItem(list, t, KindDistance2Points, 1, UnitMillimetre);
    MeasureItem &b = ListItem(list, t, KindDistance2Points, 2, UnitMillimetre);
    EXPECT_EQ(t.selectedRow(), 1);

    // Rewriting a row clears only that row's selection.
    t.SelectRow(a.row);
    t.RefreshMeasureRows(b);
    EXPECT_EQ(t.selectedRow(), a.row);
    a.value = 3;
    t.RefreshMeasureRows(a);
    EXPECT_EQ(t.text(a.row, ColumnValue), "3.00");
    EXPECT_EQ(t.selectedRow(), -1);

    // Renumbering reselects the selected item's main row.
    t.RenumberResults(list, &b);
    EXPECT_EQ(t.selectedRow(), b.row);
    t.RenumberResults(list, nullptr);
    EXPECT_EQ(t.selectedRow(), -1);

    // Indices outside the table change nothing.
    EXPECT_FALSE(t.SetResultRow(5, 1, "x", "y", "z"));
    EXPECT_FALSE(t.SetSubResultRow(-1, 1, 1, "x", "y"));
    EXPECT_FALSE(t.DeleteRow(2));
    t.SelectRow(7);
    EXPECT_EQ(t.selectedRow(), -1);
    EXPECT_EQ(t.rowCount(), 2);

    // Deleting a row above the selection moves the selection with its row.
    t.SelectRow(1);
    EXPECT_TRUE(t.DeleteRow(0));
    EXPECT_EQ(t.selectedRow(), 0);
    EXPECT_TRUE(t.DeleteRow(0));
    EXPECT_EQ(t.selectedRow(), -1);
}

// Only a list whose numbers and number column already read 1..n may skip a
// renumber; each way out of step must be seen.
TEST(ResultsTable, NumberedInOrderSeesEveryWayOutOfStep)
{
    struct Case {
        const char *name;
        void (*spoil)(MeasureList &, ResultsTable &);
        bool inOrder;
    };
    const Case cases[] = {
        {"fresh", [](MeasureList &, ResultsTable &) {}, true},
        {"number gap", [](MeasureList &l, ResultsTable &) { l.at(2).number = 4; }, false},
        {"stale row text",
         [](MeasureList &l, ResultsTable &t) { t.SetResultRow(l.at(1).row, 9, "x", "1.00", "mm"); }, false},
        {"item removed without renumbering", [](MeasureList &l, ResultsTable &) { l.Remove(&l.at(0)); },
         false},
        {"removed through the table",
         [](MeasureList &l, ResultsTable &t) { t.RemoveMeasureRows(l, &l.at(1)); }, true},
        {"sub-result row removed", [](MeasureList &l, ResultsTable &t) { t.RemoveSubResultRow(l, 2); }, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MeasureList list;
        ResultsTable t(Language::English);
        ListItem(list, t, KindDistance2Points, 1, UnitMillimetre);
        ListItem(list, t, KindPerpendicular, 2, UnitMillimetre, 2);
        ListItem(list, t, KindDistance2Points, 3, UnitMillimetre);
        c.spoil(list, t);
        EXPECT_EQ(t.NumberedInOrder(list), c.inOrder);
        // A renumber always brings it back in order.
        t.RenumberResults(list, nullptr);
        EXPECT_TRUE(t.NumberedInOrder(list));
    }
}

TEST(ResultsTable, ClicksOnTheList)
{
    MeasureList list;
    ResultsTable t(Language::English);
    MeasureItem &a = ListItem(list, t, KindDistance2Points, 1, UnitMillimetre);
    MeasureItem &b = ListItem(list, t, KindPerpendicular, 0, UnitMillimetre, 2);

    // Empty space, nothing selected: not handled, selection stays empty.
    t.ClearSelection();
    ListClickResult r = t.OnListClick(list, nullptr);
    EXPECT_FALSE(r.handled);
    EXPECT_EQ(t.selectedRow(), -1);

    // Empty space with a selected item: its main row is selected again.
    r = t.OnListClick(list, &a);
    EXPECT_TRUE(r.handled);
    EXPECT_EQ(r.selectedItem, &a);
    EXPECT_FALSE(r.showAttributes);
    EXPECT_EQ(t.selectedRow(), a.row);

    // A sub-result row selects its item.
    t.SelectRow(b.subResults[1].row);
    r = t.OnListClick(list, &a);
    EXPECT_TRUE(r.handled);
    EXPECT_EQ(r.selectedItem, &b);
    EXPECT_TRUE(r.showAttributes);

    const RowOwner owner = ResultsTable::FindRowOwner(list, b.subResults[1].row);
    EXPECT_EQ(owner.item, &b);
    EXPECT_EQ(owner.subResult, 1);
    EXPECT_EQ(ResultsTable::FindRowOwner(list, a.row).subResult, -1);
    EXPECT_EQ(ResultsTable::FindRowOwner(list, -1).item, nullptr);

    t.ClearSelection();
    t.OnListRightDoubleClick(&b);
    EXPECT_EQ(t.selectedRow(), b.row);

    t.DeleteAllResults(list);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(t.rowCount(), 0);
    EXPECT_EQ(t.selectedRow(), -1);
}

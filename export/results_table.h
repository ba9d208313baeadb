#pragma once
// The results list without widgets: the rows as they are shown (four texts
// each), the single selection, and the row operations that keep the rows and
// the row indices stored in the MeasureList in step. A window shows it through
// an item model that listens to the changes.

#include <array>
#include <string>
#include <vector>

#include "measure/language.h"
#include "measure/measure_item.h"

namespace orv {

enum ResultColumn {
    ColumnNumber = 0,
    ColumnMeasurement = 1,
    ColumnValue = 2,
    ColumnUnit = 3,
    ColumnUncertainty = 4,  // expanded uncertainty (k = 2); shown on request
};
inline constexpr int kResultColumnCount = 5;
inline constexpr int kPlainResultColumnCount = 4;

// Column title in the given display language (UTF-8).
const char *ResultColumnTitle(int column, Language lang);
// Column width in pixels.
int ResultColumnWidth(int column);

struct ResultRow {
    std::array<std::string, kResultColumnCount> columns;  // UTF-8
    bool operator==(const ResultRow &) const = default;
};

// Told about every change of rows and selection. The "about to" calls come
// before the rows change, so an item model can bracket its own notifications.
class ResultsTableListener {
public:
    virtual ~ResultsTableListener() = default;
    virtual void rowsAboutToBeInserted(int /*first*/, int /*last*/) {}
    virtual void rowsInserted(int /*first*/, int /*last*/) {}
    virtual void rowsAboutToBeRemoved(int /*first*/, int /*last*/) {}
    virtual void rowsRemoved(int /*first*/, int /*last*/) {}
    virtual void rowChanged(int /*row*/) {}
    virtual void tableAboutToBeReset() {}
    virtual void tableReset() {}
    // The selected row (-1 none) or the focused row changed.
    virtual void selectionChanged(int /*selectedRow*/, int /*focusedRow*/) {}
};

// What a click on the list leads to.
struct ListClickResult {
    // False: nothing changes and nothing is repainted.
    bool handled = false;
    // The item to make selectedItem (meaningful when handled).
    MeasureItem *selectedItem = nullptr;
    // True when the option page is to show the selected item's draw attributes.
    bool showAttributes = false;
};

// Which item, and which of its lines, a row shows.
struct RowOwner {
    MeasureItem *item = nullptr;
    int subResult = -1;  // index into item->subResults, -1 for the main row
};

class ResultsTable {
public:
    // titleLanguage: the window's display language (column titles, CSV header).
    // textLanguage: the kind-name and unit-suffix tables used for row texts.
    explicit ResultsTable(Language titleLanguage, Language textLanguage);
    explicit ResultsTable(Language lang) : ResultsTable(lang, lang) {}

    ResultsTable(const ResultsTable &) = delete;
    ResultsTable &operator=(const ResultsTable &) = delete;

    // One listener (not owned); nullptr removes it.
    void setListener(ResultsTableListener *listener) { listener_ = listener; }

    Language titleLanguage() const { return titleLanguage_; }
    Language textLanguage() const { return textLanguage_; }

    int rowCount() const { return static_cast<int>(rows_.size()); }
    const ResultRow &row(int index) const { return rows_.at(static_cast<std::size_t>(index)); }
    const std::vector<ResultRow> &rows() const { return rows_; }
    // Empty for an index outside the table.
    std::string text(int row, int column) const;

    // The uncertainty column is kept for every row and shown (listed,
    // exported) only on request.
    bool showUncertainty() const { return showUncertainty_; }
    void SetShowUncertainty(bool show);
    int columnCount() const { return showUncertainty_ ? kResultColumnCount : kPlainResultColumnCount; }

    // Single selection; -1 for none.
    int selectedRow() const { return selected_; }
    int focusedRow() const { return focused_; }
    // Marks the row selected and focused; an index outside the table selects nothing.
    void SelectRow(int row);
    void ClearSelection();

    // Primitive row operations. Appends return the new row's index; appending
    // selects and focuses the new row. Rewrites clear only that row's selection
    // and return false for a row outside the table.
    int AddResultRow(int number, const std::string &kind, const std::string &value,
                     const std::string &unit, const std::string &uncertainty = {});
    int AddSubResultRow(int number, int position, const std::string &kind,
                        const std::string &value, const std::string &uncertainty = {});
    bool SetResultRow(int row, int number, const std::string &kind, const std::string &value,
                      const std::string &unit, const std::string &uncertainty = {});
    bool SetSubResultRow(int row, int number, int position, const std::string &kind,
                         const std::string &value, const std::string &uncertainty = {});
    bool DeleteRow(int row);
    void DeleteAllRows();
    // Every row replaced at once (an earlier state coming back), with its
    // selected and focused rows (-1 none).
    void RestoreRows(std::vector<ResultRow> rows, int selected, int focused);

    // Lists an appended, valued item: its main row, then one row per
    // sub-result ("%d_%d" for perpendicular and parallel items). Stores the
    // row indices in the item and its sub-results.
    void AddMeasureRows(MeasureItem &item);
    // Rewrites the rows of a listed item and of its listed sub-results.
    void RefreshMeasureRows(const MeasureItem &item);
    // Numbers the items 1..n in list order, rewrites their rows, and selects the
    // main row of selectedItem when there is one.
    void RenumberResults(MeasureList &list, const MeasureItem *selectedItem);
    // True when every item already has number 1..n in list order and its main
    // row shows that number, so RenumberResults would change nothing.
    bool NumberedInOrder(const MeasureList &list) const;
    // Deletes the item's rows, removes the item from the list (shifting the
    // stored rows of the following items) and renumbers. Returns the item to
    // select next (nullptr when the list became empty or the item is not in it).
    MeasureItem *RemoveMeasureRows(MeasureList &list, const MeasureItem *item);
    // Deletes the row of one sub-result: the sub-result stays with its text but
    // is no longer listed, the rows below move up by one, and the items are
    // renumbered with nothing selected. False when the row is not a listed
    // sub-result row of an item in the list.
    bool RemoveSubResultRow(MeasureList &list, int row);
    // Frees every measurement and deletes every row.
    void DeleteAllResults(MeasureList &list);

    // The item and line a row shows; item nullptr for no match.
    static RowOwner FindRowOwner(const MeasureList &list, int row);

    // Click on the list: reads the selected row. With no row selected, the
    // selected item's main row is selected again; with no item either, the
    // click is not handled.
    ListClickResult OnListClick(const MeasureList &list, MeasureItem *selectedItem);
    // Right double click: the selected item's main row is selected again.
    void OnListRightDoubleClick(const MeasureItem *selectedItem);

private:
    void writeRow(int row, ResultRow &&content);
    int appendRow(ResultRow &&content);
    void setSelection(int selected, int focused);
    std::string kindName(std::uint32_t kind) const;
    std::string valueText(const MeasureItem &item) const;
    std::string unitText(const MeasureItem &item) const;

    Language titleLanguage_;
    Language textLanguage_;
    std::vector<ResultRow> rows_;
    int selected_ = -1;
    int focused_ = -1;
    bool showUncertainty_ = false;
    ResultsTableListener *listener_ = nullptr;
};

}  // namespace orv

#include "export/results_table.h"

#include <algorithm>

#include "measure/derive.h"
#include "measure/uncertainty.h"
#include "measure/units.h"

namespace orv {

namespace {

struct ColumnSpec {
    int width;
    const char *english;
    const char *japanese;
};

constexpr std::array<ColumnSpec, kResultColumnCount> kColumns = {{
    {30, "No.", "No."},
    {85, "Measurement", "計測"},
    {50, "Value", "値"},
    {40, "Unit", "単位"},
    {60, "\u00B1 (k=2)", "\u00B1 (k=2)"},
}};

bool HasSubRowForm(std::uint32_t kind)
{
    return kind == KindPerpendicular || kind == KindParallel;
}

std::string NumberText(int number)
{
    return std::to_string(number);
}

std::string SubNumberText(int number, int position)
{
    return std::to_string(number) + "_" + std::to_string(position);
}

}  // namespace

const char *ResultColumnTitle(int column, Language lang)
{
    if (column < 0 || column >= kResultColumnCount)
        return "";
    const ColumnSpec &c = kColumns[static_cast<std::size_t>(column)];
    return lang == Language::English ? c.english : c.japanese;
}

int ResultColumnWidth(int column)
{
    if (column < 0 || column >= kResultColumnCount)
        return 0;
    return kColumns[static_cast<std::size_t>(column)].width;
}

ResultsTable::ResultsTable(Language titleLanguage, Language textLanguage)
    : titleLanguage_(titleLanguage), textLanguage_(textLanguage)
{
}

std::string ResultsTable::text(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= kResultColumnCount)
        return {};
    return rows_[static_cast<std::size_t>(row)].columns[static_cast<std::size_t>(column)];
}

std::string ResultsTable::kindName(std::uint32_t kind) const
{
    return KindName(kind, textLanguage_);
}

void ResultsTable::setSelection(int selected, int focused)
{
    if (selected == selected_ && focused == focused_)
        return;
    selected_ = selected;
    focused_ = focused;
    if (listener_)
        listener_->selectionChanged(selected_, focused_);
}

void ResultsTable::SelectRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    setSelection(row, row);
}

void ResultsTable::ClearSelection()
{
    setSelection(-1, focused_);
}

int ResultsTable::appendRow(ResultRow &&content)
{
    const int index = rowCount();
    if (listener_)
        listener_->rowsAboutToBeInserted(index, index);
    rows_.push_back(std::move(content));
    if (listener_)
        listener_->rowsInserted(index, index);
    setSelection(index, index);
    return index;
}

void ResultsTable::writeRow(int row, ResultRow &&content)
{
    rows_[static_cast<std::size_t>(row)] = std::move(content);
    if (listener_)
        listener_->rowChanged(row);
    if (selected_ == row)
        setSelection(-1, focused_);
}

int ResultsTable::AddResultRow(int number, const std::string &kind, const std::string &value,
                               const std::string &unit, const std::string &uncertainty)
{
    return appendRow(ResultRow{{NumberText(number), kind, value, unit, uncertainty}});
}

int ResultsTable::AddSubResultRow(int number, int position, const std::string &kind,
                                  const std::string &value, const std::string &uncertainty)
{
    return appendRow(ResultRow{{SubNumberText(number, position), kind, value, std::string(), uncertainty}});
}

bool ResultsTable::SetResultRow(int row, int number, const std::string &kind,
                                const std::string &value, const std::string &unit,
                                const std::string &uncertainty)
{
    if (row < 0 || row >= rowCount())
        return false;
    writeRow(row, ResultRow{{NumberText(number), kind, value, unit, uncertainty}});
    return true;
}

bool ResultsTable::SetSubResultRow(int row, int number, int position, const std::string &kind,
                                   const std::string &value, const std::string &uncertainty)
{
    if (row < 0 || row >= rowCount())
        return false;
    writeRow(row, ResultRow{{SubNumberText(number, position), kind, value, std::string(), uncertainty}});
    return true;
}

void ResultsTable::SetShowUncertainty(bool show)
{
    if (show == showUncertainty_)
        return;
    if (listener_)
        listener_->tableAboutToBeReset();
    showUncertainty_ = show;
    if (listener_)
        listener_->tableReset();
}

bool ResultsTable::DeleteRow(int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    if (listener_)
        listener_->rowsAboutToBeRemoved(row, row);
    rows_.erase(rows_.begin() + row);
    if (listener_)
        listener_->rowsRemoved(row, row);
    auto shifted = [row](int r) { return r == row ? -1 : (r > row ? r - 1 : r); };
    setSelection(shifted(selected_), shifted(focused_));
    return true;
}

void ResultsTable::RestoreRows(std::vector<ResultRow> rows, int selected, int focused)
{
    if (listener_)
        listener_->tableAboutToBeReset();
    rows_ = std::move(rows);
    if (listener_)
        listener_->tableReset();
    const auto inTable = [this](int row) { return row >= 0 && row < rowCount() ? row : -1; };
    setSelection(inTable(selected), inTable(focused));
}

void ResultsTable::DeleteAllRows()
{
    if (listener_)
        listener_->tableAboutToBeReset();
    rows_.clear();
    if (listener_)
        listener_->tableReset();
    setSelection(-1, -1);
}

// An item without a value (parallel lines of an angle) shows neither a number
// nor a unit, rather than 0.00 in whatever unit it last had.
std::string ResultsTable::valueText(const MeasureItem &item) const
{
    return HasMeasureValue(item) ? FormatMeasureValue(item.value, item.unit) : std::string();
}

std::string ResultsTable::unitText(const MeasureItem &item) const
{
    return HasMeasureValue(item) ? std::string(UnitSuffix(item.unit, textLanguage_)) : std::string();
}

// U = k u in the value's unit; nothing where no number is shown (the main
// row of a perpendicular or parallel item holds no distance of its own).
void ResultsTable::AddMeasureRows(MeasureItem &item)
{
    item.row = AddResultRow(item.number, kindName(item.kind), valueText(item), unitText(item),
                            ExpandedUncertaintyText(item));
    const bool subForm = HasSubRowForm(item.kind);
    int k = 1;
    for (SubResult &sub : item.subResults) {
        const std::string name = kindName(static_cast<std::uint32_t>(sub.kind));
        const std::string u = ExpandedUncertaintyText(item, sub);
        sub.row = subForm ? AddSubResultRow(item.number, k, name, sub.text, u)
                          : AddResultRow(item.number, name, sub.text, std::string(), u);
        ++k;
    }
}

void ResultsTable::RefreshMeasureRows(const MeasureItem &item)
{
    SetResultRow(item.row, item.number, kindName(item.kind), valueText(item), unitText(item),
                 ExpandedUncertaintyText(item));
    const bool subForm = HasSubRowForm(item.kind);
    int k = 1;
    for (const SubResult &sub : item.subResults) {
        if (sub.row >= 0) {
            const std::string name = kindName(static_cast<std::uint32_t>(sub.kind));
            const std::string u = ExpandedUncertaintyText(item, sub);
            if (subForm)
                SetSubResultRow(sub.row, item.number, k, name, sub.text, u);
            else
                SetResultRow(sub.row, item.number, name, sub.text, std::string(), u);
        }
        ++k;  // counts unlisted sub-results too, so "_k" keeps its gap
    }
}

void ResultsTable::RenumberResults(MeasureList &list, const MeasureItem *selectedItem)
{
    int n = 1;
    for (const auto &item : list) {
        item->number = n++;
        RefreshMeasureRows(*item);
    }
    if (selectedItem && list.Contains(selectedItem))
        SelectRow(selectedItem->row);
}

bool ResultsTable::NumberedInOrder(const MeasureList &list) const
{
    int n = 1;
    for (const auto &item : list) {
        if (item->number != n || (item->row >= 0 && text(item->row, ColumnNumber) != NumberText(n)))
            return false;
        ++n;
    }
    return true;
}

MeasureItem *ResultsTable::RemoveMeasureRows(MeasureList &list, const MeasureItem *item)
{
    if (!item || !list.Contains(item))
        return nullptr;
    std::vector<int> doomed;
    for (const SubResult &sub : item->subResults)
        if (sub.row >= 0)
            doomed.push_back(sub.row);
    doomed.push_back(item->row);
    // Highest first keeps the lower indices valid.
    std::sort(doomed.begin(), doomed.end(), std::greater<>());
    doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
    for (int r : doomed)
        DeleteRow(r);
    MeasureItem *next = list.Remove(item);
    RenumberResults(list, next);
    return next;
}

bool ResultsTable::RemoveSubResultRow(MeasureList &list, int row)
{
    const RowOwner owner = FindRowOwner(list, row);
    if (!owner.item || owner.subResult < 0)
        return false;
    DeleteRow(row);
    owner.item->subResults[static_cast<std::size_t>(owner.subResult)].row = -1;
    for (const auto &item : list) {
        if (item->row > row)
            --item->row;
        for (SubResult &sub : item->subResults)
            if (sub.row > row)
                --sub.row;
    }
    RenumberResults(list, nullptr);
    return true;
}

void ResultsTable::DeleteAllResults(MeasureList &list)
{
    list.Clear();
    DeleteAllRows();
}

RowOwner ResultsTable::FindRowOwner(const MeasureList &list, int row)
{
    if (row < 0)
        return {};
    MeasureItem *item = list.FindByRow(row);
    if (!item)
        return {};
    if (item->row == row)
        return {item, -1};
    for (std::size_t i = 0; i < item->subResults.size(); ++i)
        if (item->subResults[i].row == row)
            return {item, static_cast<int>(i)};
    return {};
}

ListClickResult ResultsTable::OnListClick(const MeasureList &list, MeasureItem *selectedItem)
{
    if (selected_ < 0) {
        if (!selectedItem)
            return {};
        SelectRow(selectedItem->row);
        return {true, selectedItem, false};
    }
    MeasureItem *item = list.FindByRow(selected_);
    return {true, item, item != nullptr};
}

void ResultsTable::OnListRightDoubleClick(const MeasureItem *selectedItem)
{
    if (selectedItem)
        SelectRow(selectedItem->row);
}

}  // namespace orv

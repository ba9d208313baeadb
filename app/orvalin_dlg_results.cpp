// Main window: the results list's operations and notifications, CSV export.
#include "app/orvalin_dlg.h"

#include "export/csv_export.h"
#include "app/file_filter.h"
#include "export/image_file.h"
#include "app/page_bridge.h"
#include "export/results_table.h"
#include "app/results_view.h"
#include "app/save_failure.h"
#include "app/ui_prompter.h"

namespace orv {

void COrvalinDlg::AddMeasureRows(MeasureItem &item)
{
    results_->AddMeasureRows(item);
}

void COrvalinDlg::RefreshMeasureRows(const MeasureItem &item)
{
    results_->RefreshMeasureRows(item);
}

void COrvalinDlg::RenumberResults()
{
    results_->RenumberResults(measureList(), selectedItem_);
    RebuildView();
}

void COrvalinDlg::RemoveMeasureRows(MeasureItem *item)
{
    if (!item)
        return;
    MeasureItem *next = results_->RemoveMeasureRows(measureList(), item);
    selectedItem_ = next;
    ShowRecordAttributes(next);
    editItem_.reset();
    RenumberResults();
}

void COrvalinDlg::SelectItemRow(const MeasureItem *item)
{
    if (item)
        results_->SelectRow(item->row);
}

void COrvalinDlg::DeleteAllResults()
{
    if (!AskYesNo(QStringLiteral("Delete All Data ?"),
                  QStringLiteral(" 計測データを全て削除しますか？")))
        return;
    ToolSelect();
    resultsView_->setEnabled(false);
    results_->DeleteAllResults(measureList());
    selectedItem_ = nullptr;
    editItem_.reset();
    RebuildView();
    update();
    resultsView_->setEnabled(true);
    ToolSelect();
}

void COrvalinDlg::SaveResultsCsv()
{
    QString path = prompter().saveFile(this, QString(), QString(),
                                        QtFileFilter(QLatin1String(kCsvFileFilter)));
    if (!path.isEmpty()) {
        path = WithDefaultExtension(path, QLatin1String(kCsvDefaultExtension));
        QString reason;
        if (!orv::SaveResultsCsv(path, *results_, &reason)) {
            const QString lead = language_ == Language::English
                                     ? QStringLiteral("The CSV file could not be saved.")
                                     : QStringLiteral("CSVファイルを保存できませんでした。");
            prompter().message(this, SaveFailureText(lead, path, reason), windowTitle(),
                               UiPrompter::Buttons::Ok, UiPrompter::Icon::Warning);
        }
    }
    ToolSelect();
}

void COrvalinDlg::OnListClick()
{
    const ListClickResult r = results_->OnListClick(measureList(), selectedItem_);
    if (!r.handled)
        return;
    selectedItem_ = r.selectedItem;
    if (r.showAttributes)
        ShowRecordAttributes(selectedItem_);
    ToolSelect();
    RebuildView();
    ToolSelect();
}

void COrvalinDlg::OnListRightDoubleClick()
{
    results_->OnListRightDoubleClick(selectedItem_);
}

void COrvalinDlg::OnListDoubleClick()
{
    resultsView_->setEnabled(false);
    MeasureList &list = measureList();
    selectedItem_ = list.FindByRow(results_->selectedRow());
    ShowRecordAttributes(selectedItem_);
    if (selectedItem_) {
        std::unique_ptr<MeasureItem> clone = CloneMeasureItem(*selectedItem_);
        MeasureItem *copy = clone.get();
        copy->number = list.Append(std::move(clone));
        page_bridge::ComputeMeasureValue(*this, *copy);
        results_->AddMeasureRows(*copy);
        selectedItem_ = copy;
        ShowRecordAttributes(copy);
        editItem_.reset();
        dragMode_ = DragIdle;
        RebuildView();
    }
    resultsView_->setEnabled(true);
    ToolSelect();
}

void COrvalinDlg::OnListRightClick()
{
    if (!hasImage())
        return;
    resultsView_->setEnabled(false);
    MeasureList &list = measureList();
    const int row = results_->selectedRow();
    MeasureItem *item = list.FindByRow(row);
    selectedItem_ = item;
    ToolSelect();
    RebuildView();
    if (item && row == item->row) {
        if (AskYesNo(QStringLiteral("Delete this measurement result ?"),
                     QStringLiteral(" この計測アイテムを削除しますか？"))) {
            RemoveMeasureRows(item);
            ToolSelect();
        }
    } else if (item) {
        if (AskYesNo(QStringLiteral("Delete this measurement result ?"),
                     QStringLiteral(" この計測データを削除しますか？"))) {
            results_->RemoveSubResultRow(list, row);
            selectedItem_ = nullptr;
            RenumberResults();
            ToolSelect();
        }
    }
    resultsView_->setEnabled(true);
    ToolSelect();
    SelectItemRow(selectedItem_);
}

}  // namespace orv

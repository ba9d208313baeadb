// Main window: the results list's operations and notifications, CSV export.
#include "app/mainwindow/main_window.h"

#include "app/dialogs/file_filter.h"
#include "app/dialogs/save_failure.h"
#include "app/dialogs/ui_prompter.h"
#include "app/view/results_view.h"
#include "document/measure_document.h"
#include "export/csv_export.h"
#include "export/image_file.h"
#include "export/results_table.h"

namespace orv {

void MainWindow::DeleteAllResults()
{
    if (!AskYesNo(QStringLiteral("Delete All Data ?"), QStringLiteral(" 計測データを全て削除しますか？")))
        return;
    ToolSelect();
    resultsView_->setEnabled(false);
    doc_->DeleteAll();
    RebuildView();
    update();
    resultsView_->setEnabled(true);
    ToolSelect();
}

void MainWindow::SaveResultsCsv()
{
    QString path = prompter().saveFile(this, QString(), QString(), QtFileFilter(QLatin1String(kCsvFileFilter)));
    if (!path.isEmpty()) {
        path = WithDefaultExtension(path, QLatin1String(kCsvDefaultExtension));
        QString reason;
        if (!orv::SaveResultsCsv(path, doc_->results(), &reason)) {
            const QString lead = language_ == Language::English ? QStringLiteral("The CSV file could not be saved.")
                                                                : QStringLiteral("CSVファイルを保存できませんでした。");
            prompter().message(this, SaveFailureText(lead, path, reason), windowTitle(), UiPrompter::Buttons::Ok,
                               UiPrompter::Icon::Warning);
        }
    }
    ToolSelect();
}

void MainWindow::OnListClick()
{
    const ListClickResult r = doc_->results().OnListClick(doc_->list(), doc_->selectedItem());
    if (!r.handled)
        return;
    doc_->SelectItem(r.selectedItem);
    if (r.showAttributes)
        ShowRecordAttributes(doc_->selectedItem());
    ToolSelect();
    RebuildView();
    ToolSelect();
}

void MainWindow::OnListRightDoubleClick()
{
    doc_->results().OnListRightDoubleClick(doc_->selectedItem());
}

void MainWindow::OnListDoubleClick()
{
    resultsView_->setEnabled(false);
    const MeasureItem *source = doc_->list().FindByRow(doc_->results().selectedRow());
    doc_->SelectItem(source);
    ShowRecordAttributes(doc_->selectedItem());
    if (source) {
        MeasureItem *copy = doc_->Duplicate(source->id);
        ShowRecordAttributes(copy);
        interactionView_->setDragMode(DragMode::Idle);
        RebuildView();
    }
    resultsView_->setEnabled(true);
    ToolSelect();
}

void MainWindow::OnListRightClick()
{
    if (!hasImage())
        return;
    resultsView_->setEnabled(false);
    const int row = doc_->results().selectedRow();
    const MeasureItem *item = doc_->list().FindByRow(row);
    doc_->SelectItem(item);
    ToolSelect();
    RebuildView();
    // The questions run their own event loop: only the id is kept across them.
    const ItemId id = item ? item->id : kNoItem;
    if (item && row == item->row) {
        if (AskYesNo(QStringLiteral("Delete this measurement result ?"),
                     QStringLiteral(" この計測アイテムを削除しますか？"))) {
            if (doc_->Remove(id))
                ShowRecordAttributes(doc_->selectedItem());
            RebuildView();
            ToolSelect();
        }
    } else if (item) {
        if (AskYesNo(QStringLiteral("Delete this measurement result ?"),
                     QStringLiteral(" この計測データを削除しますか？"))) {
            // Only while the row still belongs to the same item.
            if (const MeasureItem *owner = doc_->list().FindByRow(row); owner && owner->id == id)
                doc_->RemoveSubResultRow(row);
            RebuildView();
            ToolSelect();
        }
    }
    resultsView_->setEnabled(true);
    ToolSelect();
    doc_->ShowSelectionInRows();
}

}  // namespace orv

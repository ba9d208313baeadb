// Main window: the spreadsheet report (button "Sava Data && Img").
#include "app/orvalin_dlg.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QUrl>

#include "export/image_file.h"
#include "app/image_view.h"
#include "export/report_workbook.h"
#include "document/measure_document.h"
#include "export/results_table.h"
#include "app/ui_prompter.h"

namespace orv {
namespace {

// The wait cursor for as long as the report is made.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// Writes the work file, the workbook beside it, and opens the workbook.
// The work file is gone afterwards; on failure the workbook too.
bool ProduceReport(COrvalinDlg &dlg)
{
    const QString work = dlg.workFilePath();
    struct WorkFileRemover {
        QString path;
        ~WorkFileRemover() { QFile::remove(path); }
    } remover{work};

    if (!dlg.WriteImageFile(work, QStringLiteral("jpg")))
        return false;
    // The picture's own size: the frozen camera frame's marker size says nothing about it.
    const QSize pictureSize = QImageReader(work).size();
    if (!pictureSize.isValid())
        return false;

    ReportInput in;
    in.language = dlg.host().language();
    in.imageSize = dlg.document().origin() == ImageOrigin::CameraFrame ? pictureSize : dlg.host().imageSize();
    in.pictureSize = pictureSize;
    in.scale = dlg.document().calibration().setting;
    in.rows = dlg.document().results().rows();

    QString error;
    const QString saved = SaveReportWorkbook(QFileInfo(work).absolutePath(), QDateTime::currentDateTime(),
                                             BuildReportLayout(in), work, &error);
    if (saved.isEmpty()) {
        qWarning("report not written: %s", qUtf8Printable(error));
        return false;
    }
    if (!dlg.host().prompter().openDocument(QUrl::fromLocalFile(saved))) {
        QFile::remove(saved);
        return false;
    }
    return true;
}

}  // namespace

bool COrvalinDlg::ClearSelectionFirst(DlgCommand command)
{
    if (!doc_->selectedItem())
        return false;
    // The repaint rebuilds the composite without the selection marks and runs
    // the command again.
    doc_->SetEditItem(nullptr);
    doc_->ClearSelection();
    doc_->Renumber();
    RebuildView();
    pendingCommand_ = command;
    PostPending();
    return true;
}

void COrvalinDlg::OnReport()
{
    if (ClearSelectionFirst(DlgCommand::Report))
        return;
    pendingCommand_ = DlgCommand::None;
    bool ok = false;
    {
        const WaitCursor wait;
        ok = ProduceReport(*this);
    }
    if (!ok) {
        const QString text = language_ == Language::English ? QStringLiteral("Could not open Excel file.")
                                                             : QStringLiteral("Excelの起動に失敗しました。");
        prompter().message(this, text, windowTitle(), UiPrompter::Buttons::Ok,
                           UiPrompter::Icon::Warning);
    }
    ToolSelect();
}

}  // namespace orv

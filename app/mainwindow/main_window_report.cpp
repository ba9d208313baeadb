// Main window: the spreadsheet report (button "Save Data && Img").
#include "app/orvalin_dlg.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QStandardPaths>
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

// How a report went: the workbook's path once written; opened when an
// application took it.
struct ReportOutcome {
    QString workbook;
    bool opened = false;
};

// Writes the work file, then the workbook into the report folder, and opens
// the workbook. The work file is gone afterwards; the workbook stays, opened
// or not.
ReportOutcome ProduceReport(COrvalinDlg &dlg)
{
    const QString work = dlg.workFilePath();
    struct WorkFileRemover {
        QString path;
        ~WorkFileRemover() { QFile::remove(path); }
    } remover{work};

    ReportOutcome out;
    if (!dlg.WriteImageFile(work, QStringLiteral("jpg")))
        return out;
    // The picture's own size: the frozen camera frame's marker size says nothing about it.
    const QSize pictureSize = QImageReader(work).size();
    if (!pictureSize.isValid())
        return out;

    ReportInput in;
    in.language = dlg.host().language();
    in.imageSize = dlg.document().origin() == ImageOrigin::CameraFrame ? pictureSize : dlg.host().imageSize();
    in.pictureSize = pictureSize;
    in.scale = dlg.document().calibration().setting;
    in.rows = dlg.document().results().rows();

    QString error;
    out.workbook = SaveReportWorkbook(dlg.reportDir(), QDateTime::currentDateTime(), BuildReportLayout(in),
                                      work, &error);
    if (out.workbook.isEmpty()) {
        qWarning("report not written: %s", qUtf8Printable(error));
        return out;
    }
    out.opened = dlg.host().prompter().openDocument(QUrl::fromLocalFile(out.workbook));
    return out;
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
    ReportOutcome outcome;
    {
        const WaitCursor wait;
        outcome = ProduceReport(*this);
    }
    const bool english = language_ == Language::English;
    QString text;
    if (outcome.workbook.isEmpty()) {
        text = english ? QStringLiteral("Could not open Excel file.") : QStringLiteral("Excelの起動に失敗しました。");
    } else if (!outcome.opened) {
        // Kept where the user can find it: nothing else would tell where it went.
        text = (english ? QStringLiteral("The report was saved but could not be opened.\nSaved as: %1")
                        : QStringLiteral("レポートを保存しましたが、開けませんでした。\n保存先: %1"))
                   .arg(QDir::toNativeSeparators(outcome.workbook));
    }
    if (!text.isEmpty())
        prompter().message(this, text, windowTitle(), UiPrompter::Buttons::Ok, UiPrompter::Icon::Warning);
    ToolSelect();
}

QString COrvalinDlg::reportDir() const
{
    if (env_.reportDir)
        return env_.reportDir();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace orv

// Main window: the spreadsheet report (button "Save Data && Img").
#include "app/mainwindow/main_window.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QStandardPaths>
#include <QUrl>

#include "app/dialogs/ui_prompter.h"
#include "app/view/image_view.h"
#include "document/measure_document.h"
#include "export/image_file.h"
#include "export/report_workbook.h"
#include "export/results_table.h"

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
ReportOutcome ProduceReport(MainWindow &mainWindow)
{
    const QString work = mainWindow.workFilePath();
    struct WorkFileRemover {
        QString path;
        ~WorkFileRemover() { QFile::remove(path); }
    } remover{work};

    ReportOutcome out;
    if (!mainWindow.WriteImageFile(work, QStringLiteral("jpg")))
        return out;
    // The picture's own size: the frozen camera frame's marker size says nothing about it.
    const QSize pictureSize = QImageReader(work).size();
    if (!pictureSize.isValid())
        return out;

    ReportInput in;
    in.language = mainWindow.host().language();
    in.imageSize =
        mainWindow.document().origin() == ImageOrigin::CameraFrame ? pictureSize : mainWindow.host().imageSize();
    in.pictureSize = pictureSize;
    in.scale = mainWindow.document().calibration().setting;
    in.rows = mainWindow.document().results().rows();
    in.showUncertainty = mainWindow.document().results().showUncertainty();

    QString error;
    out.workbook =
        SaveReportWorkbook(mainWindow.reportDir(), QDateTime::currentDateTime(), BuildReportLayout(in), work, &error);
    if (out.workbook.isEmpty()) {
        qWarning("report not written: %s", qUtf8Printable(error));
        return out;
    }
    out.opened = mainWindow.host().prompter().openDocument(QUrl::fromLocalFile(out.workbook));
    return out;
}

}  // namespace

bool MainWindow::ClearSelectionFirst(CommandId command)
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

void MainWindow::OnReport()
{
    if (ClearSelectionFirst(CommandId::Report))
        return;
    pendingCommand_ = CommandId::None;
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

QString MainWindow::reportDir() const
{
    if (env_.reportDir)
        return env_.reportDir();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace orv

// Main window: page switching, commands, the about box and shut-down.
#include "app/mainwindow/main_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>

#include "app/dialogs/ui_prompter.h"
#include "app/mainwindow/discard_question.h"
#include "app/mainwindow/session_guard.h"
#include "app/pages/image/image_page.h"
#include "app/pages/measure/measure_page.h"
#include "app/pages/options/options_page.h"
#include "app/pages/scale/scale_page.h"
#include "app/view/image_view.h"
#include "document/measure_document.h"
#include "export/results_table.h"
#include "view/view_composer.h"

namespace orv {
namespace {

// The Image page shows the control column only, or the column beside the live view.
constexpr int kImagePageHeight = 742;

}  // namespace

void MainWindow::SelectTab(int index)
{
    tabs_->setCurrentIndex(index);
}

void MainWindow::ToolSelect()
{
    if (measurePage_)
        measurePage_->ToolSelect();
}

void MainWindow::RefreshToolButtons()
{
    ToolSelect();
}

void MainWindow::ShowRecordAttributes(MeasureItem *item)
{
    if (optionsPage_ && item)
        optionsPage_->ShowRecordAttributes(item);
}

bool MainWindow::AskYesNo(const QString &english, const QString &japanese)
{
    const QString text = language_ == Language::English ? english : japanese;
    return prompter().message(this, text, windowTitle(), UiPrompter::Buttons::YesNo, UiPrompter::Icon::Question)
        == UiPrompter::Answer::Yes;
}

std::optional<QString> MainWindow::AskText()
{
    return prompter().inputText(this, QString());
}

DragMode MainWindow::dragMode() const
{
    return interactionView_ ? interactionView_->dragMode() : DragMode::Idle;
}

void MainWindow::CommitScaleEdits()
{
    if (scalePage_ && scalePage_->hasPendingEdit())
        scalePage_->CommitScaleEdits();
}

void MainWindow::OnTabChange()
{
    if (dragMode() != DragMode::Idle) {
        const QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(currentTab_);
        return;
    }
    const int next = tabs_->currentIndex();
    const int old = currentTab_;

    if (old == PageImage && next != PageImage) {
        if (imagePage_ && imagePage_->cameraState() != 0) {
            if (imagePage_->cameraState() == 2) {
                LoadImageFile(imagePage_->workFilePath());
                if (hasImage()) {
                    doc_->SetStillCamera(imagePage_->cameraName());
                    imagePage_->CarryLiveMeasurements();
                }
            }
            imagePage_->OpenCamera(-1, liveView_);
        }
        ToolSelect();
    } else if (old != PageImage && next == PageImage) {
        if (hasImage() && !ConfirmGivingUpImage(*this, true)) {
            const QSignalBlocker block(tabs_);
            tabs_->setCurrentIndex(old);
            ToolSelect();
            if (QWidget *page = tabs_->widget(PageMeasure))
                page->update();
            return;
        }
        DiscardImage();
    } else {
        ToolSelect();
    }

    currentTab_ = next;
    if (!composite_.isNull())
        RebuildView();
}

void MainWindow::DiscardImage()
{
    EnablePageControls(false);
    EnableOutputButtons(false);
    if (overview_)
        overview_->hide();
    SetOverviewShown(false);
    doc_->zoom().layout().size = QSize(0, 0);
    view_->hide();
    view_->setGeometry(doc_->zoom().geometry().origin.x(), doc_->zoom().geometry().origin.y(), 0, 0);
    doc_->results().DeleteAllRows();
    // The measurements go with the next image; nothing may point at them meanwhile.
    doc_->SetEditItem(nullptr);
    doc_->ClearSelection();
    composite_ = QImage();
    doc_->DropImage();
    composer_->Invalidate();
    viewState_ = ViewState::NoImage;
    update();
    const bool camera = imagePage_ && imagePage_->defaultCameraIndex() >= 0;
    const int width = columnWidth_ + (camera ? kLiveViewAllowance : 0);
    SetWindowSize(QSize(width, kImagePageHeight));
    if (imagePage_) {
        imagePage_->FillCameraList();
        imagePage_->OpenCamera(imagePage_->defaultCameraIndex(), liveView_);
    }
}

void MainWindow::PostCommand(CommandId id)
{
    emit commandPosted(ToUnderlying(id));
}

void MainWindow::OnCommand(CommandId id)
{
    switch (id) {
    case CommandId::Exit: OnExit(); break;
    case CommandId::Cancel: PostCommand(CommandId::Exit); break;
    case CommandId::Report: OnReport(); break;
    case CommandId::DeleteAll: DeleteAllResults(); break;
    case CommandId::OpenImage: OnOpenImage(); break;
    case CommandId::SaveCsv: SaveResultsCsv(); break;
    case CommandId::SaveImage: OnSaveImage(); break;
    case CommandId::Overview: OnOverviewToggle(); break;
    default: break;
    }
}

void MainWindow::OnOverviewToggle()
{
    overviewShown_ = overviewButton_->isChecked();
    if (overview_)
        overview_->setVisible(overviewShown_);
    viewState_ = hasImage() ? ViewState::Rebuild : ViewState::NoImage;
    update();
    view_->update();
    PostToolSelect();
}

void MainWindow::OnExit()
{
    SessionGuard *guard = SessionGuard::Of(*this);
    if (guard && !guard->ConfirmClose())
        return;
    interactionView_->setDragMode(DragMode::Idle);
    interactionView_->forgetCursor();
    if (scalePage_)
        scalePage_->FreeScaleBars();
    doc_->SetEditItem(nullptr);
    doc_->ClearSelection();
    doc_->results().DeleteAllRows();
    doc_->list().Clear();
    composite_ = QImage();
    doc_->DropImage();
    composer_->Invalidate();
    viewState_ = ViewState::NoImage;
    if (overview_)
        overview_->hide();
    if (guard)
        guard->EndCleanly();
    accept();
}

void MainWindow::reject()
{
    // Closing the window (or Escape reaching the dialog) takes the Exit path.
    PostCommand(CommandId::Exit);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    reject();
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    // Keys never end the dialog nor reach a default button.
    event->accept();
}

void MainWindow::ShowAbout()
{
    prompter().about(this, language_);
}

}  // namespace orv

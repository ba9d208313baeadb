// Main window: page switching, commands, the about box and shut-down.
#include "app/orvalin_dlg.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>

#include "app/discard_question.h"
#include "app/image_tab.h"
#include "app/image_view.h"
#include "app/calib_tab.h"
#include "app/option_tab.h"
#include "document/measure_document.h"
#include "export/results_table.h"
#include "app/tool_tab.h"
#include "app/ui_prompter.h"
#include "app/view_composer.h"

namespace orv {
namespace {

// The Image page shows the control column only, or the column beside the live view.
constexpr int kImagePageHeight = 742;

}  // namespace

void COrvalinDlg::SelectTab(int index)
{
    tabs_->setCurrentIndex(index);
}

void COrvalinDlg::ToolSelect()
{
    if (toolTab_)
        toolTab_->ToolSelect();
}

void COrvalinDlg::RefreshToolButtons()
{
    ToolSelect();
}

void COrvalinDlg::ShowRecordAttributes(MeasureItem *item)
{
    if (optionTab_ && item)
        optionTab_->ShowRecordAttributes(item);
}

bool COrvalinDlg::AskYesNo(const QString &english, const QString &japanese)
{
    const QString text = language_ == Language::English ? english : japanese;
    return prompter().message(this, text, windowTitle(), UiPrompter::Buttons::YesNo,
                              UiPrompter::Icon::Question) == UiPrompter::Answer::Yes;
}

void COrvalinDlg::OnTabChange()
{
    if (dragMode_ != DragMode::Idle) {
        const QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(currentTab_);
        return;
    }
    const int next = tabs_->currentIndex();
    const int old = currentTab_;

    if (old == TabImage && next != TabImage) {
        if (imageTab_ && imageTab_->cameraState() != 0) {
            if (imageTab_->cameraState() == 2)
                LoadImageFile(imageTab_->workFilePath());
            imageTab_->OpenCamera(-1, liveView_);
        }
        ToolSelect();
    } else if (old != TabImage && next == TabImage) {
        if (hasImage() && !ConfirmDiscardingImage(*this)) {
            const QSignalBlocker block(tabs_);
            tabs_->setCurrentIndex(old);
            ToolSelect();
            if (QWidget *page = tabs_->widget(TabMeasure))
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

void COrvalinDlg::DiscardImage()
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
    const bool camera = imageTab_ && imageTab_->defaultCameraIndex() >= 0;
    const int width = columnWidth_ + (camera ? kLiveViewAllowance : 0);
    SetWindowSize(QSize(width, kImagePageHeight));
    if (imageTab_) {
        imageTab_->FillCameraList();
        imageTab_->OpenCamera(imageTab_->defaultCameraIndex(), liveView_);
    }
}

void COrvalinDlg::PostCommand(DlgCommand id)
{
    emit commandPosted(ToUnderlying(id));
}

void COrvalinDlg::OnCommand(DlgCommand id)
{
    switch (id) {
    case DlgCommand::Exit: OnExit(); break;
    case DlgCommand::Cancel: PostCommand(DlgCommand::Exit); break;
    case DlgCommand::Report: OnReport(); break;
    case DlgCommand::DeleteAll: DeleteAllResults(); break;
    case DlgCommand::OpenImage: OnOpenImage(); break;
    case DlgCommand::SaveCsv: SaveResultsCsv(); break;
    case DlgCommand::SaveImage: OnSaveImage(); break;
    case DlgCommand::Overview: OnOverviewToggle(); break;
    default: break;
    }
}

void COrvalinDlg::OnOverviewToggle()
{
    overviewShown_ = overviewButton_->isChecked();
    if (overview_)
        overview_->setVisible(overviewShown_);
    viewState_ = hasImage() ? ViewState::Rebuild : ViewState::NoImage;
    update();
    view_->update();
    PostToolSelect();
}

void COrvalinDlg::OnExit()
{
    dragMode_ = DragMode::Idle;
    cursor_ = Qt::BlankCursor;
    if (calibTab_)
        calibTab_->FreeScaleBars();
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
    accept();
}

void COrvalinDlg::reject()
{
    // Closing the window (or Escape reaching the dialog) takes the Exit path.
    PostCommand(DlgCommand::Exit);
}

void COrvalinDlg::closeEvent(QCloseEvent *event)
{
    event->ignore();
    reject();
}

void COrvalinDlg::keyPressEvent(QKeyEvent *event)
{
    // Keys never end the dialog nor reach a default button.
    event->accept();
}

void COrvalinDlg::ShowAbout()
{
    prompter().about(this, language_);
}

}  // namespace orv

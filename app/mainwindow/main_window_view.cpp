// Main window: painting the view and handing its pointer events on.
#include "app/mainwindow/main_window.h"

#include <QPainter>
#include <QTimer>

#include "app/interaction/pointer_interaction.h"
#include "app/mainwindow/composition_inputs.h"
#include "app/pages/options/options_page.h"
#include "app/view/image_view.h"
#include "app/view/overview_window.h"
#include "document/measure_document.h"
#include "view/view_composer.h"
#include "view/view_layer.h"

namespace orv {
namespace {

const QColor kEmptyViewColor(64, 64, 64);

// View pixels (device pixels) to the window pixels that cover them.
QRect ToWindowRect(const QRect &view, qreal ratio)
{
    return QRectF(view.x() / ratio, view.y() / ratio, view.width() / ratio, view.height() / ratio).toAlignedRect();
}

}  // namespace

void MainWindow::RebuildView()
{
    if (!hasImage())
        return;
    viewState_ = ViewState::Rebuild;
    PostComposition();
    view_->update();
    PostToolSelect();
}

void MainWindow::RebuildEditLayer()
{
    if (!hasImage())
        return;
    // A full rebuild already due covers the edit item too.
    PostToolSelect();
    if (viewState_ == ViewState::Rebuild) {
        view_->update();
        return;
    }
    editLayerPending_ = true;
    // A move is a full paint (overview frame, tool palette), not a scroll.
    viewState_ = ViewState::UpToDate;
    // Composed now, so the view repaints only the pixels that change.
    EnsureComposite();
    for (const QRect &r : composer_->PendingViewRegion(composite_, doc_->zoom().geometry()))
        view_->update(ToWindowRect(r, viewRatio_));
}

void MainWindow::EnsureComposite()
{
    if (!hasImage())
        return;
    const LayerInputs in = CompositionInputs(*this);
    // The labels are placed in the document before the list is drawn. A box
    // that changed after a paint drew the list is drawn anew and shown.
    if (doc_->PlaceLabels(in.measureOptions) && viewState_ != ViewState::Rebuild) {
        editLayerPending_ = true;
        view_->update();
    }
    ComposeDue(in);
}

void MainWindow::ComposeDue(const LayerInputs &in)
{
    const bool full = viewState_ == ViewState::Rebuild;
    if (!full && !editLayerPending_)
        return;
    editLayerPending_ = false;
    // A rebuild redraws only what changed since the last composition (the
    // composer compares every input): selecting, pressing and releasing
    // patch the items they touch.
    const ViewComposer::Composition done = composer_->Recompose(composite_, in, doc_->editItem());
    if (full || done == ViewComposer::Composition::Full)
        if (optionsPage_)
            optionsPage_->RedrawSample();
    viewState_ = ViewState::UpToDate;
}

void MainWindow::PostComposition()
{
    if (compositionPosted_)
        return;
    compositionPosted_ = true;
    // Queued before the view's repaint (which Qt posts at a lower priority),
    // so the paint finds the composite ready.
    QTimer::singleShot(0, this, [this] {
        compositionPosted_ = false;
        EnsureComposite();
    });
}

void MainWindow::UpdateView()
{
    view_->update();
    if (viewState_ != ViewState::ScrollOnly)
        PostToolSelect();
}

void MainWindow::PaintView(QPainter &painter)
{
    const QRect area(QPoint(0, 0), view_->size());
    if (viewState_ == ViewState::NoImage || !hasImage()) {
        painter.fillRect(area, kEmptyViewColor);
        return;
    }
    // Painting reads the document and changes nothing in it: a composition
    // still due is made as it stands, and the queued one places the labels.
    if (viewState_ == ViewState::Rebuild || editLayerPending_) {
        ComposeDue(CompositionInputs(*this));
        PostComposition();
    }
    // Made in device pixels: one picture pixel to one pixel of the screen.
    const QImage &picture = composer_->ViewPicture(composite_, doc_->zoom().geometry());
    const qreal ratio = viewRatio_;
    painter.fillRect(area, kEmptyViewColor);
    if (!picture.isNull())
        painter.drawImage(QRectF(0, 0, picture.width() / ratio, picture.height() / ratio), picture);
    if (viewState_ == ViewState::ScrollOnly)
        return;
    // The overview's picture is rescaled only where the composite changed.
    if (overviewWindow_) {
        const QImage &overview = composer_->OverviewPicture(composite_, overviewWindow_->pictureSize());
        if (overview.cacheKey() != overviewPictureKey_) {
            overviewPictureKey_ = overview.cacheKey();
            overviewWindow_->SetScaledPicture(overview);
        }
        overviewWindow_->UpdateFrame();
    }
    if (IsCalibDrag(dragMode())) {
        painter.setClipRect(area);
        // The overlay draws in view pixels.
        painter.scale(1 / ratio, 1 / ratio);
        pointer_->paintOverlay(painter);
    }
}

void MainWindow::PostPending()
{
    if (pendingCommand_ == CommandId::None || pendingPosted_)
        return;
    pendingPosted_ = true;
    QTimer::singleShot(0, this, [this] {
        pendingPosted_ = false;
        if (pendingCommand_ == CommandId::None)
            return;
        // The composite without the selection marks, before the command reads it.
        EnsureComposite();
        OnCommand(pendingCommand_);
    });
}

void MainWindow::PostToolSelect()
{
    if (toolSelectPosted_)
        return;
    toolSelectPosted_ = true;
    QTimer::singleShot(0, this, [this] {
        toolSelectPosted_ = false;
        ToolSelect();
    });
}

}  // namespace orv

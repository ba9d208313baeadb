#include "app/dlg_interaction_view.h"

#include "app/calib_tab.h"
#include "app/image_view.h"
#include "app/option_tab.h"
#include "app/orvalin_dlg.h"
#include "app/tool_tab.h"
#include "app/ui_prompter.h"

namespace orv {

const ViewGeometry &DlgInteractionView::geometry() const
{
    return dlg_.doc_->zoom().geometry();
}

ViewState DlgInteractionView::viewState() const
{
    return dlg_.viewState_;
}

int DlgInteractionView::currentPage() const
{
    return dlg_.currentTab_;
}

int DlgInteractionView::currentTool() const
{
    return dlg_.toolTab_ ? dlg_.toolTab_->currentTool() : static_cast<int>(KindUndefined);
}

Qt::CursorShape DlgInteractionView::rememberedCursor() const
{
    return dlg_.cursor_;
}

void DlgInteractionView::setRememberedCursor(Qt::CursorShape shape)
{
    dlg_.cursor_ = shape;
    if (shape == Qt::BlankCursor)
        dlg_.view_->unsetCursor();
    else
        dlg_.view_->setCursor(shape);
}

void DlgInteractionView::forgetCursor()
{
    dlg_.cursor_ = Qt::BlankCursor;
}

void DlgInteractionView::rebuild()
{
    dlg_.RebuildView();
}

void DlgInteractionView::rebuildEditLayer()
{
    dlg_.RebuildEditLayer();
}

void DlgInteractionView::repaint()
{
    dlg_.UpdateView();
}

void DlgInteractionView::refreshToolButtons()
{
    dlg_.ToolSelect();
}

DragMode DlgInteractionView::dragMode() const
{
    return dlg_.dragMode_;
}

void DlgInteractionView::setDragMode(DragMode mode)
{
    dlg_.dragMode_ = mode;
}

bool DlgInteractionView::askYesNo(const QString &english, const QString &japanese)
{
    return dlg_.AskYesNo(english, japanese);
}

std::optional<QString> DlgInteractionView::askText()
{
    return dlg_.env_.prompter->inputText(&dlg_, QString());
}

void DlgInteractionView::showAttributes(const MeasureItem &item)
{
    if (dlg_.optionTab_)
        dlg_.optionTab_->ShowRecordAttributes(&item);
}

ScaleBarHit DlgInteractionView::hitScaleBars(QPoint viewPoint)
{
    return dlg_.calibTab_ ? dlg_.calibTab_->HitTestScaleBars(viewPoint) : ScaleBarHit{};
}

void DlgInteractionView::showBarDragLength(int grip, int viewLength)
{
    if (dlg_.calibTab_)
        dlg_.calibTab_->ShowDragLength(grip, viewLength);
}

void DlgInteractionView::endCalibDrag(DragMode mode, QPoint start, int length)
{
    CCalibTab *calib = dlg_.calibTab_;
    if (!calib)
        return;
    switch (mode) {
    case DragMode::StandardScale: calib->MoveStandardScale(start); break;
    case DragMode::HBar: calib->MoveHorizontalBar(start); break;
    case DragMode::VBar: calib->MoveVerticalBar(start); break;
    case DragMode::HBarEnd: calib->EndHorizontalBarDrag(start, length); break;
    case DragMode::VBarEnd: calib->EndVerticalBarDrag(start, length); break;
    default: break;
    }
}

}  // namespace orv

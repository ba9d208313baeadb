#include "app/mainwindow/window_interaction_view.h"

#include "app/dialogs/ui_prompter.h"
#include "app/mainwindow/main_window.h"
#include "app/pages/measure/measure_page.h"
#include "app/pages/options/options_page.h"
#include "app/view/image_view.h"

namespace orv {

const ViewGeometry &WindowInteractionView::geometry() const
{
    return mainWindow_.doc_->zoom().geometry();
}

ViewState WindowInteractionView::viewState() const
{
    return mainWindow_.viewState_;
}

int WindowInteractionView::currentPage() const
{
    return mainWindow_.currentTab_;
}

int WindowInteractionView::currentTool() const
{
    return mainWindow_.measurePage_ ? mainWindow_.measurePage_->currentTool() : static_cast<int>(KindUndefined);
}

Qt::CursorShape WindowInteractionView::rememberedCursor() const
{
    return mainWindow_.cursor_;
}

void WindowInteractionView::setRememberedCursor(Qt::CursorShape shape)
{
    mainWindow_.cursor_ = shape;
    if (shape == Qt::BlankCursor)
        mainWindow_.view_->unsetCursor();
    else
        mainWindow_.view_->setCursor(shape);
}

void WindowInteractionView::forgetCursor()
{
    mainWindow_.cursor_ = Qt::BlankCursor;
}

void WindowInteractionView::rebuild()
{
    mainWindow_.RebuildView();
}

void WindowInteractionView::rebuildEditLayer()
{
    mainWindow_.RebuildEditLayer();
}

void WindowInteractionView::repaint()
{
    mainWindow_.UpdateView();
}

void WindowInteractionView::refreshToolButtons()
{
    mainWindow_.ToolSelect();
}

DragMode WindowInteractionView::dragMode() const
{
    return mainWindow_.dragMode_;
}

void WindowInteractionView::setDragMode(DragMode mode)
{
    mainWindow_.dragMode_ = mode;
}

bool WindowInteractionView::askYesNo(const QString &english, const QString &japanese)
{
    return mainWindow_.AskYesNo(english, japanese);
}

std::optional<QString> WindowInteractionView::askText()
{
    return mainWindow_.env_.prompter->inputText(&mainWindow_, QString());
}

void WindowInteractionView::showAttributes(const MeasureItem &item)
{
    if (mainWindow_.optionsPage_)
        mainWindow_.optionsPage_->ShowRecordAttributes(&item);
}

}  // namespace orv

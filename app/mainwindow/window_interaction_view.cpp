#include "app/mainwindow/window_interaction_view.h"

#include "app/pages/measure/measure_page.h"
#include "app/pages/options/options_page.h"

namespace orv {

WindowInteractionView::WindowInteractionView(InteractionWindow &mainWindow, QWidget *imageView,
                                             MeasurePage *measurePage, OptionsPage *optionsPage) :
    mainWindow_(mainWindow),
    imageView_(imageView),
    measurePage_(measurePage),
    optionsPage_(optionsPage)
{
}

const ViewGeometry &WindowInteractionView::geometry() const
{
    return mainWindow_.view();
}

ViewState WindowInteractionView::viewState() const
{
    return mainWindow_.viewState();
}

int WindowInteractionView::currentPage() const
{
    return mainWindow_.currentTab();
}

int WindowInteractionView::currentTool() const
{
    return measurePage_ ? measurePage_->currentTool() : static_cast<int>(KindUndefined);
}

Qt::CursorShape WindowInteractionView::rememberedCursor() const
{
    return cursor_;
}

void WindowInteractionView::setRememberedCursor(Qt::CursorShape shape)
{
    cursor_ = shape;
    if (!imageView_)
        return;
    if (shape == Qt::BlankCursor)
        imageView_->unsetCursor();
    else
        imageView_->setCursor(shape);
}

void WindowInteractionView::forgetCursor()
{
    cursor_ = Qt::BlankCursor;
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
    mainWindow_.RefreshToolButtons();
}

DragMode WindowInteractionView::dragMode() const
{
    return dragMode_;
}

void WindowInteractionView::setDragMode(DragMode mode)
{
    dragMode_ = mode;
}

bool WindowInteractionView::askYesNo(const QString &english, const QString &japanese)
{
    return mainWindow_.AskYesNo(english, japanese);
}

std::optional<QString> WindowInteractionView::askText()
{
    return mainWindow_.AskText();
}

void WindowInteractionView::showAttributes(const MeasureItem &item)
{
    if (optionsPage_)
        optionsPage_->ShowRecordAttributes(&item);
}

}  // namespace orv

#include "app/pages/image/live_interaction_view.h"

#include "app/dialogs/ui_prompter.h"
#include "app/pages/page_index.h"

namespace orv {

LiveInteractionView::LiveInteractionView(QWidget *widget, UiPrompter &prompter, Hooks hooks) :
    widget_(widget),
    prompter_(prompter),
    hooks_(std::move(hooks))
{
}

void LiveInteractionView::SetFrameSize(QSize size)
{
    geometry_ = ViewGeometry{};
    geometry_.size = size;
    geometry_.imageSize = size;
}

ViewState LiveInteractionView::viewState() const
{
    return geometry_.size.isEmpty() ? ViewState::NoImage : ViewState::UpToDate;
}

int LiveInteractionView::currentPage() const
{
    // The live picture measures with the Measure page's gestures.
    return PageMeasure;
}

int LiveInteractionView::currentTool() const
{
    return hooks_.tool ? hooks_.tool() : static_cast<int>(KindUndefined);
}

void LiveInteractionView::setRememberedCursor(Qt::CursorShape shape)
{
    cursor_ = shape;
    if (!widget_)
        return;
    if (shape == Qt::BlankCursor)
        widget_->unsetCursor();
    else
        widget_->setCursor(shape);
}

void LiveInteractionView::rebuild()
{
    if (hooks_.redraw)
        hooks_.redraw();
}

void LiveInteractionView::rebuildEditLayer()
{
    rebuild();
}

void LiveInteractionView::repaint()
{
    if (widget_)
        widget_->update();
}

bool LiveInteractionView::askYesNo(const QString &english, const QString &japanese)
{
    const bool en = !hooks_.language || hooks_.language() == Language::English;
    return prompter_.message(widget_, en ? english : japanese, QStringLiteral("Orvalin"),
                             UiPrompter::Buttons::YesNo, UiPrompter::Icon::Question)
        == UiPrompter::Answer::Yes;
}

}  // namespace orv

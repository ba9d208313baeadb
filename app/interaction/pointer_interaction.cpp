#include "app/interaction/pointer_interaction.h"

#include "app/interaction/calib_drag_handler.h"
#include "app/interaction/idle_handler.h"
#include "app/interaction/interaction_ops.h"
#include "app/interaction/move_handler.h"
#include "app/interaction/placing_handler.h"
#include "app/interaction/point_drag_handler.h"
#include "app/pages/page_index.h"
#include "document/measure_document.h"

namespace orv {
namespace {

// A drag mode's slot in the handler table; kDragModeCount for a value outside it.
std::size_t HandlerSlot(DragMode mode)
{
    const int i = ToUnderlying(mode);
    return static_cast<std::size_t>(i >= 0 && i < kDragModeCount ? i : kDragModeCount);
}

}  // namespace

PointerInteraction::PointerInteraction(MeasureDocument &doc, InteractionView &view)
    : ctx_{doc, view}
{
    auto state = std::make_shared<PointerState>();
    setHandler(DragMode::Idle, std::make_unique<IdleHandler>(state));
    for (DragMode mode : {DragMode::StandardScale, DragMode::HBarEnd, DragMode::VBarEnd,
                          DragMode::HBar, DragMode::VBar})
        setHandler(mode, std::make_unique<CalibDragHandler>(mode, state));
    setHandler(DragMode::Measure, std::make_unique<MeasureMoveHandler>(state));
    setHandler(DragMode::Point, std::make_unique<PointDragHandler>(state));
    setHandler(DragMode::Placing, std::make_unique<PlacingHandler>(state));
}

PointerInteraction::~PointerInteraction() = default;

void PointerInteraction::setHandler(DragMode mode, std::unique_ptr<ViewPointerHandler> handler)
{
    if (const std::size_t slot = HandlerSlot(mode); slot < handlers_.size())
        handlers_[slot] = std::move(handler);
}

ViewPointerHandler *PointerInteraction::handler(DragMode mode) const
{
    const std::size_t slot = HandlerSlot(mode);
    return slot < handlers_.size() ? handlers_[slot].get() : nullptr;
}

bool PointerInteraction::TakesPointer() const
{
    return ctx_.view.viewState() != ViewState::NoImage && ctx_.doc.hasImage() &&
           ctx_.view.currentPage() != PageImage;
}

void PointerInteraction::press(QPoint pos)
{
    if (!TakesPointer())
        return;
    if (ViewPointerHandler *h = Current())
        h->press(ctx_, pos);
}

void PointerInteraction::move(QPoint pos)
{
    if (ctx_.view.viewState() == ViewState::NoImage || !ctx_.doc.hasImage()) {
        ctx_.view.forgetCursor();
        return;
    }
    if (ctx_.view.currentPage() == PageImage)
        return;
    if (ViewPointerHandler *h = Current())
        h->move(ctx_, pos);
}

void PointerInteraction::release(QPoint pos)
{
    // A drag under way always gets its release, wherever it ends.
    if (ctx_.view.dragMode() == DragMode::Idle && !TakesPointer())
        return;
    if (ViewPointerHandler *h = Current())
        h->release(ctx_, pos);
}

void PointerInteraction::doubleClick(QPoint pos)
{
    if (!TakesPointer())
        return;
    if (ViewPointerHandler *h = Current())
        h->doubleClick(ctx_, pos);
}

void PointerInteraction::rightPress(QPoint pos)
{
    if (!TakesPointer())
        return;
    if (ViewPointerHandler *h = Current())
        h->rightPress(ctx_, pos);
}

void PointerInteraction::leave()
{
    // Outside the view the remembered cursor no longer applies.
    if (ctx_.view.dragMode() == DragMode::Idle)
        ctx_.view.forgetCursor();
}

bool PointerInteraction::canDeleteSelection() const
{
    return TakesPointer() && ctx_.view.dragMode() == DragMode::Idle && interaction::OnMeasurePages(ctx_.view) &&
           ctx_.doc.Find(ctx_.doc.selectedId());
}

bool PointerInteraction::DeleteSelection()
{
    if (!canDeleteSelection())
        return false;
    return interaction::AskAndRemoveItem(ctx_, ctx_.doc.selectedId());
}

void PointerInteraction::paintOverlay(QPainter &painter)
{
    if (!IsCalibDrag(ctx_.view.dragMode()))
        return;
    if (ViewPointerHandler *h = Current())
        h->paintOverlay(ctx_, painter);
}

}  // namespace orv

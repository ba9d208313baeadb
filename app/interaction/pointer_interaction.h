#pragma once
// The pointer interaction of the image view: one handler per DragMode, each
// view event handed to the handler of the current mode. Works on the
// document and the narrow view interface only, so it runs without widgets.

#include <QPoint>

#include <array>
#include <memory>

#include "app/interaction/interaction_view.h"
#include "app/interaction/pointer_handler.h"

class QPainter;

namespace orv {

class MeasureDocument;

class PointerInteraction {
public:
    // Installs the handler of every drag mode.
    PointerInteraction(MeasureDocument &doc, InteractionView &view);
    ~PointerInteraction();
    PointerInteraction(const PointerInteraction &) = delete;
    PointerInteraction &operator=(const PointerInteraction &) = delete;

    InteractionView &view() const { return ctx_.view; }
    DragMode dragMode() const { return ctx_.view.dragMode(); }
    Qt::CursorShape rememberedCursor() const { return ctx_.view.rememberedCursor(); }
    bool hasRememberedCursor() const { return rememberedCursor() != Qt::BlankCursor; }

    void setHandler(DragMode mode, std::unique_ptr<ViewPointerHandler> handler);
    // nullptr for a mode outside the table.
    ViewPointerHandler *handler(DragMode mode) const;

    // The view's events (positions relative to the view origin).
    void press(QPoint pos);
    void move(QPoint pos);
    void release(QPoint pos);
    void doubleClick(QPoint pos);
    void rightPress(QPoint pos);
    void leave();
    // The Delete key: the selected measurement goes as a right click on it
    // deletes it (the same question, one step). Only on the measuring pages
    // with nothing dragged; false when nothing was deleted.
    bool canDeleteSelection() const;
    bool DeleteSelection();
    // During a calibration drag: the provisional bar over the view (view pixels).
    void paintOverlay(QPainter &painter);

private:
    bool TakesPointer() const;
    ViewPointerHandler *Current() const { return handler(ctx_.view.dragMode()); }

    InteractionContext ctx_;
    std::array<std::unique_ptr<ViewPointerHandler>, kDragModeCount> handlers_;
};

}  // namespace orv

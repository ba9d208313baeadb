#pragma once
// What the pointer handlers need of the window around the image view, and
// nothing more: coordinates, the cursor, repaints, the drag mode, questions
// and the page notification an edit ends with. The main window implements
// it; tests give a fake.

#include <QPoint>
#include <QString>

#include <optional>

#include "view/view_state.h"
#include "measure/measure_item.h"

namespace orv {

class MeasureDocument;

class InteractionView {
public:
    virtual ~InteractionView() = default;

    // --- what the view shows -----------------------------------------------------------
    // Zoom, scroll and size of the view: view points to image pixels and back.
    virtual const ViewGeometry &geometry() const = 0;
    virtual ViewState viewState() const = 0;
    // The tab page in front (a PageIndex).
    virtual int currentPage() const = 0;
    // The measurement kind the tool palette has chosen.
    virtual int currentTool() const = 0;

    // --- cursor ----------------------------------------------------------------------------
    // The cursor the last hover chose; Qt::BlankCursor stands for none.
    virtual Qt::CursorShape rememberedCursor() const = 0;
    // Remembers the shape and shows it over the view (BlankCursor: the default).
    virtual void setRememberedCursor(Qt::CursorShape shape) = 0;
    // Forgets the remembered shape; the view keeps showing it.
    virtual void forgetCursor() = 0;

    // --- repaints and the drag ------------------------------------------------------------
    // Everything is composed again (the usual end of a change).
    virtual void rebuild() = 0;
    // Only the edit item changed since the last rebuild.
    virtual void rebuildEditLayer() = 0;
    // A repaint without composing (provisional bars).
    virtual void repaint() = 0;
    // The tool palette shows the current tool again.
    virtual void refreshToolButtons() = 0;
    virtual DragMode dragMode() const = 0;
    virtual void setDragMode(DragMode mode) = 0;

    // --- questions (they may run an event loop of their own) ----------------------------
    // Yes/No in the window's language; true for Yes.
    virtual bool askYesNo(const QString &english, const QString &japanese) = 0;
    // The text of a text measurement; nullopt when cancelled.
    virtual std::optional<QString> askText() = 0;

    // --- page notifications ----------------------------------------------------------------
    // The Option page shows the item's attributes.
    virtual void showAttributes(const MeasureItem &item) = 0;
};

// What every pointer handler works on.
struct InteractionContext {
    MeasureDocument &doc;
    InteractionView &view;
};

}  // namespace orv

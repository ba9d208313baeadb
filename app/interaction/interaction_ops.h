#pragma once
// The few document and view operations every pointer handler uses.

#include <QPoint>
#include <QString>

#include <memory>
#include <string>

#include "app/interaction/interaction_view.h"
#include "app/interaction/pointer_state.h"
#include "view/view_state.h"
#include "document/item_merge.h"
#include "measure/measure_item.h"

namespace orv::interaction {

// True when the view point (relative to the view origin) lies in the view,
// bounds included.
bool InView(const InteractionView &view, QPoint viewPoint);
// The Measure and Option pages edit measurements.
bool OnMeasurePages(const InteractionView &view);
QPoint ViewToImage(const InteractionView &view, QPoint viewPoint);

// The last hit item, when it is still the selected item in the list; nullptr
// when the list changed under it since the hover.
MeasureItem *LiveHitItem(const InteractionContext &ctx, const PointerState &state);

// Removes a listed item and its rows; the next item is selected with its
// attributes shown. An id no longer listed changes nothing.
void RemoveItem(InteractionContext &ctx, ItemId id);
// Asks whether to delete a listed item and removes it on Yes (one step).
// True when it was removed.
bool AskAndRemoveItem(InteractionContext &ctx, ItemId id);

// The Option page shows the item's attributes (nothing for nullptr).
void ShowRecordAttributes(InteractionContext &ctx, const MeasureItem *item);
// Starts a drag on item (a new or cloned record): it becomes the edit item,
// selected, with its attributes on the Option page.
void BeginEditDrag(InteractionContext &ctx, std::unique_ptr<MeasureItem> item, DragMode mode);

// A new measurement of the current tool with the current draw attributes.
std::unique_ptr<MeasureItem> NewItemForCurrentTool(const InteractionContext &ctx);

// Cuts a typed text to the record's 255 bytes without splitting a character.
std::string CutToRecordText(const QString &text);

}  // namespace orv::interaction

#pragma once
// The few main-window and page operations every pointer handler uses.

#include <QPoint>
#include <QString>

#include "document/item_merge.h"
#include "measure/measure_item.h"
#include "app/interaction/pointer_state.h"
#include "app/view_state.h"

namespace orv {

class COrvalinDlg;

namespace interaction {

// True when the view point (relative to the view origin) lies in the view,
// bounds included.
bool InView(const COrvalinDlg &dlg, QPoint viewPoint);
// The Measure and Option pages edit measurements.
bool OnMeasurePages(const COrvalinDlg &dlg);

// The last hit item, when it is still the selected item in the list; nullptr
// when the list changed under it since the hover.
MeasureItem *LiveHitItem(COrvalinDlg &dlg, const PointerState &state);

// Removes a listed item and its rows; the next item is selected with its
// attributes shown. An id no longer listed changes nothing.
void RemoveItem(COrvalinDlg &dlg, ItemId id);

// The source item of a drag (the clone is selected meanwhile), when it is
// still in the list.
MeasureItem *ListedSource(COrvalinDlg &dlg, const PointerState &state);

void ShowRecordAttributes(COrvalinDlg &dlg, MeasureItem *item);
// Starts a drag on item (a new or cloned record): it becomes the edit item,
// selected, with its attributes on the Option page.
void BeginEditDrag(COrvalinDlg &dlg, std::unique_ptr<MeasureItem> item, DragMode mode);
void ToolSelect(COrvalinDlg &dlg);
// A Yes/No question in the main window's language.
bool AskYesNo(COrvalinDlg &dlg, const QString &english, const QString &japanese);

// A new measurement of the current tool with the current draw attributes.
std::unique_ptr<MeasureItem> NewItemForCurrentTool(COrvalinDlg &dlg);

// Cuts a typed text to the record's 255 bytes without splitting a character.
std::string CutToRecordText(const QString &text);

}  // namespace interaction
}  // namespace orv

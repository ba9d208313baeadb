#pragma once
// The few main-window and page operations every pointer handler uses.

#include <QPoint>
#include <QString>

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

// Moves a label box by d. An unplaced box (bottom 0) stays where it is; a box
// waiting to be re-measured (bottom negative) keeps that mark; a placed box
// that would leave the image upwards keeps its place as a box to re-measure.
void ShiftLabelBox(LabelBox &box, QPoint d);

// Cuts a typed text to the record's 255 bytes without splitting a character.
std::string CutToRecordText(const QString &text);

}  // namespace interaction
}  // namespace orv

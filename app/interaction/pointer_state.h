#pragma once
// What the pointer handlers remember between events: the last hit on the
// selected measurement, the point being placed or dragged, and the running
// state of a calibration drag. One instance per main window, shared by its
// handlers.

#include <QPoint>

#include "measure/measure_item.h"

namespace orv {

struct CalibDragState {
    const MeasureItem *bar = nullptr;  // the document's record, not owned
    QPoint press;                      // view pixels
    QPoint position;                   // the bar's view position at the press
    int length = 0;                    // its view length at the press
    QPoint offset;                     // running displacement, after the limits
    int provisional = 0;               // running view length (bar-end drags)
};

struct PointerState {
    // From the last hover over the selected measurement: the listed item's id.
    ItemId hitItem = kNoItem;
    int hitCode = 0;
    int hitSubResult = -1;
    // The index of the point being placed or dragged.
    int index = 0;
    // Last pointer position of a move drag, image pixels.
    QPoint last;
    CalibDragState calib;
};

}  // namespace orv

#pragma once
// One unit of the pointer interaction: the main window hands the view's mouse
// events to the handler of the current DragMode. Positions are relative to the
// view origin.

#include <QPoint>

class QPainter;

namespace orv {

class COrvalinDlg;

class ViewPointerHandler {
public:
    virtual ~ViewPointerHandler() = default;
    virtual void press(COrvalinDlg &, QPoint) {}
    virtual void move(COrvalinDlg &, QPoint) {}
    virtual void release(COrvalinDlg &, QPoint) {}
    virtual void doubleClick(COrvalinDlg &, QPoint) {}
    virtual void rightPress(COrvalinDlg &, QPoint) {}
    // Drawn over the stretched composite, clipped to the view (provisional bars).
    virtual void paintOverlay(COrvalinDlg &, QPainter &) {}
};

}  // namespace orv

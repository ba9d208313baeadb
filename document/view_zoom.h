#pragma once
// The zoom and scroll of the image view, with the view's place and size as
// the window last laid it out. Says when the zoom or the scroll changed so
// the window can lay itself out again and recompose. No widgets.

#include <QObject>
#include <QPoint>

#include "document/view_geometry.h"

namespace orv {

class ViewZoom : public QObject {
    Q_OBJECT

public:
    explicit ViewZoom(QObject *parent = nullptr) : QObject(parent) {}

    const ViewGeometry &geometry() const { return geo_; }
    // The window writes the view's origin, size and image size as it lays
    // the view out; these say nothing.
    ViewGeometry &layout() { return geo_; }

    int zoomX() const { return geo_.zoomX; }
    int zoomY() const { return geo_.zoomY; }
    QPoint scroll() const { return geo_.scroll; }

    // Percent per axis; the scroll goes back to the top left.
    void SetZoom(int zoomX, int zoomY);
    // Offset of the visible part in zoomed pixels.
    void SetScroll(QPoint scroll);

signals:
    void zoomChanged();
    void scrollChanged();

private:
    ViewGeometry geo_;
};

}  // namespace orv

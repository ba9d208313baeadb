#include "document/view_zoom.h"

namespace orv {

void ViewZoom::SetZoom(int zoomX, int zoomY)
{
    geo_.zoomX = zoomX;
    geo_.zoomY = zoomY;
    geo_.scroll = QPoint(0, 0);
    emit zoomChanged();
}

void ViewZoom::SetScroll(QPoint scroll)
{
    geo_.scroll = scroll;
    emit scrollChanged();
}

}  // namespace orv

#include "app/interaction/install_handlers.h"

#include <memory>

#include "app/interaction/calib_drag_handler.h"
#include "app/interaction/idle_handler.h"
#include "app/interaction/move_handler.h"
#include "app/interaction/placing_handler.h"
#include "app/interaction/point_drag_handler.h"
#include "app/orvalin_dlg.h"

namespace orv {

void InstallPointerHandlers(COrvalinDlg &dlg)
{
    auto state = std::make_shared<PointerState>();
    dlg.setPointerHandler(DragIdle, std::make_unique<IdleHandler>(state));
    for (int mode : {DragStandardScale, DragHBarEnd, DragVBarEnd, DragHBar, DragVBar})
        dlg.setPointerHandler(mode, std::make_unique<CalibDragHandler>(mode, state));
    dlg.setPointerHandler(DragMeasure, std::make_unique<MeasureMoveHandler>(state));
    dlg.setPointerHandler(DragPoint, std::make_unique<PointDragHandler>(state));
    dlg.setPointerHandler(DragPlacing, std::make_unique<PlacingHandler>(state));
}

}  // namespace orv

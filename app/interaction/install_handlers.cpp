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
    dlg.setPointerHandler(DragMode::Idle, std::make_unique<IdleHandler>(state));
    for (DragMode mode : {DragMode::StandardScale, DragMode::HBarEnd, DragMode::VBarEnd,
                          DragMode::HBar, DragMode::VBar})
        dlg.setPointerHandler(mode, std::make_unique<CalibDragHandler>(mode, state));
    dlg.setPointerHandler(DragMode::Measure, std::make_unique<MeasureMoveHandler>(state));
    dlg.setPointerHandler(DragMode::Point, std::make_unique<PointDragHandler>(state));
    dlg.setPointerHandler(DragMode::Placing, std::make_unique<PlacingHandler>(state));
}

}  // namespace orv

#pragma once
// The pointer interaction of the image view: one handler per DragMode,
// installed into the main window, which hands each view event to the handler
// of the current mode.

namespace orv {

class COrvalinDlg;

void InstallPointerHandlers(COrvalinDlg &dlg);

}  // namespace orv

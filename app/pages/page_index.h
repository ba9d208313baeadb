#pragma once
// The main window's tab pages, in the order of the tab control.

namespace orv {

enum TabIndex : int { TabImage = 0, TabScale = 1, TabMeasure = 2, TabOption = 3 };

}  // namespace orv

#pragma once
// The main window's tab pages, in the order of the tab control.

namespace orv {

enum PageIndex : int { PageImage = 0, PageScale = 1, PageMeasure = 2, PageOptions = 3 };

}  // namespace orv

#pragma once
// What the main window's composite is drawn from, read from its document and
// its current page (the view's cached layer compares it).

#include "view/view_layer.h"

namespace orv {

class MainWindow;

LayerInputs CompositionInputs(MainWindow &mainWindow);

}  // namespace orv

#pragma once
// The question asked before the image being edited and its measurements are
// given up (going back to the Image page, opening another file).

namespace orv {

class MainWindow;

// Yes: the work may go.
bool ConfirmDiscardingImage(MainWindow &mainWindow);

}  // namespace orv

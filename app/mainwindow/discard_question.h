#pragma once
// The question asked before the image being edited and its measurements are
// given up (going back to the Image page, opening another file).

namespace orv {

class MainWindow;

// Yes: the work may go.
bool ConfirmDiscardingImage(MainWindow &mainWindow);
// Unsaved measurements: Save / Discard / Cancel; otherwise the question
// above when askWhenSaved. True when the image may go.
bool ConfirmGivingUpImage(MainWindow &mainWindow, bool askWhenSaved);

}  // namespace orv

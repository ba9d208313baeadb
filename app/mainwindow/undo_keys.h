#pragma once
// Ctrl+Z undoes the document's last step; Ctrl+Shift+Z and Ctrl+Y redo one.
// The window's key filter (window_keys.h) reads them wherever the focus is.

class QKeyEvent;

namespace orv {

class MainWindow;

enum class UndoKey { None, Undo, Redo };

// Which of the keys an event is (the keypad modifier aside).
UndoKey UndoKeyOf(const QKeyEvent &event);

// Undoes or redoes one step of mainWindow's document as the keys do; false when
// nothing happened.
bool ApplyUndoKey(MainWindow &mainWindow, UndoKey key);

}  // namespace orv

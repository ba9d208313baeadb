#include "app/mainwindow/undo_keys.h"

#include <QKeyEvent>

#include "app/interaction/pointer_interaction.h"
#include "app/mainwindow/main_window.h"
#include "app/pages/page_host.h"
#include "document/measure_document.h"

namespace orv {

UndoKey UndoKeyOf(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    if (event.key() == Qt::Key_Z && mods == Qt::ControlModifier)
        return UndoKey::Undo;
    if (event.key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier))
        return UndoKey::Redo;
    if (event.key() == Qt::Key_Y && mods == Qt::ControlModifier)
        return UndoKey::Redo;
    return UndoKey::None;
}

bool ApplyUndoKey(MainWindow &mainWindow, UndoKey key)
{
    if (key == UndoKey::None || mainWindow.pointer().dragMode() != DragMode::Idle)
        return false;
    // A value typed on the Scale page and not yet taken becomes a step of its
    // own first, so Ctrl+Z takes back what was just typed.
    mainWindow.CommitScaleEdits();
    MeasureDocument &doc = mainWindow.document();
    const bool done = key == UndoKey::Undo ? doc.Undo() : doc.Redo();
    if (done)
        mainWindow.host().RebuildView();
    return done;
}

}  // namespace orv

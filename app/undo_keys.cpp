#include "app/undo_keys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "app/calib_tab.h"
#include "app/interaction/pointer_interaction.h"
#include "app/key_discarder.h"
#include "app/orvalin_dlg.h"
#include "app/page_host.h"
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

UndoKeys::UndoKeys(COrvalinDlg &dlg) : QObject(&dlg), dlg_(dlg)
{
    // Installed after the window's key discarder, so it sees the keys first.
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

UndoKeys::~UndoKeys()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool UndoKeys::Apply(UndoKey key)
{
    if (key == UndoKey::None || dlg_.pointer().dragMode() != DragMode::Idle)
        return false;
    // A value typed on the Scale page and not yet taken becomes a step of its
    // own first, so Ctrl+Z takes back what was just typed.
    if (CCalibTab *calib = dlg_.parts().calibTab; calib && calib->hasPendingEdit())
        calib->CommitScaleEdits();
    MeasureDocument &doc = dlg_.document();
    const bool done = key == UndoKey::Undo ? doc.Undo() : doc.Redo();
    if (done)
        dlg_.host().RebuildView();
    return done;
}

bool UndoKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (!IsKeyEventInside(watched, event, &dlg_))
        return false;
    const QEvent::Type type = event->type();
    const UndoKey key = UndoKeyOf(*static_cast<QKeyEvent *>(event));
    if (key == UndoKey::None)
        return false;
    // The override is refused so no field takes the keys for its own undo.
    if (type == QEvent::KeyPress)
        Apply(key);
    event->accept();
    return true;
}

void InstallUndoKeys(COrvalinDlg &dlg)
{
    new UndoKeys(dlg);
}

}  // namespace orv

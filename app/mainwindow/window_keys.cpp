#include "app/mainwindow/window_keys.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "app/interaction/pointer_interaction.h"
#include "app/mainwindow/main_window.h"
#include "app/mainwindow/undo_keys.h"
#include "app/mainwindow/window_files.h"

namespace orv {

const QWidget *KeyWindowOf(const QWidget *receiver, const MainWindow &mainWindow)
{
    const QWidget *top = receiver ? receiver->window() : nullptr;
    if (!top || top == &mainWindow)
        return top;
    // A modal dialog (a question, a chooser) keeps its keys to itself.
    if (top->isModal())
        return nullptr;
    for (const QWidget *p = top->parentWidget(); p; p = p->parentWidget())
        if (p == &mainWindow)
            return &mainWindow;
    return nullptr;
}

bool EditsText(const QWidget *w)
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(w))
        return !edit->isReadOnly();
    if (const auto *combo = qobject_cast<const QComboBox *>(w))
        return combo->isEditable();
    if (const auto *edit = qobject_cast<const QTextEdit *>(w))
        return !edit->isReadOnly();
    if (const auto *edit = qobject_cast<const QPlainTextEdit *>(w))
        return !edit->isReadOnly();
    return qobject_cast<const QAbstractSpinBox *>(w) != nullptr;
}

WindowKeys::WindowKeys(MainWindow &mainWindow) :
    mainWindow_(mainWindow)
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

WindowKeys::~WindowKeys()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void WindowKeys::exempt(QWidget *widget)
{
    exempt_.append(widget);
}

bool WindowKeys::TakeProgramKey(QWidget *receiver, const QKeyEvent &event, bool press)
{
    if (event.matches(QKeySequence::Save)) {
        if (press && !event.isAutoRepeat())
            if (WindowFiles *files = WindowFiles::Of(mainWindow_))
                files->Save();
        return true;
    }
    // The override check is refused too, so no field takes these for its own undo.
    if (const UndoKey undo = UndoKeyOf(event); undo != UndoKey::None) {
        if (press)
            ApplyUndoKey(mainWindow_, undo);
        return true;
    }
    const bool deleteKey = (event.key() == Qt::Key_Delete || event.key() == Qt::Key_Backspace)
        && (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (deleteKey && !EditsText(receiver) && mainWindow_.pointer().canDeleteSelection()) {
        if (press && !event.isAutoRepeat())
            mainWindow_.pointer().DeleteSelection();
        return true;
    }
    return false;
}

bool WindowKeys::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto *w = qobject_cast<QWidget *>(watched);
    if (KeyWindowOf(w, mainWindow_) != &mainWindow_)
        return false;
    if (TakeProgramKey(w, *static_cast<QKeyEvent *>(event), type == QEvent::KeyPress)) {
        event->accept();
        return true;
    }
    // The overview keeps its own keys (Escape closes it).
    if (w->window() != &mainWindow_)
        return false;
    for (const QPointer<QWidget> &ex : exempt_)
        if (ex && (ex == w || ex->isAncestorOf(w)))
            return false;
    return true;
}

}  // namespace orv

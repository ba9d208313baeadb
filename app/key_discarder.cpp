#include "app/key_discarder.h"

#include <QCoreApplication>
#include <QEvent>

namespace orv {

KeyDiscarder::KeyDiscarder(QWidget *window) : window_(window)
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

KeyDiscarder::~KeyDiscarder()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void KeyDiscarder::exempt(QWidget *widget)
{
    exempt_.append(widget);
}

bool IsKeyEventInside(const QObject *watched, const QEvent *event, const QWidget *window)
{
    const QEvent::Type t = event->type();
    if (t != QEvent::KeyPress && t != QEvent::ShortcutOverride)
        return false;
    const auto *w = qobject_cast<const QWidget *>(watched);
    return w && window && w->window() == window;
}

bool KeyDiscarder::eventFilter(QObject *watched, QEvent *event)
{
    if (!IsKeyEventInside(watched, event, window_))
        return false;
    auto *w = static_cast<QWidget *>(watched);
    for (const QPointer<QWidget> &ex : exempt_)
        if (ex && (ex == w || ex->isAncestorOf(w)))
            return false;
    return true;
}

}  // namespace orv

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

bool KeyDiscarder::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type t = event->type();
    if (t != QEvent::KeyPress && t != QEvent::ShortcutOverride)
        return false;
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || !window_ || w->window() != window_)
        return false;
    for (const QPointer<QWidget> &ex : exempt_)
        if (ex && (ex == w || ex->isAncestorOf(w)))
            return false;
    return true;
}

}  // namespace orv

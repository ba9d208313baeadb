#include "capture/buttons/button_hidden_window.h"

#include "capture/buttons/button_detection_monitor.h"

namespace orv {

bool HiddenButtonWindow::event(QEvent *event)
{
    if (event->type() == ButtonPressedMessage && flag_)
        *flag_ = 1;
    return QObject::event(event);
}

}  // namespace orv

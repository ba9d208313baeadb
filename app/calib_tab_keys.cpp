// The Scale page's keyboard filter: the value fields take numbers only; any
// other key commits what was typed. A mouse press after typing commits too.
#include "app/calib_tab.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace orv {

void CCalibTab::InstallFilters()
{
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

bool CCalibTab::KeyPasses(int key)
{
    // Keypad digits and the keypad point arrive as the same keys with the
    // keypad modifier.
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return true;
    switch (key) {
    case Qt::Key_Period:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return true;
    default:
        return false;
    }
}

bool CCalibTab::FilterKey(QWidget *receiver, int key)
{
    pendingEdit_ = receiver;
    if (KeyPasses(key))
        return false;
    CommitScaleEdits();
    return true;
}

bool CCalibTab::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (FilterKey(qobject_cast<QWidget *>(watched), key->key())) {
            key->accept();
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonPress: {
        const auto button = static_cast<QMouseEvent *>(event)->button();
        if ((button != Qt::LeftButton && button != Qt::RightButton) || !hasPendingEdit())
            return false;
        // A press on a control the commit enables (Save) must not become a click on it.
        auto *widget = qobject_cast<QWidget *>(watched);
        const bool wasEnabled = !widget || widget->isEnabled();
        CommitScaleEdits();
        return !wasEnabled;
    }
    case QEvent::FocusOut: {
        // A context menu over the field or disabling the controls is not leaving it.
        if (enabling_ || static_cast<QFocusEvent *>(event)->reason() == Qt::PopupFocusReason)
            return false;
        if (watched == ui_.hValue)
            OnValueFocusLost(CommitHValue);
        else if (watched == ui_.vValue)
            OnValueFocusLost(CommitVValue);
        return false;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

}  // namespace orv

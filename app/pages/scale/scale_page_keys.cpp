// The Scale page's keyboard filter: the value fields take numbers and the
// usual editing keys only; any other key commits what was typed. A mouse press after typing commits too.
#include "app/pages/scale/scale_page.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMouseEvent>

namespace orv {

void ScalePage::InstallFilters()
{
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

bool ScalePage::KeyPasses(const QKeyEvent &event)
{
    // Keypad digits and the keypad point arrive as the same keys with the
    // keypad modifier.
    const int key = event.key();
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Period || key == Qt::Key_Delete
        || key == Qt::Key_Backspace)
        return true;
    // The usual moving, selecting and clipboard keys of a text field: only
    // characters other than a number's are refused.
    static constexpr QKeySequence::StandardKey kEditing[] = {
        QKeySequence::MoveToNextChar,
        QKeySequence::MoveToPreviousChar,
        QKeySequence::MoveToNextWord,
        QKeySequence::MoveToPreviousWord,
        QKeySequence::MoveToStartOfLine,
        QKeySequence::MoveToEndOfLine,
        QKeySequence::MoveToStartOfBlock,
        QKeySequence::MoveToEndOfBlock,
        QKeySequence::SelectNextChar,
        QKeySequence::SelectPreviousChar,
        QKeySequence::SelectNextWord,
        QKeySequence::SelectPreviousWord,
        QKeySequence::SelectStartOfLine,
        QKeySequence::SelectEndOfLine,
        QKeySequence::SelectStartOfBlock,
        QKeySequence::SelectEndOfBlock,
        QKeySequence::SelectAll,
        QKeySequence::Deselect,
        QKeySequence::Copy,
        QKeySequence::Cut,
        QKeySequence::Paste,
        QKeySequence::DeleteStartOfWord,
        QKeySequence::DeleteEndOfWord,
        QKeySequence::DeleteEndOfLine,
    };
    for (QKeySequence::StandardKey k : kEditing)
        if (event.matches(k))
            return true;
    return false;
}

bool ScalePage::FilterKey(QWidget *receiver, const QKeyEvent &event)
{
    pendingEdit_ = receiver;
    if (KeyPasses(event))
        return false;
    CommitScaleEdits();
    return true;
}

bool ScalePage::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (FilterKey(qobject_cast<QWidget *>(watched), *key)) {
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
            OnValueFocusLost(TypedValue::HValue);
        else if (watched == ui_.vValue)
            OnValueFocusLost(TypedValue::VValue);
        return false;
    }
    default: return QWidget::eventFilter(watched, event);
    }
}

}  // namespace orv

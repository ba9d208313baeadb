#pragma once
// Ctrl+Z undoes the document's last step; Ctrl+Shift+Z and Ctrl+Y redo one.
// They work wherever the focus is in the main window and its pages, and are
// taken before the pages' own key handling (which discards other keys).

#include <QObject>

class QKeyEvent;

namespace orv {

class COrvalinDlg;

enum class UndoKey { None, Undo, Redo };

// Which of the keys an event is (the keypad modifier aside).
UndoKey UndoKeyOf(const QKeyEvent &event);

class UndoKeys : public QObject {
    Q_OBJECT

public:
    // Watches the application's key presses for dlg (which owns this).
    explicit UndoKeys(COrvalinDlg &dlg);
    ~UndoKeys() override;

    // Undoes or redoes one step as the keys do; false when nothing happened.
    bool Apply(UndoKey key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    COrvalinDlg &dlg_;
};

// Made once, at the window's construction, after its other key filters.
void InstallUndoKeys(COrvalinDlg &dlg);

}  // namespace orv

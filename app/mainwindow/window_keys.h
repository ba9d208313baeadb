#pragma once
// The program's keys, read before any widget sees them: Ctrl+S saves, the
// undo keys undo and redo, Delete and Backspace delete the selected
// measurement. They work in the main window and in the windows it keeps
// beside it (the overview), not in the dialogs that hold it modally. Every
// other key meant for the main window is discarded, except inside the pages
// that keep their own keyboard handling.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

class QKeyEvent;

namespace orv {

class MainWindow;

// The top-level window a key for receiver counts as: mainWindow for the main
// window and the windows it keeps beside it; nullptr for any other.
const QWidget *KeyWindowOf(const QWidget *receiver, const MainWindow &mainWindow);

// The focus widget edits text: Delete and Backspace are its own there.
bool EditsText(const QWidget *widget);

class WindowKeys : public QObject {
    Q_OBJECT

public:
    // Watches the whole application's key presses for mainWindow.
    explicit WindowKeys(MainWindow &mainWindow);
    ~WindowKeys() override;

    // Keys inside this widget keep their usual handling (the program's keys aside).
    void exempt(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // True when the key is one of the program's; a press runs it.
    bool TakeProgramKey(QWidget *receiver, const QKeyEvent &event, bool press);

    MainWindow &mainWindow_;
    QList<QPointer<QWidget>> exempt_;
};

}  // namespace orv

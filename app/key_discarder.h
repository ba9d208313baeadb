#pragma once
// Discards every key press meant for the main window or its pages, except the
// pages that keep their own keyboard handling.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

class QEvent;

namespace orv {

// A key press (or the shortcut check before it) for a widget inside window.
bool IsKeyEventInside(const QObject *watched, const QEvent *event, const QWidget *window);

class KeyDiscarder : public QObject {
    Q_OBJECT

public:
    // Watches the whole application for key presses inside window.
    explicit KeyDiscarder(QWidget *window);
    ~KeyDiscarder() override;

    // Keys inside this widget keep their usual handling.
    void exempt(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> window_;
    QList<QPointer<QWidget>> exempt_;
};

}  // namespace orv

#pragma once
// The image view: shows what the main window composed and hands the mouse to
// it. It keeps no state of its own.

#include <QWidget>

namespace orv {

class ImageViewHost;

class ImageView : public QWidget {
    Q_OBJECT

public:
    ImageView(ImageViewHost &owner, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    // A pointer position (window pixels) as a view position (device pixels).
    QPoint ToView(const QPointF &pos) const;

    ImageViewHost &owner_;
};

}  // namespace orv

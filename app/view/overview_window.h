#pragma once
// The overview window: the whole composite scaled down, with the part the view
// shows marked by an inverted frame. Dragging the frame scrolls the view.

#include <QDialog>
#include <QImage>
#include <QRect>

#include "view/view_state.h"

class QLabel;

namespace orv {

class PageHost;

class OverviewWindow : public QDialog {
    Q_OBJECT

public:
    // A floating window, hidden until the main window shows it.
    explicit OverviewWindow(QWidget *parent = nullptr);
    ~OverviewWindow() override;

    // The main window becomes the owner (owner: its page host, ownerWindow:
    // the window itself): the overview floats above it and takes the mouse
    // while the main window runs modally.
    void SetOwner(PageHost *owner, QWidget *ownerWindow);
    PageHost *owner() const { return owner_; }

    // The picture area in pixels (the whole client area of the window).
    void SetClientSize(QSize size);
    QSize clientSize() const { return client_; }

    // Stretches the whole composite into the client area (kept until the next one).
    void SetPicture(const QImage &composite);
    // The picture's size in device pixels.
    QSize pictureSize() const;
    // A picture already stretched to pictureSize(), shown as it is.
    void SetScaledPicture(const QImage &picture);
    const QImage &picture() const { return picture_; }

    // With x = y = -1 the frame follows the owner's view; otherwise it moves
    // to left x, top y. Then it is drawn again.
    void UpdateFrame(int x = -1, int y = -1);
    // The frame for a given view (what UpdateFrame(-1, -1) does with the owner's).
    void UpdateFrameFrom(const ViewGeometry &view);
    QRect frame() const { return frame_; }

    // The "Not Initialized" label: hidden while the window serves the view.
    void ShowNotInitialized(bool show);
    QLabel *notInitializedLabel() const { return label_; }

    bool dragging() const { return dragging_; }
    // True while the pointer is over the frame or dragging it (size-all cursor).
    bool overFrame() const { return overFrame_; }

public slots:
    // Escape closes the window the way its close box does.
    void reject() override;

signals:
    // The frame was dragged and the view scrolled to scroll.
    void scrolled(QPoint scroll);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool Inside(QPoint p) const;
    QImage Scaled(const QImage &from) const;
    void DragTo(QPoint p);

    PageHost *owner_ = nullptr;
    QSize client_{240, 180};
    QImage picture_;
    QRect frame_;
    bool overFrame_ = false;
    bool dragging_ = false;
    QPoint grab_;
    QLabel *label_ = nullptr;
};

}  // namespace orv

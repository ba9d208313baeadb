#pragma once
// The live view window: paints the newest camera frame scaled to its size,
// keeping the frame's shape (black bars fill the rest).
// Each frame is converted once into the view's picture when it arrives; a
// paint only copies that picture. The frame itself is not kept, so the
// camera's buffers go back to it at once.

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <functional>

#include "capture/camera/camera_view_scaler.h"
#include "view/live_frame_mapping.h"

namespace orv {

class CameraFrame;
class LiveMeasuring;

class LiveView : public QWidget {
    Q_OBJECT

public:
    // The size the camera picture is shown at.
    static constexpr QSize kViewSize{640, 480};

    explicit LiveView(QWidget *parent = nullptr);

    QSize sizeHint() const override { return kViewSize; }
    // The picture a paint shows (null before the first frame).
    const QImage &picture() const { return picture_; }
    // Where the frame shown lies in the view and how its pixels map to the
    // view's (invalid without a frame).
    const LiveFrameMapping &mapping() const { return mapping_; }
    // Takes the pointer and draws over the picture; nullptr for none.
    void SetMeasuring(LiveMeasuring *measuring);

public slots:
    // Takes the frame into the picture and schedules a paint.
    void ShowFrame(const orv::CameraFrame &frame);
    // Shows a picture drawn elsewhere (the wireless receiver's, already at the
    // view size): frameSize is the frame's own size and shownArea where the
    // picture shows it (the whole picture when empty).
    void ShowPicture(const QImage &picture, QSize frameSize = {}, QRect shownArea = {});
    // Draws over the current picture (black when there is none) until the next one arrives.
    void PaintOver(const std::function<void(QPainter &)> &draw);
    // Forgets the picture (the view then shows black).
    void Clear();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void SetMapping(const LiveFrameMapping &mapping);

    CameraViewScaler scaler_;
    QImage picture_;
    LiveFrameMapping mapping_;
    LiveMeasuring *measuring_ = nullptr;
};

}  // namespace orv

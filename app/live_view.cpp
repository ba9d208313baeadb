#include "app/live_view.h"

#include <QPaintEvent>
#include <QPainter>

#include "capture/camera_frame.h"

namespace orv {

LiveView::LiveView(QWidget *parent) : QWidget(parent)
{
    setObjectName("liveView");
    // Every pixel is painted each time: no background erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kViewSize);
}

void LiveView::ShowFrame(const CameraFrame &frame)
{
    if (scaler_.Scale(frame, size(), picture_))
        update();
}

void LiveView::ShowPicture(const QImage &picture)
{
    if (picture.isNull())
        return;
    picture_ = picture.size() == size() || size().isEmpty()
                   ? picture
                   : picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (picture_.format() != QImage::Format_RGB32)
        picture_ = picture_.convertToFormat(QImage::Format_RGB32);
    update();
}

void LiveView::PaintOver(const std::function<void(QPainter &)> &draw)
{
    if (picture_.isNull() || picture_.size() != size()) {
        picture_ = QImage(size().isEmpty() ? kViewSize : size(), QImage::Format_RGB32);
        picture_.fill(Qt::black);
    }
    {
        QPainter painter(&picture_);
        draw(painter);
    }
    update();
}

void LiveView::Clear()
{
    picture_ = QImage();
    update();
}

void LiveView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (picture_.isNull()) {
        painter.fillRect(event->rect(), Qt::black);
        return;
    }
    painter.drawImage(event->rect().topLeft(), picture_, event->rect());
}

void LiveView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Until the next frame arrives, the last picture stretched to the new size.
    if (!picture_.isNull() && picture_.size() != size() && !size().isEmpty())
        picture_ = picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_RGB32);
}

}  // namespace orv

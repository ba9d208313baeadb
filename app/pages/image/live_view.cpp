#include "app/pages/image/live_view.h"

#include <QPaintEvent>
#include <QPainter>

#include "capture/camera/camera_frame.h"

namespace orv {
namespace {

// The picture scaled into size with its shape kept, black around it.
QImage FitInto(const QImage &picture, QSize size)
{
    if (picture.size() == size)
        return picture.convertToFormat(QImage::Format_RGB32);
    QImage fitted(size, QImage::Format_RGB32);
    fitted.fill(Qt::black);
    QPainter painter(&fitted);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(CameraViewScaler::FittedRect(picture.size(), size), picture);
    return fitted;
}

}  // namespace

LiveView::LiveView(QWidget *parent) :
    QWidget(parent)
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
    picture_ = size().isEmpty() ? picture.convertToFormat(QImage::Format_RGB32) : FitInto(picture, size());
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
    // Until the next frame arrives, the last picture fitted to the new size.
    if (!picture_.isNull() && picture_.size() != size() && !size().isEmpty())
        picture_ = FitInto(picture_, size());
}

}  // namespace orv

#include "app/pages/image/live_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "app/pages/image/live_measuring.h"
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
    // Hovering chooses what a press on a live measurement does.
    setMouseTracking(true);
    resize(kViewSize);
}

void LiveView::SetMeasuring(LiveMeasuring *measuring)
{
    measuring_ = measuring;
    if (measuring_)
        measuring_->MappingChanged();
}

void LiveView::SetMapping(const LiveFrameMapping &mapping)
{
    if (mapping.frame == mapping_.frame && mapping.shown == mapping_.shown)
        return;
    mapping_ = mapping;
    if (measuring_)
        measuring_->MappingChanged();
}

void LiveView::ShowFrame(const CameraFrame &frame)
{
    if (!scaler_.Scale(frame, size(), picture_))
        return;
    SetMapping({frame.size(), CameraViewScaler::FittedRect(frame.size(), size())});
    update();
}

void LiveView::ShowPicture(const QImage &picture, QSize frameSize, QRect shownArea)
{
    if (picture.isNull())
        return;
    picture_ = size().isEmpty() ? picture.convertToFormat(QImage::Format_RGB32) : FitInto(picture, size());
    // Where the picture lies in the view, then where the frame lies in the picture.
    const QRect placed = size().isEmpty() ? picture_.rect() : CameraViewScaler::FittedRect(picture.size(), size());
    const QRect area = shownArea.isEmpty() ? picture.rect() : shownArea;
    const double sx = double(placed.width()) / picture.width();
    const double sy = double(placed.height()) / picture.height();
    const QRect shown(placed.x() + qRound(area.x() * sx), placed.y() + qRound(area.y() * sy),
                      qRound(area.width() * sx), qRound(area.height() * sy));
    SetMapping({frameSize.isEmpty() ? area.size() : frameSize, shown});
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
    SetMapping({});
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
    if (measuring_) {
        painter.setClipRect(event->rect());
        measuring_->Paint(painter);
    }
}

void LiveView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Until the next frame arrives, the last picture fitted to the new size.
    if (!picture_.isNull() && picture_.size() != size() && !size().isEmpty())
        picture_ = FitInto(picture_, size());
    // The frame's place in the refitted picture is known again with the next frame.
    SetMapping({});
}

void LiveView::mousePressEvent(QMouseEvent *event)
{
    if (!measuring_)
        return QWidget::mousePressEvent(event);
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        measuring_->press(pos);
    else if (event->button() == Qt::RightButton)
        measuring_->rightPress(pos);
}

void LiveView::mouseMoveEvent(QMouseEvent *event)
{
    if (measuring_)
        measuring_->move(event->position().toPoint());
}

void LiveView::mouseReleaseEvent(QMouseEvent *event)
{
    if (measuring_ && event->button() == Qt::LeftButton)
        measuring_->release(event->position().toPoint());
}

void LiveView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (measuring_ && event->button() == Qt::LeftButton)
        measuring_->doubleClick(event->position().toPoint());
}

void LiveView::leaveEvent(QEvent *event)
{
    if (measuring_)
        measuring_->leave();
    QWidget::leaveEvent(event);
}

}  // namespace orv

#include "app/view/image_view.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include "app/interaction/pointer_interaction.h"
#include "app/view/image_view_host.h"

namespace orv {

ImageView::ImageView(ImageViewHost &owner, QWidget *parent) :
    QWidget(parent),
    owner_(owner)
{
    setObjectName("imageView");
    setMouseTracking(true);
    // The picture covers the whole widget; nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    owner_.PaintView(painter);
}

void ImageView::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = ToView(event->position());
    if (event->button() == Qt::LeftButton)
        owner_.pointer().press(p);
    else if (event->button() == Qt::RightButton)
        owner_.pointer().rightPress(p);
}

void ImageView::mouseMoveEvent(QMouseEvent *event)
{
    owner_.pointer().move(ToView(event->position()));
}

void ImageView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        owner_.pointer().release(ToView(event->position()));
}

void ImageView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint p = ToView(event->position());
    if (event->button() == Qt::LeftButton)
        owner_.pointer().doubleClick(p);
    else if (event->button() == Qt::RightButton)
        owner_.pointer().rightPress(p);
}

QPoint ImageView::ToView(const QPointF &pos) const
{
    // The view counts device pixels; each window pixel holds ratio of them.
    const qreal ratio = owner_.viewPixelRatio();
    return QPoint(static_cast<int>(std::floor(pos.x() * ratio)), static_cast<int>(std::floor(pos.y() * ratio)));
}

bool ImageView::event(QEvent *event)
{
    const bool done = QWidget::event(event);
    // Moved to a screen of another pixel ratio.
    if (event->type() == QEvent::ScreenChangeInternal)
        owner_.FollowViewRatio();
    return done;
}

void ImageView::leaveEvent(QEvent *)
{
    owner_.pointer().leave();
}

}  // namespace orv

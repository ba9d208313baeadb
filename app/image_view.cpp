#include "image_view.h"

#include <QMouseEvent>
#include <QPainter>

#include "orvalin_dlg.h"

namespace orv {

ImageView::ImageView(COrvalinDlg &owner, QWidget *parent) : QWidget(parent), owner_(owner)
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
    painter.end();
    owner_.AfterViewPaint();
}

void ImageView::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        owner_.OnViewPress(p);
    else if (event->button() == Qt::RightButton)
        owner_.OnViewRightPress(p);
}

void ImageView::mouseMoveEvent(QMouseEvent *event)
{
    owner_.OnViewMove(event->position().toPoint());
}

void ImageView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        owner_.OnViewRelease(event->position().toPoint());
}

void ImageView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        owner_.OnViewDoubleClick(p);
    else if (event->button() == Qt::RightButton)
        owner_.OnViewRightPress(p);
}

void ImageView::leaveEvent(QEvent *)
{
    owner_.OnViewLeave();
}

}  // namespace orv

#include "app/pages/image/guide_window.h"

#include <QBitmap>
#include <QPainter>

#include <algorithm>

namespace orv {

GuideWindow::GuideWindow(QWidget *parent) :
    QWidget(parent)
{
    setObjectName("guideWindow");
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The cross only shows; clicks go to what lies below.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(QRect(QPoint(0, 0), kSize));
    UpdateShape();
}

void GuideWindow::setColour(const QColor &colour)
{
    colour_ = colour;
    update();
}

void GuideWindow::setThickness(int thickness)
{
    thickness_ = std::clamp(thickness, 1, 5);
    UpdateShape();
}

QRegion GuideWindow::CrossRegion(int thickness, QSize size)
{
    const int a = thickness + 1;
    const int w = size.width();
    const int h = size.height();
    if (w <= 2 * a || h <= 2 * a)
        return {};
    // Drawn into a bitmap: a region of rounded rectangles has no direct form.
    QBitmap bits(size);
    bits.fill(Qt::color0);
    {
        QPainter p(&bits);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::color1);
        const qreal r = a / 2.0;
        p.drawRoundedRect(QRect(a, h / 2, w - 2 * a, a), r, r);
        p.drawRoundedRect(QRect(w / 2, a, a, h - 2 * a), r, r);
    }
    return QRegion(bits);
}

void GuideWindow::UpdateShape()
{
    setMask(CrossRegion(thickness_, size()));
    update();
}

void GuideWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    UpdateShape();
}

void GuideWindow::paintEvent(QPaintEvent *)
{
    // The mask clips the fill to the cross.
    QPainter(this).fillRect(rect(), colour_);
}

}  // namespace orv

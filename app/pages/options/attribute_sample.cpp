#include "app/pages/options/attribute_sample.h"

#include <QImage>
#include <QPainter>

#include "calib/draw_sample.h"

namespace orv {

AttributeSample::AttributeSample(std::function<const DrawAttribute &()> attributes, QWidget *parent) :
    QFrame(parent),
    attributes_(std::move(attributes))
{
    setObjectName(QStringLiteral("sampleBox"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFixedSize(kSampleWidth + 2, kSampleHeight + 2);
}

QImage AttributeSample::Render() const
{
    QImage img(kSampleWidth, kSampleHeight, QImage::Format_RGB32);
    img.fill(palette().color(QPalette::Window));
    DrawSample(img, attributes_());
    return img;
}

void AttributeSample::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), Render());
}

}  // namespace orv

#include "calib/draw_sample.h"

#include <QFontMetrics>
#include <QString>

#include "measure/render/draw_geometry.h"
#include "measure/render/gdi_font.h"
#include "measure/render/gdi_paint.h"

namespace orv {

void DrawSample(QPainter &p, const DrawAttribute &attr)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(SolidPen(attr.lineWidth(), attr.lineColor));
    const QPoint a(20, 30);
    const QPoint b(180, 30);
    DrawPointMarker(p, a);
    DrawPointMarker(p, b);
    DrawSegment(p, a, b);

    const TextStyle style{attr.fontColor, attr.backColor, attr.transparent != 1};
    p.setFont(MakeCellFont(QString::fromStdString(attr.faceName), attr.fontSize, attr.fontSize / 2));
    const QString text = QStringLiteral("Sample TEXT");
    const int width = QFontMetrics(p.font()).horizontalAdvance(text);
    DrawTextTopLeft(p, 100 - width / 2, 30 - attr.fontSize / 2, text, style, attr.fontSize);
    p.restore();
}

void DrawSample(QPaintDevice &device, const DrawAttribute &attr)
{
    QPainter p(&device);
    DrawSample(p, attr);
}

}  // namespace orv

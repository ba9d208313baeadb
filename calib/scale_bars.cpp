#include "calib/scale_bars.h"

#include <QFontMetrics>
#include <QString>

#include <algorithm>

#include "core/number_reading.h"
#include "measure/render/gdi_font.h"
#include "measure/render/gdi_paint.h"

namespace orv {
namespace {

// Calibration bar labels are small: 8 pixels high, 4 wide.
constexpr int kCalibFontHeight = 8;

// Text centred horizontally and aligned to the top of the rectangle
// (left, top, right, bottom), cut at its edges.
void DrawCentredClipped(QPainter &p, int left, int top, int right, int bottom, const QString &text,
                        const TextStyle &style, int cellHeight)
{
    if (right <= left || bottom <= top)
        return;  // nothing is visible through an empty rectangle
    const int width = QFontMetrics(p.font()).horizontalAdvance(text);
    p.save();
    p.setClipRect(QRect(left, top, right - left, bottom - top), Qt::IntersectClip);
    DrawTextTopLeft(p, left + (right - left - width) / 2, top, text, style, cellHeight);
    p.restore();
}

QString LabelOf(const std::string &value, const std::string &unit)
{
    return QString::fromStdString(value + unit);
}

// Light under dark: the bars and their labels show on any picture, dark or light.
constexpr ColorRef kBarHalo = 0x00FFFFFF;

// The text with a halo one pixel wide around its strokes, then the text itself.
void DrawHaloedText(QPainter &p, int x, int y, const QString &text, int cellHeight)
{
    const TextStyle halo{kBarHalo, kBarHalo, false};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (dx != 0 || dy != 0)
                DrawTextTopLeft(p, x + dx, y + dy, text, halo, cellHeight);
        }
    }
    DrawTextTopLeft(p, x, y, text, TextStyle{0, kBarHalo, false}, cellHeight);
}

void DrawCentredHaloed(QPainter &p, int left, int top, int right, int bottom, const QString &text,
                       int cellHeight)
{
    if (right <= left || bottom <= top)
        return;
    const int width = QFontMetrics(p.font()).horizontalAdvance(text);
    p.save();
    p.setClipRect(QRect(left, top, right - left, bottom - top), Qt::IntersectClip);
    DrawHaloedText(p, left + (right - left - width) / 2, top, text, cellHeight);
    p.restore();
}

void DrawCalibrationBars(QPainter &p, const ScaleSetting &c, const QString &face, BarLook look)
{
    p.setFont(MakeCellFont(face, kCalibFontHeight, kCalibFontHeight / 2));
    const int hn = ReadInt(c.hPixel);
    const QPoint h = c.hStart;
    const int vn = ReadInt(c.vPixel);
    const QPoint v = c.vStart;

    if (look == BarLook::Saved) {
        const TextStyle black{0, 0x00FFFFFF, false};
        DrawHorizontalBarShape(p, h, hn);
        DrawCentredClipped(p, h.x(), h.y() - kBarTick, h.x() + hn, h.y() + kBarTick, LabelOf(c.hValue, c.unit),
                           black, kCalibFontHeight);
        DrawVerticalBarShape(p, v, vn);
        DrawTextTopLeft(p, v.x() - kBarTick, v.y() + vn, LabelOf(c.vValue, c.unit), black, kCalibFontHeight);
        return;
    }

    DrawHaloedBarShape(p, h, hn, false);
    DrawHaloedBarShape(p, v, vn, true);
    DrawCentredHaloed(p, h.x(), h.y() - kBarTick, h.x() + hn, h.y() + kBarTick, LabelOf(c.hValue, c.unit),
                      kCalibFontHeight);
    DrawHaloedText(p, v.x() - kBarTick, v.y() + vn, LabelOf(c.vValue, c.unit), kCalibFontHeight);
    // The lines last: a label's halo never hides them.
    DrawHorizontalBarShape(p, h, hn);
    DrawVerticalBarShape(p, v, vn);
}

void DrawStandardScale(QPainter &p, const StandardScale &s)
{
    p.setPen(SolidPen(s.penWidth(), s.lineColor));
    const TextStyle style{s.fontColor, s.backColor, s.transparent != 1};
    const int n = s.pixelLength;
    const QPoint at = s.position;
    DrawHorizontalBarShape(p, at, n);
    p.setFont(MakeCellFont(QString::fromStdString(s.faceName), s.fontSize, s.fontSize / 2));
    const int top = at.y() - kBarTick;
    DrawCentredClipped(p, at.x(), top, at.x() + n, top + std::max(s.fontSize, 16), LabelOf(s.length, s.lengthUnit),
                       style, s.fontSize);
}

}  // namespace

void DrawHorizontalBarShape(QPainter &p, QPoint start, int n)
{
    const int x = start.x();
    const int y = start.y();
    DrawSegment(p, QPoint(x, y - kBarTick), QPoint(x, y + kBarTick));
    DrawSegment(p, QPoint(x + n, y - kBarTick), QPoint(x + n, y + kBarTick));
    DrawSegment(p, QPoint(x, y), QPoint(x + n, y));
}

void DrawVerticalBarShape(QPainter &p, QPoint start, int n)
{
    const int x = start.x();
    const int y = start.y();
    DrawSegment(p, QPoint(x - kBarTick, y), QPoint(x + kBarTick, y));
    DrawSegment(p, QPoint(x - kBarTick, y + n), QPoint(x + kBarTick, y + n));
    DrawSegment(p, QPoint(x, y), QPoint(x, y + n));
}

void DrawHaloedBarShape(QPainter &p, QPoint start, int n, bool vertical)
{
    const auto shape = [&] {
        if (vertical)
            DrawVerticalBarShape(p, start, n);
        else
            DrawHorizontalBarShape(p, start, n);
    };
    const QPen line = p.pen();
    p.setPen(QPen(ToQColor(kBarHalo), line.width() + 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    shape();
    p.setPen(line);
    shape();
}

void DrawScaleBars(QPainter &p, const StandardScale &scale, const ScaleSetting &calibration,
                   bool calibrationPageCurrent, BarLook look)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setBackgroundMode(Qt::TransparentMode);
    p.setPen(SolidPen(1, 0));
    if (calibrationPageCurrent)
        DrawCalibrationBars(p, calibration, QString::fromStdString(scale.faceName), look);
    if (scale.show == 1)
        DrawStandardScale(p, scale);
    p.restore();
}

void DrawScaleBars(QImage &composite, const StandardScale &scale, const ScaleSetting &calibration, int currentTab,
                   BarLook look)
{
    QPainter p(&composite);
    DrawScaleBars(p, scale, calibration, currentTab == kCalibrationPageIndex, look);
}

}  // namespace orv

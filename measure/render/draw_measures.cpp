#include "draw_measures.h"

#include <QFontMetrics>

#include <map>

#include "render/draw_shapes.h"
#include "render/gdi_font.h"
#include "render/gdi_paint.h"
#include "units.h"

namespace orv {
namespace {

TextStyle LabelStyle(const MeasureItem &item)
{
    return TextStyle{item.fontColor, item.backColor, item.backMode == 0};
}

bool HasSubResultLabels(const MeasureItem &item)
{
    return item.kind == KindPerpendicular || item.kind == KindParallel;
}

// Kind 11 with parallel lines has no angle: only its number is shown.
bool ValueShown(const MeasureItem &item)
{
    if (item.value == 0)
        return false;
    return !(item.kind == KindAngle2Lines && item.center == QPoint(999, 999));
}

void PrepareItemPainter(QPainter &p, const MeasureItem &item)
{
    p.setPen(SolidPen(item.lineWidth, item.lineColor));
    p.setBrush(Qt::NoBrush);
    p.setBackgroundMode(Qt::TransparentMode);
}

// Box of a label rectangle r: the text at (L, T) and a margin m on every side
// of the frame, which is drawn m up and left of the box.
LabelBox Extended(const LabelBox &r, int m)
{
    return {r.left, r.top, ClampToInt(r.right + 2LL * m), ClampToInt(r.bottom + 2LL * m)};
}

// The same box for a label that was drawn m right and down of its place.
LabelBox Widened(const LabelBox &r, int m)
{
    return {ClampToInt(0LL + r.left - m), ClampToInt(0LL + r.top - m), ClampToInt(0LL + r.right + m),
            ClampToInt(0LL + r.bottom + m)};
}

// Detail labels of the measured points of kinds 5 and 7.
void DrawPointLabels(QPainter &p, MeasureItem &item, bool selected)
{
    const int m = LabelMargin(item);
    int k = 0;
    for (SubResult &sub : item.subResults) {
        ++k;
        if (sub.row < 0)
            continue;
        const QString text = SubResultLabelText(item, k, sub);
        if (item.labelBox.bottom == 0) {
            sub.labelBox.left = ClampToInt(0LL + sub.pos.x() + m);
            sub.labelBox.top = ClampToInt(0LL + sub.pos.y() + m);
        }
        const LabelBox r = DrawMeasureLabel(p, item, sub.labelBox.left, sub.labelBox.top, text);
        if (sub.labelBox.bottom <= 0 && selected) {
            sub.labelBox = item.labelBox.bottom == 0 ? Widened(r, m) : Extended(r, m);
            DrawLabelFrame(p, sub.labelBox, m);
            DrawMeasureLabel(p, item, sub.labelBox.left, sub.labelBox.top, text);
        }
    }
}

// Indented lines under the label (the circle's diameter, radius, circumference).
void DrawDetailLines(QPainter &p, const MeasureItem &item, QPoint labelPos)
{
    int k = 0;
    for (const SubResult &sub : item.subResults) {
        ++k;
        if (sub.row < 0)
            continue;
        DrawMeasureLabel(p, item, ClampToInt(0LL + labelPos.x() + item.fontSize + 10),
                         ClampToInt(labelPos.y() + 1LL * k * item.fontSize + 10), QString::fromStdString(sub.text));
    }
}

class LabelFontCache {
public:
    explicit LabelFontCache(QString face) : face_(std::move(face)) {}
    const QFont &get(int fontSize)
    {
        auto it = fonts_.find(fontSize);
        if (it == fonts_.end())
            it = fonts_.emplace(fontSize, MakeLabelFont(face_, fontSize)).first;
        return it->second;
    }

private:
    QString face_;
    std::map<int, QFont> fonts_;
};

}  // namespace

QString MeasureLabelText(const MeasureItem &item, LabelMode mode, Language suffixLanguage)
{
    QString text = QStringLiteral("No.%1").arg(item.number);
    if (mode == LabelMode::ItemNumberOnly || !ValueShown(item))
        return text;
    return text + QStringLiteral("  ") + QString::fromStdString(FormatValueWithSuffix(item.value, item.unit, suffixLanguage));
}

QString SubResultLabelText(const MeasureItem &item, int k, const SubResult &sub)
{
    return QStringLiteral("No.%1_%2 ").arg(item.number).arg(k) + QString::fromStdString(sub.text);
}

LabelBox DrawMeasureLabel(QPainter &p, const MeasureItem &item, int x, int y, const QString &text)
{
    const int width = DrawTextTopLeft(p, x, y, text, LabelStyle(item), item.fontSize);
    return LabelBox{x, y, ClampToInt(0LL + x + width), ClampToInt(0LL + y + item.fontSize)};
}

void DrawListedMeasure(QPainter &p, MeasureItem &item, const MeasureDrawOptions &opts, const QFont &labelFont)
{
    PrepareItemPainter(p, item);
    const bool labelled = item.kind != KindStandardLine && item.kind != KindStandardParallel;
    if (labelled)
        p.setFont(labelFont);
    const bool selected = opts.isSelected(item);
    const std::optional<QPoint> anchor = DrawMeasureShape(p, item, selected);
    if (!labelled || static_cast<int>(opts.labelMode) < 0)
        return;

    if (item.kind == KindText) {
        const QPoint at = anchor.value_or(QPoint());
        DrawMeasureLabel(p, item, at.x(), at.y(), QString::fromStdString(item.text));
        return;
    }

    const QString text = MeasureLabelText(item, opts.labelMode, opts.suffixLanguage);
    const int m = LabelMargin(item);
    QPoint pos = anchor.value_or(QPoint());
    if (item.labelBox.bottom >= 1)
        pos = QPoint(item.labelBox.left, item.labelBox.top);
    else if (item.labelBox.bottom < 0)
        pos = QPoint(ClampToInt(0LL + item.labelBox.left + m), ClampToInt(0LL + item.labelBox.top + m));

    if (!HasSubResultLabels(item)) {
        const LabelBox r = DrawMeasureLabel(p, item, pos.x(), pos.y(), text);
        if (selected && item.labelBox.bottom <= 0) {
            item.labelBox = item.labelBox.bottom == 0 ? Extended(r, m) : Widened(r, m);
            DrawLabelFrame(p, item.labelBox, m);
            DrawMeasureLabel(p, item, item.labelBox.left, item.labelBox.top, text);
        }
    }

    if (opts.labelMode != LabelMode::Details)
        return;
    if (HasSubResultLabels(item)) {
        DrawPointLabels(p, item, selected);
        // From now on the point labels keep the boxes they were given.
        if (item.labelBox.bottom == 0)
            item.labelBox.bottom = 1;
    } else {
        DrawDetailLines(p, item, pos);
    }
}

void DrawListedMeasure(QPainter &p, MeasureItem &item, const MeasureDrawOptions &opts)
{
    DrawListedMeasure(p, item, opts, MakeLabelFont(opts.faceName, item.fontSize));
}

void DrawEditMeasure(QPainter &p, MeasureItem &item, const MeasureDrawOptions &opts)
{
    PrepareItemPainter(p, item);
    // A text's selection frame is measured in its own label font.
    p.setFont(MakeLabelFont(opts.faceName, item.fontSize));
    DrawMeasureShape(p, item, opts.isSelected(item));
}

void DrawAllMeasures(QPainter &p, MeasureList &list, MeasureItem *editItem, const MeasureDrawOptions &opts)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    LabelFontCache fonts(opts.faceName);
    for (const auto &item : list)
        DrawListedMeasure(p, *item, opts, fonts.get(item->fontSize));
    if (editItem)
        DrawEditMeasure(p, *editItem, opts);
    p.restore();
}

void DrawAllMeasures(QImage &composite, MeasureList &list, MeasureItem *editItem, const MeasureDrawOptions &opts)
{
    QPainter p(&composite);
    DrawAllMeasures(p, list, editItem, opts);
}

}  // namespace orv

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
            sub.labelBox.left = sub.pos.x() + m;
            sub.labelBox.top = sub.pos.y() + m;
        }
        const LabelBox r = DrawMeasureLabel(p, item, sub.labelBox.left, sub.labelBox.top, text);
        if (sub.labelBox.bottom <= 0 && selected) {
            if (item.labelBox.bottom == 0)
                sub.labelBox = {r.left - m, r.top - m, r.right + m, r.bottom + m};
            else
                sub.labelBox = {r.left, r.top, r.right + 2 * m, r.bottom + 2 * m};
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
        DrawMeasureLabel(p, item, labelPos.x() + item.fontSize + 10, labelPos.y() + k * item.fontSize + 10,
                         QString::fromStdString(sub.text));
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
    return LabelBox{x, y, x + width, y + item.fontSize};
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
        pos = QPoint(item.labelBox.left + m, item.labelBox.top + m);

    if (!HasSubResultLabels(item)) {
        const LabelBox r = DrawMeasureLabel(p, item, pos.x(), pos.y(), text);
        if (selected && item.labelBox.bottom <= 0) {
            if (item.labelBox.bottom == 0)
                item.labelBox = {r.left, r.top, r.right + 2 * m, r.bottom + 2 * m};
            else
                item.labelBox = {r.left - m, r.top - m, r.right + m, r.bottom + m};
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

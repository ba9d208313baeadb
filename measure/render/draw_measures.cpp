#include "measure/render/draw_measures.h"

#include <QFontMetrics>


#include "measure/derive.h"
#include "measure/render/draw_shapes.h"
#include "measure/render/gdi_font.h"
#include "measure/render/gdi_paint.h"
#include "measure/units.h"

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
    return item.value != 0 && HasMeasureValue(item);
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

// Detail labels of the measured points of kinds 5 and 7; returns every
// sub-result's box as the drawing leaves it.
std::vector<LabelBox> DrawPointLabels(QPainter &p, const MeasureItem &item, bool selected)
{
    const int m = LabelMargin(item);
    std::vector<LabelBox> boxes;
    boxes.reserve(item.subResults.size());
    int k = 0;
    for (const SubResult &sub : item.subResults) {
        ++k;
        LabelBox &box = boxes.emplace_back(sub.labelBox);
        if (sub.row < 0)
            continue;
        const QString text = SubResultLabelText(item, k, sub);
        if (item.labelBox.bottom == 0) {
            box.left = ClampToInt(0LL + sub.pos.x() + m);
            box.top = ClampToInt(0LL + sub.pos.y() + m);
        }
        const LabelBox r = DrawMeasureLabel(p, item, box.left, box.top, text);
        if (box.bottom <= 0 && selected) {
            box = item.labelBox.bottom == 0 ? Widened(r, m) : Extended(r, m);
            DrawLabelFrame(p, box, m);
            DrawMeasureLabel(p, item, box.left, box.top, text);
        }
    }
    return boxes;
}

bool SameSubResultBoxes(const MeasureItem &item, const std::vector<LabelBox> &boxes)
{
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (!(boxes[i] == item.subResults[i].labelBox))
            return false;
    }
    return true;
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

}  // namespace

LabelFontCache::LabelFontCache(QString face) : face_(std::move(face)) {}

const QFont &LabelFontCache::get(int fontSize)
{
    auto it = fonts_.find(fontSize);
    if (it == fonts_.end())
        it = fonts_.emplace(fontSize, MakeLabelFont(face_, fontSize)).first;
    return it->second;
}

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

void ApplyPlacedLabel(MeasureItem &item, const PlacedLabel &placed)
{
    item.labelBox = placed.box;
    if (placed.subResults.size() == item.subResults.size()) {
        for (std::size_t i = 0; i < placed.subResults.size(); ++i)
            item.subResults[i].labelBox = placed.subResults[i];
    }
}

void ApplyPlacedLabels(MeasureList &list, const std::vector<PlacedLabel> &placed)
{
    for (const PlacedLabel &label : placed) {
        if (label.index < list.size())
            ApplyPlacedLabel(list.at(label.index), label);
    }
}

std::optional<PlacedLabel> DrawListedMeasure(QPainter &p, const MeasureItem &item, const MeasureDrawOptions &opts,
                                             const QFont &labelFont)
{
    PrepareItemPainter(p, item);
    const bool labelled = item.kind != KindStandardLine && item.kind != KindStandardParallel;
    if (labelled)
        p.setFont(labelFont);
    const bool selected = opts.isSelected(item);
    const std::optional<QPoint> anchor = DrawMeasureShape(p, item, selected);
    if (!labelled || static_cast<int>(opts.labelMode) < 0)
        return std::nullopt;

    if (item.kind == KindText) {
        const QPoint at = anchor.value_or(QPoint());
        DrawMeasureLabel(p, item, at.x(), at.y(), QString::fromStdString(item.text));
        return std::nullopt;
    }

    const QString text = MeasureLabelText(item, opts.labelMode, opts.suffixLanguage);
    const int m = LabelMargin(item);
    QPoint pos = anchor.value_or(QPoint());
    if (item.labelBox.bottom >= 1)
        pos = QPoint(item.labelBox.left, item.labelBox.top);
    else if (item.labelBox.bottom < 0)
        pos = QPoint(ClampToInt(0LL + item.labelBox.left + m), ClampToInt(0LL + item.labelBox.top + m));

    PlacedLabel placed{0, item.labelBox, {}};
    if (!HasSubResultLabels(item)) {
        const LabelBox r = DrawMeasureLabel(p, item, pos.x(), pos.y(), text);
        if (selected && placed.box.bottom <= 0) {
            placed.box = placed.box.bottom == 0 ? Extended(r, m) : Widened(r, m);
            DrawLabelFrame(p, placed.box, m);
            DrawMeasureLabel(p, item, placed.box.left, placed.box.top, text);
        }
    }

    if (opts.labelMode == LabelMode::Details) {
        if (HasSubResultLabels(item)) {
            placed.subResults = DrawPointLabels(p, item, selected);
            if (SameSubResultBoxes(item, placed.subResults))
                placed.subResults.clear();
            // From now on the point labels keep the boxes they were given.
            if (placed.box.bottom == 0)
                placed.box.bottom = 1;
        } else {
            DrawDetailLines(p, item, pos);
        }
    }
    if (placed.box == item.labelBox && placed.subResults.empty())
        return std::nullopt;
    return placed;
}

std::optional<PlacedLabel> DrawListedMeasure(QPainter &p, const MeasureItem &item, const MeasureDrawOptions &opts)
{
    return DrawListedMeasure(p, item, opts, MakeLabelFont(opts.faceName, item.fontSize));
}

void DrawEditMeasure(QPainter &p, const MeasureItem &item, const MeasureDrawOptions &opts)
{
    PrepareItemPainter(p, item);
    // A text's selection frame is measured in its own label font.
    p.setFont(MakeLabelFont(opts.faceName, item.fontSize));
    DrawMeasureShape(p, item, opts.isSelected(item));
}

std::vector<PlacedLabel> DrawAllMeasures(QPainter &p, const MeasureList &list, const MeasureItem *editItem,
                                         const MeasureDrawOptions &opts)
{
    std::vector<PlacedLabel> placed;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    LabelFontCache fonts(opts.faceName);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const MeasureItem &item = list.at(i);
        if (std::optional<PlacedLabel> label = DrawListedMeasure(p, item, opts, fonts.get(item.fontSize))) {
            label->index = i;
            placed.push_back(std::move(*label));
        }
    }
    if (editItem)
        DrawEditMeasure(p, *editItem, opts);
    p.restore();
    return placed;
}

std::vector<PlacedLabel> DrawAllMeasures(QImage &composite, const MeasureList &list, const MeasureItem *editItem,
                                         const MeasureDrawOptions &opts)
{
    QPainter p(&composite);
    return DrawAllMeasures(p, list, editItem, opts);
}

}  // namespace orv

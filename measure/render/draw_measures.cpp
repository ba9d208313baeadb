#include "measure/render/draw_measures.h"

#include <QFontMetrics>

#include <algorithm>

#include "measure/derive.h"
#include "measure/render/draw_shapes.h"
#include "measure/render/gdi_font.h"
#include "measure/render/gdi_paint.h"
#include "measure/render/label_layout.h"
#include "measure/uncertainty.h"
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

int Advance(const QPainter &p, const QString &text)
{
    return QFontMetrics(p.font()).horizontalAdvance(text);
}

// Where a label not yet placed in a box is drawn: moved inside the image
// (the width is measured only when there is an image to keep it in).
QPoint FittedTextPos(const QPainter &p, const MeasureItem &item, const MeasureDrawOptions &opts, LabelOf which,
                     QPoint pos, const QString &text)
{
    if (opts.imageSize.isEmpty())
        return pos;
    return pos + LabelFitShift(item, opts, which, pos, Advance(p, text));
}

// Detail labels of the measured points of kinds 5 and 7. A selected label
// without a box is framed where it is drawn (the layout gives it that box).
void DrawPointLabels(QPainter &p, const MeasureItem &item, const MeasureDrawOptions &opts, bool selected)
{
    const int m = LabelMargin(item);
    const bool following = item.labelBox.bottom == 0;
    int k = 0;
    for (const SubResult &sub : item.subResults) {
        ++k;
        if (sub.row < 0)
            continue;
        LabelBox box = sub.labelBox;
        const QString text = SubResultLabelText(item, k, sub);
        if (following) {
            box.left = ClampToInt(0LL + sub.pos.x() + m);
            box.top = ClampToInt(0LL + sub.pos.y() + m);
        }
        QPoint at(box.left, box.top);
        if (box.bottom >= 1 && !following) {
            const LabelBox fitted = FittedLabelBox(item, opts, LabelOf::Point, box);
            at = QPoint(fitted.left, fitted.top);
        } else {
            at = FittedTextPos(p, item, opts, LabelOf::Point, at, text);
        }
        const LabelBox r = DrawMeasureLabel(p, item, at.x(), at.y(), text);
        if (box.bottom <= 0 && selected) {
            box = FittedLabelBox(item, opts, LabelOf::Point,
                                 following ? WidenedLabelBox(r, m) : ExtendedLabelBox(r, m));
            DrawLabelFrame(p, box, m);
            DrawMeasureLabel(p, item, box.left, box.top, text);
        }
    }
}

// Indented lines under the label (the circle's diameter, radius, circumference),
// moved left together where the image would cut the longest.
void DrawDetailLines(QPainter &p, const MeasureItem &item, QPoint labelPos, QSize image)
{
    long long x = labelPos.x() + 0LL + item.fontSize + 10;
    if (!image.isEmpty()) {
        long long right = x;
        for (const SubResult &sub : item.subResults) {
            if (sub.row >= 0)
                right = std::max(right, x + Advance(p, QString::fromStdString(sub.text)));
        }
        if (right > image.width())
            x -= std::min(right - image.width(), std::max(0LL, x));
    }
    int k = 0;
    for (const SubResult &sub : item.subResults) {
        ++k;
        if (sub.row < 0)
            continue;
        DrawMeasureLabel(p, item, ClampToInt(x), ClampToInt(labelPos.y() + 1LL * k * item.fontSize + 10),
                         QString::fromStdString(sub.text));
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

QString MeasureLabelText(const MeasureItem &item, LabelMode mode, Language suffixLanguage, bool withUncertainty)
{
    QString text = QStringLiteral("No.%1").arg(item.number);
    if (mode == LabelMode::ItemNumberOnly || !ValueShown(item))
        return text;
    const std::string u = withUncertainty ? ExpandedUncertaintyText(item) : std::string();
    if (!u.empty())
        return text + QStringLiteral("  ")
            + QString::fromStdString(FormatMeasureValue(item.value, item.unit) + " \u00B1 " + u
                                     + UnitSuffix(item.unit, suffixLanguage));
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

void DrawListedMeasure(QPainter &p, const MeasureItem &item, const MeasureDrawOptions &opts, const QFont &labelFont)
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

    if (HasSubResultLabels(item)) {
        if (opts.labelMode == LabelMode::Details)
            DrawPointLabels(p, item, opts, selected);
        return;
    }
    const QString text = MeasureLabelText(item, opts.labelMode, opts.suffixLanguage, opts.showUncertainty);
    const int m = LabelMargin(item);

    QPoint pos = anchor.value_or(QPoint());
    if (item.labelBox.bottom >= 1) {
        const LabelBox fitted = FittedLabelBox(item, opts, LabelOf::Item, item.labelBox);
        pos = QPoint(fitted.left, fitted.top);
    } else {
        if (item.labelBox.bottom < 0)
            pos = QPoint(ClampToInt(0LL + item.labelBox.left + m), ClampToInt(0LL + item.labelBox.top + m));
        pos = FittedTextPos(p, item, opts, LabelOf::Item, pos, text);
    }
    const LabelBox r = DrawMeasureLabel(p, item, pos.x(), pos.y(), text);
    // Selected before its box is placed: framed where it stands, as the
    // layout places it.
    if (selected && item.labelBox.bottom <= 0) {
        const LabelBox box = FittedLabelBox(item, opts, LabelOf::Item,
                                            item.labelBox.bottom == 0 ? ExtendedLabelBox(r, m) : WidenedLabelBox(r, m));
        DrawLabelFrame(p, box, m);
        DrawMeasureLabel(p, item, box.left, box.top, text);
    }
    if (opts.labelMode == LabelMode::Details)
        DrawDetailLines(p, item, pos, opts.imageSize);
}

void DrawListedMeasure(QPainter &p, const MeasureItem &item, const MeasureDrawOptions &opts)
{
    DrawListedMeasure(p, item, opts, MakeLabelFont(opts.faceName, item.fontSize));
}

void DrawEditMeasure(QPainter &p, const MeasureItem &item, const MeasureDrawOptions &opts)
{
    PrepareItemPainter(p, item);
    // A text's selection frame is measured in its own label font.
    p.setFont(MakeLabelFont(opts.faceName, item.fontSize));
    DrawMeasureShape(p, item, opts.isSelected(item));
}

void DrawAllMeasures(QPainter &p, const MeasureList &list, const MeasureItem *editItem,
                     const MeasureDrawOptions &opts)
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

void DrawAllMeasures(QImage &composite, const MeasureList &list, const MeasureItem *editItem,
                     const MeasureDrawOptions &opts)
{
    QPainter p(&composite);
    DrawAllMeasures(p, list, editItem, opts);
}

}  // namespace orv

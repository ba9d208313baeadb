#include "measure/render/label_layout.h"

#include <algorithm>
#include <optional>

#include "measure/derive.h"
#include "measure/render/draw_shapes.h"
#include "measure/render/gdi_font.h"
#include "measure/render/gdi_paint.h"

namespace orv {
namespace {

bool HasSubResultLabels(const MeasureItem &item)
{
    return item.kind == KindPerpendicular || item.kind == KindParallel;
}

// Kinds 12, 13 and 14 place no label box; neither does a drawing without labels.
bool PlacesLabels(const MeasureItem &item, const MeasureDrawOptions &opts)
{
    return item.kind != KindStandardLine && item.kind != KindStandardParallel && item.kind != KindText &&
           static_cast<int>(opts.labelMode) >= 0;
}

// The label font is made only when a width is needed: most items keep their boxes.
class LazyTextWidth {
public:
    LazyTextWidth(const MeasureItem &item, const MeasureDrawOptions &opts) : item_(item), opts_(opts) {}
    int operator()(const QString &text)
    {
        if (!font_)
            font_ = MakeLabelFont(opts_.faceName, item_.fontSize);
        return TextWidth(*font_, text);
    }

private:
    const MeasureItem &item_;
    const MeasureDrawOptions &opts_;
    std::optional<QFont> font_;
};

LabelBox TextBox(int x, int y, int width, int fontSize)
{
    return {x, y, ClampToInt(0LL + x + width), ClampToInt(0LL + y + fontSize)};
}

}  // namespace

LabelBox ExtendedLabelBox(const LabelBox &r, int m)
{
    return {r.left, r.top, ClampToInt(r.right + 2LL * m), ClampToInt(r.bottom + 2LL * m)};
}

LabelBox WidenedLabelBox(const LabelBox &r, int m)
{
    return {ClampToInt(0LL + r.left - m), ClampToInt(0LL + r.top - m), ClampToInt(0LL + r.right + m),
            ClampToInt(0LL + r.bottom + m)};
}

namespace {

// The shift along one axis that brings [lo, hi) inside [0, extent), where it fits.
long long AxisShift(long long lo, long long hi, int extent)
{
    if (hi - lo > extent)
        return 0;
    if (lo < 0)
        return -lo;
    return hi > extent ? extent - hi : 0;
}

// How far under its top an item's label reaches with its detail lines (0 without them).
long long DetailReach(const MeasureItem &item, const MeasureDrawOptions &opts, LabelOf which)
{
    if (which != LabelOf::Item || opts.labelMode != LabelMode::Details || HasSubResultLabels(item))
        return 0;
    long long last = 0;
    long long k = 0;
    for (const SubResult &sub : item.subResults) {
        ++k;
        if (sub.row >= 0)
            last = k;
    }
    return last == 0 ? 0 : last * item.fontSize + 10 + item.fontSize;
}

}  // namespace

QPoint LabelFitShift(const MeasureItem &item, const MeasureDrawOptions &opts, LabelOf which, QPoint pos, int width)
{
    if (opts.imageSize.isEmpty())
        return {};
    // The frame a selected label gets lies m around its text: it counts too.
    const long long m = LabelMargin(item);
    const long long dx = AxisShift(pos.x() - m, pos.x() + 0LL + width + m, opts.imageSize.width());
    const long long bottom =
        std::max(pos.y() + 0LL + item.fontSize + m, pos.y() + DetailReach(item, opts, which));
    const long long dy = AxisShift(pos.y() - m, bottom, opts.imageSize.height());
    return QPoint(ClampToInt(dx), ClampToInt(dy));
}

LabelBox FittedLabelBox(const MeasureItem &item, const MeasureDrawOptions &opts, LabelOf which, const LabelBox &box)
{
    if (opts.imageSize.isEmpty())
        return box;
    const long long width = std::max(0LL, 0LL + box.right - box.left - 2LL * LabelMargin(item));
    const QPoint d = LabelFitShift(item, opts, which, QPoint(box.left, box.top), ClampToInt(width));
    if (d.isNull())
        return box;
    // Still a placed box (bottom 1 or more) wherever it goes.
    return {ClampToInt(0LL + box.left + d.x()), ClampToInt(0LL + box.top + d.y()),
            ClampToInt(0LL + box.right + d.x()), std::max(1, ClampToInt(0LL + box.bottom + d.y()))};
}

LabelLayout LayOutLabels(const MeasureItem &item, const MeasureDrawOptions &opts)
{
    LabelLayout out{item.labelBox, {}};
    out.subResults.reserve(item.subResults.size());
    for (const SubResult &sub : item.subResults)
        out.subResults.push_back(sub.labelBox);
    if (!PlacesLabels(item, opts))
        return out;

    const bool selected = opts.isSelected(item);
    const int m = LabelMargin(item);
    LazyTextWidth width(item, opts);
    if (!HasSubResultLabels(item)) {
        // A selected label is framed where it is drawn first, and stays there.
        if (selected && out.box.bottom <= 0) {
            QPoint pos = MeasureLabelAnchor(item).value_or(QPoint());
            if (out.box.bottom < 0)
                pos = QPoint(ClampToInt(0LL + out.box.left + m), ClampToInt(0LL + out.box.top + m));
            const int w = width(MeasureLabelText(item, opts.labelMode, opts.suffixLanguage));
            pos += LabelFitShift(item, opts, LabelOf::Item, pos, w);
            const LabelBox r = TextBox(pos.x(), pos.y(), w, item.fontSize);
            out.box = FittedLabelBox(item, opts, LabelOf::Item,
                                     out.box.bottom == 0 ? ExtendedLabelBox(r, m) : WidenedLabelBox(r, m));
        } else if (out.box.bottom >= 1) {
            out.box = FittedLabelBox(item, opts, LabelOf::Item, out.box);
        }
        return out;
    }
    if (opts.labelMode != LabelMode::Details)
        return out;

    // Point labels follow their points until the item's box is placed.
    const bool following = item.labelBox.bottom == 0;
    for (std::size_t i = 0; i < item.subResults.size(); ++i) {
        const SubResult &sub = item.subResults[i];
        LabelBox &box = out.subResults[i];
        if (sub.row < 0)
            continue;
        if (following) {
            box.left = ClampToInt(0LL + sub.pos.x() + m);
            box.top = ClampToInt(0LL + sub.pos.y() + m);
        }
        if (box.bottom <= 0 && selected) {
            const int k = static_cast<int>(i) + 1;
            const int w = width(SubResultLabelText(item, k, sub));
            const QPoint at =
                QPoint(box.left, box.top) + LabelFitShift(item, opts, LabelOf::Point, QPoint(box.left, box.top), w);
            const LabelBox r = TextBox(at.x(), at.y(), w, item.fontSize);
            box = FittedLabelBox(item, opts, LabelOf::Point,
                                 following ? WidenedLabelBox(r, m) : ExtendedLabelBox(r, m));
        } else if (box.bottom >= 1 && !following) {
            box = FittedLabelBox(item, opts, LabelOf::Point, box);
        }
    }
    // From now on the point labels keep the boxes they were given.
    if (out.box.bottom == 0)
        out.box.bottom = 1;
    return out;
}

namespace {

// A placed box the image would cut.
bool Outside(const MeasureItem &item, const MeasureDrawOptions &opts, LabelOf which, const LabelBox &box)
{
    return box.bottom >= 1 && !(FittedLabelBox(item, opts, which, box) == box);
}

// False when the layout surely keeps every box (the common case, checked
// without building it; the whole list is checked at every composition).
bool MayPlace(const MeasureItem &item, const MeasureDrawOptions &opts)
{
    if (!PlacesLabels(item, opts))
        return false;
    const bool selected = opts.isSelected(item);
    if (!HasSubResultLabels(item))
        return (selected && item.labelBox.bottom <= 0) || Outside(item, opts, LabelOf::Item, item.labelBox);
    if (opts.labelMode != LabelMode::Details)
        return false;
    if (item.labelBox.bottom == 0)
        return true;
    return std::any_of(item.subResults.begin(), item.subResults.end(), [&](const SubResult &sub) {
        return sub.row >= 0 &&
               ((selected && sub.labelBox.bottom <= 0) || Outside(item, opts, LabelOf::Point, sub.labelBox));
    });
}

}  // namespace

bool ApplyLabelLayout(MeasureItem &item, const MeasureDrawOptions &opts)
{
    if (!MayPlace(item, opts))
        return false;
    LabelLayout layout = LayOutLabels(item, opts);
    bool changed = !(layout.box == item.labelBox);
    item.labelBox = layout.box;
    for (std::size_t i = 0; i < item.subResults.size(); ++i) {
        LabelBox &box = item.subResults[i].labelBox;
        changed = changed || !(box == layout.subResults[i]);
        box = layout.subResults[i];
    }
    return changed;
}

}  // namespace orv

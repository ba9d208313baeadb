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
            const LabelBox r =
                TextBox(pos.x(), pos.y(), width(MeasureLabelText(item, opts.labelMode, opts.suffixLanguage)),
                        item.fontSize);
            out.box = out.box.bottom == 0 ? ExtendedLabelBox(r, m) : WidenedLabelBox(r, m);
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
            const LabelBox r = TextBox(box.left, box.top, width(SubResultLabelText(item, k, sub)), item.fontSize);
            box = following ? WidenedLabelBox(r, m) : ExtendedLabelBox(r, m);
        }
    }
    // From now on the point labels keep the boxes they were given.
    if (out.box.bottom == 0)
        out.box.bottom = 1;
    return out;
}

namespace {

// False when the layout surely keeps every box (the common case, checked
// without building it; the whole list is checked at every composition).
bool MayPlace(const MeasureItem &item, const MeasureDrawOptions &opts)
{
    if (!PlacesLabels(item, opts))
        return false;
    const bool selected = opts.isSelected(item);
    if (!HasSubResultLabels(item))
        return selected && item.labelBox.bottom <= 0;
    if (opts.labelMode != LabelMode::Details)
        return false;
    if (item.labelBox.bottom == 0)
        return true;
    return selected && std::any_of(item.subResults.begin(), item.subResults.end(), [](const SubResult &sub) {
               return sub.row >= 0 && sub.labelBox.bottom <= 0;
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

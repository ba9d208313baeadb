#pragma once
// The label boxes as a drawing used to place them: the item drawn, its label
// measured by what the painter drew, and the boxes of a selected unplaced
// label (and of the point labels in detail mode) taken from that. The
// reference the label layout is checked against.

#include <QImage>
#include <QPainter>

#include <vector>

#include "measure/render/draw_measures.h"
#include "measure/render/draw_shapes.h"
#include "measure/render/gdi_font.h"
#include "measure/render/label_layout.h"

namespace orv::test {

// Every label box of a list, the items' and their sub-results', in order.
inline std::vector<LabelBox> ListLabelBoxes(const MeasureList &list)
{
    std::vector<LabelBox> boxes;
    for (const auto &item : list) {
        boxes.push_back(item->labelBox);
        for (const SubResult &sub : item->subResults)
            boxes.push_back(sub.labelBox);
    }
    return boxes;
}

inline LabelLayout DrawnLabelBoxes(const MeasureItem &item, const MeasureDrawOptions &opts)
{
    LabelLayout out{item.labelBox, {}};
    for (const SubResult &sub : item.subResults)
        out.subResults.push_back(sub.labelBox);
    QImage scratch(4, 4, QImage::Format_RGB32);
    QPainter p(&scratch);
    p.setFont(MakeLabelFont(opts.faceName, item.fontSize));
    const bool selected = opts.isSelected(item);
    const std::optional<QPoint> anchor = DrawMeasureShape(p, item, selected);
    if (item.kind == KindStandardLine || item.kind == KindStandardParallel || item.kind == KindText ||
        static_cast<int>(opts.labelMode) < 0)
        return out;
    const long long m = item.lineWidth + 2LL;
    const auto box = [](long long l, long long t, long long r, long long b) {
        return LabelBox{static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b)};
    };
    const bool points = item.kind == KindPerpendicular || item.kind == KindParallel;
    if (!points) {
        QPoint pos = anchor.value_or(QPoint());
        if (item.labelBox.bottom >= 1)
            pos = QPoint(item.labelBox.left, item.labelBox.top);
        else if (item.labelBox.bottom < 0)
            pos = QPoint(static_cast<int>(item.labelBox.left + m), static_cast<int>(item.labelBox.top + m));
        const LabelBox r = DrawMeasureLabel(p, item, pos.x(), pos.y(),
                                            MeasureLabelText(item, opts.labelMode, opts.suffixLanguage));
        if (selected && item.labelBox.bottom == 0)
            out.box = box(r.left, r.top, r.right + 2 * m, r.bottom + 2 * m);
        else if (selected && item.labelBox.bottom < 0)
            out.box = box(r.left - m, r.top - m, r.right + m, r.bottom + m);
        return out;
    }
    if (opts.labelMode != LabelMode::Details)
        return out;
    for (std::size_t i = 0; i < item.subResults.size(); ++i) {
        const SubResult &sub = item.subResults[i];
        LabelBox &b = out.subResults[i];
        if (sub.row < 0)
            continue;
        if (item.labelBox.bottom == 0)
            b = box(sub.pos.x() + m, sub.pos.y() + m, b.right, b.bottom);
        const LabelBox r =
            DrawMeasureLabel(p, item, b.left, b.top, SubResultLabelText(item, static_cast<int>(i) + 1, sub));
        if (b.bottom <= 0 && selected)
            b = item.labelBox.bottom == 0 ? box(r.left - m, r.top - m, r.right + m, r.bottom + m)
                                          : box(r.left, r.top, r.right + 2 * m, r.bottom + 2 * m);
    }
    if (out.box.bottom == 0)
        out.box.bottom = 1;
    return out;
}

inline void ApplyDrawnLabelBoxes(MeasureItem &item, const MeasureDrawOptions &opts)
{
    const LabelLayout drawn = DrawnLabelBoxes(item, opts);
    item.labelBox = drawn.box;
    for (std::size_t i = 0; i < drawn.subResults.size(); ++i)
        item.subResults[i].labelBox = drawn.subResults[i];
}

}  // namespace orv::test

#pragma once
// Drawing as the view does it with the model: each item's geometry is derived
// from its points (as valuing and the pointer handlers keep it), and the label
// boxes a drawing placed are taken over afterwards.

#include <QImage>
#include <QPainter>

#include "measure/derive.h"
#include "measure/render/draw_geometry.h"
#include "measure/render/draw_measures.h"
#include "measure/render/draw_shapes.h"

namespace orv::test {

inline void DeriveAll(MeasureList &list, MeasureItem *edit)
{
    for (const auto &item : list)
        UpdateDerivedGeometry(*item);
    if (edit)
        UpdateDerivedGeometry(*edit);
}

inline void DrawAllAsView(QImage &img, MeasureList &list, MeasureItem *edit, const MeasureDrawOptions &opts)
{
    DeriveAll(list, edit);
    ApplyPlacedLabels(list, DrawAllMeasures(img, list, edit, opts));
}

inline void DrawListedAsView(QPainter &p, MeasureItem &item, const MeasureDrawOptions &opts)
{
    UpdateDerivedGeometry(item);
    if (const std::optional<PlacedLabel> placed = DrawListedMeasure(p, item, opts))
        ApplyPlacedLabel(item, *placed);
}

inline void DrawEditAsView(QPainter &p, MeasureItem &item, const MeasureDrawOptions &opts)
{
    UpdateDerivedGeometry(item);
    DrawEditMeasure(p, item, opts);
}

inline std::optional<QPoint> DrawShapeAsView(QPainter &p, MeasureItem &item, bool selected)
{
    UpdateDerivedGeometry(item);
    return DrawMeasureShape(p, item, selected);
}

inline void DrawArcAsView(QPainter &p, MeasureItem &item)
{
    UpdateDerivedGeometry(item);
    DrawArcThrough3(p, item);
}

}  // namespace orv::test

#pragma once
// Drawing as the view does it with the model: each item's geometry is derived
// from its points (as valuing and the pointer handlers keep it), and the label
// boxes are placed after the drawing, which shows them unplaced.

#include <QImage>
#include <QPainter>

#include "measure/derive.h"
#include "measure/render/draw_geometry.h"
#include "measure/render/draw_measures.h"
#include "measure/render/draw_shapes.h"
#include "measure/render/label_layout.h"

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
    DrawAllMeasures(img, list, edit, opts);
    for (const auto &item : list)
        ApplyLabelLayout(*item, opts);
}

inline void DrawListedAsView(QPainter &p, MeasureItem &item, const MeasureDrawOptions &opts)
{
    UpdateDerivedGeometry(item);
    DrawListedMeasure(p, item, opts);
    ApplyLabelLayout(item, opts);
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

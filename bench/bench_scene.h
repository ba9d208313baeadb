#pragma once
// A large still with many measurements of mixed kinds, as the view benchmarks
// compose it, and one item's clone being dragged by a point.

#include <QImage>

#include <memory>

#include "measure/measure_item.h"
#include "view/view_layer.h"

namespace orv::bench {

struct Scene {
    QImage source;
    MeasureList list;
    ScaleSetting calibration;
    StandardScale scale;
    std::unique_ptr<MeasureItem> edit;  // the clone of the dragged item
    int dragIndex = 0;                  // the point being dragged
    QPoint dragFrom;

    // The inputs as the main window hands them over on every composition.
    LayerInputs Inputs();
};

// A width x height still with `count` measurements; the clone of one item
// (placed inside the top-left 1600 x 1000) is selected and being dragged.
std::unique_ptr<Scene> MakeScene(int width, int height, int count);

}  // namespace orv::bench

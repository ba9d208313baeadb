#pragma once
// Values, units and sub-result texts of measurements under a calibration.

#include <functional>

#include "measure/language.h"
#include "measure/measure_item.h"
#include "measure/uncertainty.h"

namespace orv {

// Length per horizontal / vertical pixel and the calibration's unit index
// (1 mm, 2 um, 3 inch).
struct ScaleFactors {
    double sx = 1.0;
    double sy = 1.0;
    int unit = 2;
    UncertaintyInputs uncertainty = {};
};

// Derives the item's geometry from its points (UpdateDerivedGeometry), then
// sets its value, unit and sub-result texts, and their uncertainties.
void ComputeMeasureValue(MeasureItem &item, const ScaleFactors &f, Language lang);

// Computes every item in list order, calling refreshRows after each one. An
// item whose label texts come out as they were keeps its label boxes.
void RecomputeAllMeasures(MeasureList &list, const ScaleFactors &f, Language lang,
                          const std::function<void(MeasureItem &)> &refreshRows);

}  // namespace orv

#pragma once
// Standard uncertainties of measured values by the law of propagation of
// uncertainty (first order, uncorrelated clicks), with the partial
// derivatives taken numerically from each kind's own formula.

#include <string>
#include <vector>

#include "measure/measure_item.h"

namespace orv {

// A click lands anywhere in its pixel: uniform over +-0.5 px on each axis.
inline constexpr double kDefaultClickUncertainty = 0.28867513459481287;  // 0.5 / sqrt(3)

// Coverage factor of the expanded uncertainty shown (about 95 %).
inline constexpr double kCoverageFactor = 2.0;

struct UncertaintyInputs {
    double click = kDefaultClickUncertainty;  // px, each axis of each clicked point
    double sx = 0.0;                          // of the length per horizontal pixel
    double sy = 0.0;                          // of the length per vertical pixel
    // One scale for both axes (Sync.): their errors are one error.
    bool sameScale = false;
    bool operator==(const UncertaintyInputs &) const = default;
};

// Standard uncertainty of each output of the item's formula (see
// measure_formula.h) at the length per pixel sx, sy. Empty when the item has
// no value. Needs the item's derived geometry to be up to date.
std::vector<double> OutputUncertainties(const MeasureItem &item, double sx, double sy,
                                        const UncertaintyInputs &u);

// The expanded uncertainty of the item's value printed as the value is (no
// unit suffix); empty when the value has none to show. The results list and
// the live picture's labels both show it.
std::string ExpandedUncertaintyText(const MeasureItem &item);
// Of a sub-result's numbers, "a / b" for an h / v pair, in the item's length unit.
std::string ExpandedUncertaintyText(const MeasureItem &item, const SubResult &sub);

}  // namespace orv

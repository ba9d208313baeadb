#pragma once
// A found ruler turned into the calibration: the axis the ruler lies closer
// to (both under Sync) gets the pixels and the length of the divisions the
// fit spans, with the fit's standard uncertainty scaled to that count.

#include <string>

#include "calib/ruler_result.h"
#include "calib/scale_setting.h"

namespace orv {

enum class RulerAxis { Horizontal, Vertical };

// Horizontal for rulers within 45 degrees of the x axis.
RulerAxis AxisOfRuler(const RulerResult &r);

// current with the ruler's scale applied; spacing is the length of one
// division in unit, which becomes the setting's unit (the other axis's
// length is converted when both units are in the mm, μm, inch table).
ScaleSetting ScaleFromRuler(const ScaleSetting &current, const RulerResult &r, double spacing,
                            const std::string &unit);

// Locale-independent decimal text with at most `decimals` places, trailing
// zeros dropped ("1234.5", "1000").
std::string DecimalText(double v, int decimals);

}  // namespace orv

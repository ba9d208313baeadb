#include "calib/standard_scale.h"

#include <algorithm>

#include "core/number_reading.h"

namespace orv {

StandardScale StandardScale::Defaults(Language lang, const ScaleSetting &calibration)
{
    StandardScale s;
    s.lengthUnit = std::string(DefaultUnitText(lang));
    s.updatePixelLength(calibration);
    return s;
}

void StandardScale::updatePixelLength(const ScaleSetting &calibration)
{
    pixelLength = ScaleLengthToPixels(calibration.hPixel, calibration.hValue, calibration.unit, length, lengthUnit);
}

int StandardScale::penWidth() const
{
    return std::max(1, ReadInt(thickness));
}

}  // namespace orv

#pragma once
// What lies under the pointer on the Scale page: a calibration bar's end or
// body, or the standard scale.

#include "measure/measure_item.h"

namespace orv {

enum ScaleGrip : int {
    GripNone = 0,
    GripHBarEnd = 1,
    GripHBarBody = -1,
    GripVBarEnd = 101,
    GripVBarBody = -2,
    GripStandardScale = -10,
};

struct ScaleBarHit {
    MeasureItem *bar = nullptr;  // owned by the document; nullptr when nothing was hit
    int grip = GripNone;
    explicit operator bool() const { return bar != nullptr; }
};

}  // namespace orv

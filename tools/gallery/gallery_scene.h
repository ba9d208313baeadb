#pragma once
// The gallery: every measurement kind, unselected and selected, with the
// calibration bars and the standard scale, in one image per label mode.

#include <QImage>

#include "measure/label_mode.h"

namespace orv {

QImage RenderGallery(LabelMode mode);

}  // namespace orv

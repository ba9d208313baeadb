#pragma once
// Texts about the image size a calibration belongs to: the Scale page's notes
// and the report's warning.

#include <QSize>
#include <QString>

#include "measure/language.h"

namespace orv {

// "1280 × 960".
QString ImageSizeText(QSize size);

// "Scale for <camera> at 1280 × 960: <scale>", as the page names the scale
// file chosen again for a camera's still.
QString CameraScaleText(const QString &camera, QSize size, const QString &scale, Language lang);

// "Calibrated at 1280 × 960; this image is 640 × 480." when a calibration
// made at madeAt is applied to an image of another size; empty when the
// sizes agree or either is unknown.
QString CalibrationSizeWarning(QSize madeAt, QSize image, Language lang);

}  // namespace orv

#include "calib/calibration_size.h"

namespace orv {

QString ImageSizeText(QSize size)
{
    return QStringLiteral("%1 × %2").arg(size.width()).arg(size.height());
}

QString CameraScaleText(const QString &camera, QSize size, const QString &scale, Language lang)
{
    return (lang == Language::English ? QStringLiteral("Scale for %1 at %2: %3")
                                      : QStringLiteral("%1（%2）のスケール: %3"))
        .arg(camera, ImageSizeText(size), scale);
}

QString CalibrationSizeWarning(QSize madeAt, QSize image, Language lang)
{
    if (madeAt.isEmpty() || image.isEmpty() || madeAt == image)
        return {};
    return (lang == Language::English ? QStringLiteral("Calibrated at %1; this image is %2.")
                                      : QStringLiteral("校正時の画像は %1 ですが、この画像は %2 です。"))
        .arg(ImageSizeText(madeAt), ImageSizeText(image));
}

}  // namespace orv

#pragma once
// The data part of the measurement file as JSON: calibration with its texts,
// standard scale, every item field, label mode and zoom. Unknown members are
// ignored; missing ones keep their defaults.

#include <QJsonObject>
#include <QSize>
#include <QString>

#include "export/measurement_file.h"

namespace orv {

QJsonObject SessionToJson(const MeasurementSession &session);

// Reads everything but the image into *session. Values a hostile file could
// use to overflow later arithmetic (coordinates far outside the image, absurd
// counts) make it fail with *what naming the member.
bool SessionFromJson(const QJsonObject &json, QSize imageSize, MeasurementSession &session, QString *what);

}  // namespace orv

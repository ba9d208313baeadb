#pragma once
// Messages of the camera half that go by the window's language: a frame
// beyond the image size limit, and a still that could not be written.

#include <QSize>
#include <QString>

#include "measure/language.h"

namespace orv {

// The camera's frame (size) is beyond the image size limit.
QString CameraTooLargeText(QSize size, Language language);
// The still could not be written to path, for the system's reason.
QString SnapshotFailureText(const QString &path, const QString &reason, Language language);

}  // namespace orv

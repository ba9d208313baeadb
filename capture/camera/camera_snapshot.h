#pragma once
// The frozen camera frame as a file: a BMP of the frame's own format (14-byte
// file header, 40-byte info header, rows bottom-up padded to 4 bytes) or a
// JPEG as Save Image writes one (high quality, full colour resolution).

#include <QByteArray>
#include <QString>

namespace orv {

class CameraFrame;

// The whole BMP file of the frame; empty for a null frame.
QByteArray BuildSnapshotBmp(const CameraFrame &frame);

// Writes the frame to path: a JPEG when type is exactly "jpg", else a BMP.
// The file is replaced only when written whole. False when nothing was
// written, with the system's reason in *reason (when given).
bool WriteSnapshot(const CameraFrame &frame, const QString &path, const QString &type, QString *reason = nullptr);

}  // namespace orv

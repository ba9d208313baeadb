#pragma once
// The main window's side of measurement files: which files it opens, the
// session shown after the file's image was put in place, and the session
// written from the window.

#include <QString>

#include "export/measurement_file.h"

class QMimeData;

namespace orv {

class MainWindow;
class OptionsPage;
class PageHost;
class ScalePage;

// The measurement file choice of the file choosers, in their "Name|*.x|" form.
inline constexpr char kMeasurementFileFilter[] = "Measurement Files (*.orvm)|*.orvm|";

// ".orvm" in any case.
bool IsMeasurementFilePath(const QString &path);
// A measurement file or an image the window reads, by its suffix.
bool IsOpenableFilePath(const QString &path);
// The first local file among dropped data that the window opens; empty when
// there is none (remote addresses, folders, other kinds of files).
QString FirstOpenableFile(const QMimeData *data);

// After the window took the session's image as a newly loaded one: the
// document takes everything else, the pages (when there) show the
// calibration and the label mode, and the view gets the session's zoom.
void ShowMeasurementSession(PageHost &host, ScalePage *calib, OptionsPage *option, MeasurementSession session);

// The window's image, calibration, items, label mode and zoom, written
// atomically. False with the reason in *reason when nothing was written.
bool SaveWindowMeasurements(MainWindow &mainWindow, const QString &path, QString *reason = nullptr);

}  // namespace orv

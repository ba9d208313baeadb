#pragma once
// The calibration bars and the standard scale drawn into the composite.

#include <QImage>
#include <QPainter>
#include <QPoint>

#include "calib/scale_setting.h"
#include "calib/standard_scale.h"

namespace orv {

// Index of the calibration page among the main window's pages.
inline constexpr int kCalibrationPageIndex = 1;

// Half length of the end ticks.
inline constexpr int kBarTick = 8;

// Horizontal bar of length n from (x, y): end ticks at x and x + n from y - 8
// to y + 8, and the bar line, each without its last pixel. Current pen.
void DrawHorizontalBarShape(QPainter &p, QPoint start, int n);
// Vertical bar of length n from (x, y) downwards, ticks from x - 8 to x + 8.
void DrawVerticalBarShape(QPainter &p, QPoint start, int n);
// A calibration bar's shape on a light halo a pixel wide, then in the current
// pen: it shows on dark pictures as on light ones.
void DrawHaloedBarShape(QPainter &p, QPoint start, int n, bool vertical);

// How the calibration bars look: on screen on a light halo, so that they can
// be found on any picture; in a saved picture plain, as they always were.
enum class BarLook { OnScreen, Saved };

// The calibration bars (only while the calibration page is current) with
// their "<value><unit>" labels, then the standard scale when it is shown.
void DrawScaleBars(QPainter &p, const StandardScale &scale, const ScaleSetting &calibration,
                   bool calibrationPageCurrent, BarLook look = BarLook::OnScreen);
void DrawScaleBars(QImage &composite, const StandardScale &scale, const ScaleSetting &calibration,
                   int currentTab, BarLook look = BarLook::OnScreen);

}  // namespace orv

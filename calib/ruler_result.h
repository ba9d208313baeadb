#pragma once
// What the ruler finder reports: a fitted pitch with its uncertainty, or why
// no ruler was found.

#include <QPointF>

#include <string>
#include <vector>

#include "measure/language.h"

namespace orv {

enum class RulerFailure {
    None,
    NoTicks,     // nothing regular enough to be a row of ticks
    TooShort,    // a row of ticks, but fewer than kMinRulerTicks
    Saturated,   // most pixels clipped black or white
    ImageTooSmall,
    LineTooShort,
};

inline constexpr int kMinRulerTicks = 8;

struct RulerResult {
    RulerFailure failure = RulerFailure::NoTicks;
    // Detail for the failure text: ticks seen (TooShort) or the image size.
    int detailA = 0;
    int detailB = 0;

    double pixelsPerDivision = 0.0;
    double uPixelsPerDivision = 0.0;  // standard uncertainty, px
    int ticks = 0;
    // Direction of the ruler in image coordinates (y down), in (-90, 90].
    double angleDeg = 0.0;
    double residualPx = 0.0;  // RMS distance of the ticks from the fitted line
    // Tick centres in image coordinates (pixel centres at whole numbers) and
    // each tick's division number along the ruler.
    std::vector<QPointF> tickPositions;
    std::vector<int> tickNumbers;
    // Half the tick band's width across the ruler, for drawing the ticks.
    double tickHalfLength = 0.0;

    bool found() const { return failure == RulerFailure::None; }
    // Divisions between the first and the last fitted tick.
    int span() const;
};

// "No ruler found: ..." in the given language; empty for a found ruler.
std::string RulerFailureText(const RulerResult &r, Language lang);

}  // namespace orv

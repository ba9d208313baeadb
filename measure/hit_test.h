#pragma once
// What part of a measurement lies under an image point: one of its points, its
// label, one of its sub-result labels, or one of its strokes. Pure geometry on
// the record, so the pointer interaction and tests share it.

#include <QPoint>

#include "measure/measure_item.h"

namespace orv {

// Negative answers of HitTestMeasure; 0 and above are point indices.
enum HitCode : int {
    HitStroke = -1,
    HitLabel = -2,
    HitSubResultLabel = -3,
};

struct MeasureHit {
    bool hit = false;
    // A point index (0 or more) or one of the HitCode values.
    int code = 0;
    // Index into subResults for HitSubResultLabel, else -1.
    int subResult = -1;
    explicit operator bool() const { return hit; }
};

// Tests, in this order, the item's points (within 5 pixels), its label boxes
// (bounds included) and its strokes (segments within 10 pixels, circles within
// 9). q is in image pixels.
MeasureHit HitTestMeasure(const MeasureItem &item, QPoint q);

// Width of a text in half-width cells: one per ASCII or half-width katakana
// character, two for any other (the byte count of the code page 932 form).
int TextCellCount(const std::string &utf8);

}  // namespace orv

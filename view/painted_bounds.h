#pragma once
// Where a drawing would put pixels: the drawing runs against a recording
// device that keeps what each primitive can touch (pen width, joins and text
// included), so a region of the composite can be restored and redrawn without
// comparing pixels. Long strokes are cut into short stretches: a line across
// the image covers a band along it, not the whole image.

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>

#include <cstddef>
#include <functional>
#include <vector>

namespace orv {

// One stretch of a drawing: the pixels it can change and a hash of what
// draws them (the primitive with its geometry or text, pen, brush and font):
// equal pieces of two drawings write the same pixels.
struct PaintedPiece {
    QRect rect;
    std::size_t what = 0;
    friend bool operator==(const PaintedPiece &, const PaintedPiece &) = default;
};

// Everything one drawing can change, piece by piece, in the order drawn,
// clipped to the image (a piece outside it keeps its place, empty).
struct PaintedArea {
    std::vector<PaintedPiece> pieces;
    QRect bounds;  // the union of the pieces

    bool Meets(const class RegionIndex &region) const;
    // Adds every piece's rectangle.
    void AddTo(std::vector<QRect> &rects) const;
    // Where this drawing and `other` (of the same item) differ: the pieces
    // of both that are not matched in order by equal pieces of the other,
    // place by place when both have as many, otherwise by their longest
    // common subsequence. Pixels no unmatched piece covers are written by the
    // same primitives in the same order in both.
    void AddDifferenceTo(const PaintedArea &other, std::vector<QRect> &rects) const;
};

// The union of many rectangles, merged pairwise (one by one costs the square
// of their number).
QRegion RegionOf(std::vector<QRect> rects);

// A region's rectangles, for many quick questions whether a rectangle meets it.
class RegionIndex {
public:
    explicit RegionIndex(const QRegion &region);
    bool Meets(const QRect &r) const;

private:
    std::vector<QRect> rects_;  // in bands from the top, as QRegion keeps them
    QRect bounds_;
};

// What `draw` can change when it paints on an image like `like` (same size
// and resolution).
PaintedArea PaintedPieces(const QImage &like, const std::function<void(QPainter &)> &draw);
// The same for `count` drawings made one after the other with one painter
// (a painter per drawing costs more than most drawings do).
std::vector<PaintedArea> PaintedPiecesEach(const QImage &like, std::size_t count,
                                           const std::function<void(QPainter &, std::size_t)> &draw);

}  // namespace orv

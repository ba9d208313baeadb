#include "view/painted_bounds.h"

#include <QHash>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orv {
namespace {

// Stretches of a long stroke are this long: short enough that a diagonal
// line covers a narrow band, long enough to keep the pieces few.
constexpr qreal kPieceLength = 64;

// Past this many cells the difference of two drawings is taken from their
// common beginning and end only.
constexpr std::size_t kMaxDiffCells = 1 << 18;

QRect ToPixels(const QRectF &b)
{
    if (b.isNull())
        return {};
    // Saturate: hostile coordinates must not wrap around.
    const auto clampi = [](qreal v) { return static_cast<int>(std::clamp<qreal>(v, -1.0e9, 1.0e9)); };
    return QRect(QPoint(clampi(std::floor(b.left())), clampi(std::floor(b.top()))),
                 QPoint(clampi(std::ceil(b.right())), clampi(std::ceil(b.bottom()))));
}

// Clips the segment a-b to r (Liang-Barsky); false when nothing of it is
// inside.
bool ClipSegment(QPointF &a, QPointF &b, const QRectF &r)
{
    qreal t0 = 0;
    qreal t1 = 1;
    const qreal dx = b.x() - a.x();
    const qreal dy = b.y() - a.y();
    const qreal p[4] = {-dx, dx, -dy, dy};
    const qreal q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const qreal t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF from = a;
    a = from + t0 * QPointF(dx, dy);
    b = from + t1 * QPointF(dx, dy);
    return true;
}

class BoundsEngine final : public QPaintEngine {
public:
    explicit BoundsEngine(QRect image) :
        QPaintEngine(QPaintEngine::AllFeatures),
        image_(image)
    {
    }

    PaintedArea take()
    {
        PaintedArea area;
        area.pieces = std::move(pieces_);
        pieces_.clear();
        for (const PaintedPiece &piece : area.pieces)
            area.bounds |= piece.rect;
        return area;
    }

    bool begin(QPaintDevice *) override
    {
        pieces_.clear();
        return true;
    }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState &changed) override
    {
        if (changed.state() & DirtyPen)
            pen_ = changed.pen();
        if (changed.state() & DirtyBrush)
            brush_ = changed.brush();
        if (changed.state() & DirtyTransform)
            transform_ = changed.transform();
    }

    void drawPath(const QPainterPath &path) override
    {
        std::size_t geometry = path.fillRule();
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            geometry = qHashMulti(geometry, e.x, e.y, static_cast<int>(e.type));
        }
        what_ = qHashMulti(Style(), 1, geometry);
        if (brush_.style() != Qt::NoBrush || transform_.type() > QTransform::TxTranslate) {
            Stroked(path.boundingRect());
            return;
        }
        // An outline: curves flattened, one more pixel for the flattening.
        for (const QPolygonF &poly : path.toSubpathPolygons(transform_)) {
            for (qsizetype i = 1; i < poly.size(); ++i)
                Piecewise(poly[i - 1], poly[i], Reach() + 1);
            if (poly.size() == 1)
                Piecewise(poly[0], poly[0], Reach() + 1);
        }
    }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        std::size_t geometry = static_cast<std::size_t>(mode);
        for (int i = 0; i < count; ++i)
            geometry = qHashMulti(geometry, points[i].x(), points[i].y());
        what_ = qHashMulti(Style(), 2, geometry);
        if (brush_.style() != Qt::NoBrush || transform_.type() > QTransform::TxTranslate || count < 2) {
            Stroked(QPolygonF(QList<QPointF>(points, points + count)).boundingRect());
            return;
        }
        for (int i = 1; i < count; ++i)
            Piecewise(transform_.map(points[i - 1]), transform_.map(points[i]), Reach());
        if (mode != PolylineMode)
            Piecewise(transform_.map(points[count - 1]), transform_.map(points[0]), Reach());
    }
    void drawPolygon(const QPoint *points, int count, PolygonDrawMode mode) override
    {
        QList<QPointF> f;
        f.reserve(count);
        for (int i = 0; i < count; ++i)
            f.push_back(QPointF(points[i]));
        drawPolygon(f.constData(), count, mode);
    }
    void drawLines(const QLineF *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            Line(lines[i].p1(), lines[i].p2());
    }
    void drawLines(const QLine *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            Line(QPointF(lines[i].p1()), QPointF(lines[i].p2()));
    }
    void drawRects(const QRectF *rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            what_ = qHashMulti(Style(), 3, rects[i].x(), rects[i].y(), rects[i].width(), rects[i].height());
            Stroked(rects[i].normalized());
        }
    }
    void drawRects(const QRect *rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            what_ = qHashMulti(Style(), 4, rects[i].x(), rects[i].y(), rects[i].width(), rects[i].height());
            Stroked(QRectF(rects[i]).normalized());
        }
    }
    void drawEllipse(const QRectF &r) override
    {
        QPainterPath path;
        path.addEllipse(r.normalized());
        drawPath(path);
    }
    void drawEllipse(const QRect &r) override { drawEllipse(QRectF(r)); }
    void drawPoints(const QPointF *points, int count) override
    {
        for (int i = 0; i < count; ++i) {
            what_ = qHashMulti(Style(), 5, points[i].x(), points[i].y());
            Stroked(QRectF(points[i], QSizeF(0, 0)));
        }
    }
    void drawPoints(const QPoint *points, int count) override
    {
        for (int i = 0; i < count; ++i) {
            what_ = qHashMulti(Style(), 6, points[i].x(), points[i].y());
            Stroked(QRectF(QPointF(points[i]), QSizeF(0, 0)));
        }
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        // Glyphs may overhang their advance; a margin of the ascent covers it.
        const qreal a = item.ascent();
        const QRectF box(p.x(), p.y() - a, item.width(), a + item.descent());
        what_ =
            qHashMulti(Style(), 7, p.x(), p.y(), item.text(), qHash(item.font()), static_cast<int>(item.renderFlags()));
        Add(box.adjusted(-a, -2, a, 2));
    }
    void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &) override
    {
        what_ = qHashMulti(Style(), 8, pm.cacheKey(), r.x(), r.y(), r.width(), r.height());
        Add(r);
    }
    void drawTiledPixmap(const QRectF &r, const QPixmap &pm, const QPointF &) override
    {
        what_ = qHashMulti(Style(), 9, pm.cacheKey(), r.x(), r.y(), r.width(), r.height());
        Add(r);
    }
    void drawImage(const QRectF &r, const QImage &image, const QRectF &, Qt::ImageConversionFlags) override
    {
        what_ = qHashMulti(Style(), 10, image.cacheKey(), r.x(), r.y(), r.width(), r.height());
        Add(r);
    }

private:
    // What, besides the geometry, decides the pixels a primitive writes.
    std::size_t Style() const
    {
        const QList<qreal> dashes = pen_.style() == Qt::SolidLine ? QList<qreal>() : pen_.dashPattern();
        std::size_t style = qHashMulti(0, pen_.color().rgba(), pen_.widthF(), static_cast<int>(pen_.style()),
                                       static_cast<int>(pen_.capStyle()), static_cast<int>(pen_.joinStyle()),
                                       qHashRange(dashes.begin(), dashes.end()), static_cast<int>(brush_.style()),
                                       brush_.color().rgba());
        if (const QPainter *p = painter())
            style = qHashMulti(style, static_cast<int>(p->renderHints()), static_cast<int>(p->backgroundMode()),
                               p->background().color().rgba(), static_cast<int>(p->compositionMode()), p->opacity(),
                               pen_.miterLimit(), pen_.dashOffset());
        return style;
    }

    // A stroke reaches half the pen width out, a mitred join up to the full
    // width; pixel snapping adds one more.
    qreal Reach() const
    {
        qreal reach = 1;
        if (pen_.style() != Qt::NoPen)
            reach += std::max<qreal>(1, pen_.widthF()) + 1;
        return reach;
    }

    void Stroked(const QRectF &geometry)
    {
        const qreal reach = Reach();
        Add(geometry.adjusted(-reach, -reach, reach, reach));
    }

    void Line(QPointF a, QPointF b)
    {
        what_ = qHashMulti(Style(), 11, a.x(), a.y(), b.x(), b.y());
        if (transform_.type() > QTransform::TxTranslate) {
            Stroked(QRectF(a, b).normalized());
            return;
        }
        Piecewise(transform_.map(a), transform_.map(b), Reach());
    }

    // The stretches of the segment a-b (device pixels) inside the image.
    void Piecewise(QPointF a, QPointF b, qreal reach)
    {
        if (!ClipSegment(a, b, QRectF(image_).adjusted(-reach, -reach, reach, reach)))
            return;
        const QPointF d = b - a;
        const qreal length = std::hypot(d.x(), d.y());
        const int n = std::max(1, static_cast<int>(std::ceil(length / kPieceLength)));
        for (int k = 0; k < n; ++k) {
            const QPointF from = a + d * (static_cast<qreal>(k) / n);
            const QPointF to = k + 1 == n ? b : a + d * (static_cast<qreal>(k + 1) / n);
            Piece(QRectF(from, to).normalized().adjusted(-reach, -reach, reach, reach));
        }
    }

    void Piece(const QRectF &device)
    {
        pieces_.push_back({ToPixels(device).intersected(image_),
                           qHashMulti(what_, transform_.m11(), transform_.m12(), transform_.m21(), transform_.m22(),
                                      transform_.dx(), transform_.dy())});
    }

    // Logical rectangle r as one piece.
    void Add(const QRectF &r) { Piece(transform_.mapRect(r)); }

    QRect image_;
    QPen pen_;
    QBrush brush_;
    QTransform transform_;
    std::size_t what_ = 0;  // the primitive being recorded
    std::vector<PaintedPiece> pieces_;
};

// A paint device with the size and resolution of an image that only records.
class BoundsDevice final : public QPaintDevice {
public:
    explicit BoundsDevice(const QImage &like) :
        like_(like),
        engine_(like.rect())
    {
    }
    QPaintEngine *paintEngine() const override { return &engine_; }
    PaintedArea take() { return engine_.take(); }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return like_.width();
        case PdmHeight: return like_.height();
        case PdmWidthMM: return like_.widthMM();
        case PdmHeightMM: return like_.heightMM();
        case PdmNumColors: return like_.colorCount();
        case PdmDepth: return like_.depth();
        case PdmDpiX: return like_.logicalDpiX();
        case PdmDpiY: return like_.logicalDpiY();
        case PdmPhysicalDpiX: return like_.physicalDpiX();
        case PdmPhysicalDpiY: return like_.physicalDpiY();
        case PdmDevicePixelRatio: return static_cast<int>(like_.devicePixelRatio());
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(like_.devicePixelRatio() * QPaintDevice::devicePixelRatioFScale());
        default: return QPaintDevice::metric(m);
        }
    }

private:
    const QImage &like_;
    mutable BoundsEngine engine_;
};

}  // namespace

bool PaintedArea::Meets(const RegionIndex &region) const
{
    return std::any_of(pieces.begin(), pieces.end(),
                       [&](const PaintedPiece &piece) { return region.Meets(piece.rect); });
}

void PaintedArea::AddTo(std::vector<QRect> &rects) const
{
    for (const PaintedPiece &piece : pieces)
        if (!piece.rect.isEmpty())
            rects.push_back(piece.rect);
}

void PaintedArea::AddDifferenceTo(const PaintedArea &other, std::vector<QRect> &rects) const
{
    const auto add = [&](const PaintedPiece &piece) {
        if (!piece.rect.isEmpty())
            rects.push_back(piece.rect);
    };
    if (pieces.size() == other.pieces.size()) {
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (pieces[i] == other.pieces[i])
                continue;
            add(pieces[i]);
            add(other.pieces[i]);
        }
        return;
    }
    const std::size_t shorter = std::min(pieces.size(), other.pieces.size());
    std::size_t head = 0;
    while (head < shorter && pieces[head] == other.pieces[head])
        ++head;
    std::size_t tail = 0;
    while (tail < shorter - head && pieces[pieces.size() - 1 - tail] == other.pieces[other.pieces.size() - 1 - tail])
        ++tail;
    const std::size_t n = pieces.size() - head - tail;
    const std::size_t m = other.pieces.size() - head - tail;
    const auto a = [&](std::size_t i) -> const PaintedPiece & { return pieces[head + i]; };
    const auto b = [&](std::size_t j) -> const PaintedPiece & { return other.pieces[head + j]; };
    if (n == 0 || m == 0 || n * m > kMaxDiffCells) {
        for (std::size_t i = 0; i < n; ++i)
            add(a(i));
        for (std::size_t j = 0; j < m; ++j)
            add(b(j));
        return;
    }
    // The longest common subsequence between: a selection inserts its marks
    // and label frames in several places.
    std::vector<std::uint32_t> len((n + 1) * (m + 1), 0);
    const auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t & { return len[i * (m + 1) + j]; };
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            at(i, j) = a(i) == b(j) ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < n && j < m) {
        if (a(i) == b(j)) {
            ++i;
            ++j;
        } else if (at(i + 1, j) >= at(i, j + 1)) {
            add(a(i++));
        } else {
            add(b(j++));
        }
    }
    for (; i < n; ++i)
        add(a(i));
    for (; j < m; ++j)
        add(b(j));
}

QRegion RegionOf(std::vector<QRect> rects)
{
    std::vector<QRegion> regions;
    regions.reserve(rects.size());
    for (const QRect &r : rects)
        if (!r.isEmpty())
            regions.emplace_back(r);
    while (regions.size() > 1) {
        std::vector<QRegion> merged;
        merged.reserve(regions.size() / 2 + 1);
        for (std::size_t i = 0; i + 1 < regions.size(); i += 2)
            merged.push_back(regions[i].united(regions[i + 1]));
        if (regions.size() % 2)
            merged.push_back(std::move(regions.back()));
        regions = std::move(merged);
    }
    return regions.empty() ? QRegion() : regions.front();
}

RegionIndex::RegionIndex(const QRegion &region) :
    rects_(region.begin(), region.end()),
    bounds_(region.boundingRect())
{
}

bool RegionIndex::Meets(const QRect &r) const
{
    if (r.isEmpty() || !bounds_.intersects(r))
        return false;
    // The bands' bottoms grow from the top: skip those above r.
    auto it =
        std::partition_point(rects_.begin(), rects_.end(), [&](const QRect &band) { return band.bottom() < r.top(); });
    for (; it != rects_.end() && it->top() <= r.bottom(); ++it) {
        if (it->intersects(r))
            return true;
    }
    return false;
}

PaintedArea PaintedPieces(const QImage &like, const std::function<void(QPainter &)> &draw)
{
    BoundsDevice device(like);
    {
        QPainter p(&device);
        if (!p.isActive())
            return {{{like.rect(), 1}}, like.rect()};
        draw(p);
    }
    return device.take();
}

std::vector<PaintedArea> PaintedPiecesEach(const QImage &like, std::size_t count,
                                           const std::function<void(QPainter &, std::size_t)> &draw)
{
    std::vector<PaintedArea> areas;
    areas.reserve(count);
    BoundsDevice device(like);
    QPainter p(&device);
    for (std::size_t i = 0; i < count; ++i) {
        if (!p.isActive()) {
            areas.push_back({{{like.rect(), 1}}, like.rect()});
            continue;
        }
        draw(p, i);
        areas.push_back(device.take());
    }
    return areas;
}

}  // namespace orv

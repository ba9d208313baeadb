#include "app/painted_bounds.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>

#include <cmath>

namespace orv {
namespace {

class BoundsEngine final : public QPaintEngine {
public:
    BoundsEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    QRectF bounds() const { return bounds_; }
    void reset() { bounds_ = QRectF(); }

    bool begin(QPaintDevice *) override
    {
        bounds_ = QRectF();
        return true;
    }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & DirtyPen)
            pen_ = state.pen();
        if (state.state() & DirtyTransform)
            transform_ = state.transform();
    }

    void drawPath(const QPainterPath &path) override { Stroked(path.boundingRect()); }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode) override
    {
        Stroked(QPolygonF(QList<QPointF>(points, points + count)).boundingRect());
    }
    void drawPolygon(const QPoint *points, int count, PolygonDrawMode) override
    {
        Stroked(QRectF(QPolygon(QList<QPoint>(points, points + count)).boundingRect()));
    }
    void drawLines(const QLineF *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            Stroked(QRectF(lines[i].p1(), lines[i].p2()).normalized());
    }
    void drawLines(const QLine *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            Stroked(QRectF(QPointF(lines[i].p1()), QPointF(lines[i].p2())).normalized());
    }
    void drawRects(const QRectF *rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            Stroked(rects[i].normalized());
    }
    void drawRects(const QRect *rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            Stroked(QRectF(rects[i]).normalized());
    }
    void drawEllipse(const QRectF &r) override { Stroked(r.normalized()); }
    void drawEllipse(const QRect &r) override { Stroked(QRectF(r).normalized()); }
    void drawPoints(const QPointF *points, int count) override
    {
        for (int i = 0; i < count; ++i)
            Stroked(QRectF(points[i], QSizeF(0, 0)));
    }
    void drawPoints(const QPoint *points, int count) override
    {
        for (int i = 0; i < count; ++i)
            Stroked(QRectF(QPointF(points[i]), QSizeF(0, 0)));
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        // Glyphs may overhang their advance; a margin of the ascent covers it.
        const qreal a = item.ascent();
        const QRectF box(p.x(), p.y() - a, item.width(), a + item.descent());
        Add(box.adjusted(-a, -2, a, 2));
    }
    void drawPixmap(const QRectF &r, const QPixmap &, const QRectF &) override { Add(r); }
    void drawTiledPixmap(const QRectF &r, const QPixmap &, const QPointF &) override { Add(r); }
    void drawImage(const QRectF &r, const QImage &, const QRectF &, Qt::ImageConversionFlags) override { Add(r); }

private:
    // A stroke reaches half the pen width out, a mitred join up to the full
    // width; pixel snapping adds one more.
    void Stroked(const QRectF &geometry)
    {
        qreal reach = 1;
        if (pen_.style() != Qt::NoPen)
            reach += std::max<qreal>(1, pen_.widthF()) + 1;
        Add(geometry.adjusted(-reach, -reach, reach, reach));
    }

    void Add(const QRectF &r) { bounds_ = bounds_.united(transform_.mapRect(r)); }

    QPen pen_;
    QTransform transform_;
    QRectF bounds_;
};

// A paint device with the size and resolution of an image that only records.
class BoundsDevice final : public QPaintDevice {
public:
    explicit BoundsDevice(const QImage &like) : like_(like) {}
    QPaintEngine *paintEngine() const override { return &engine_; }
    QRectF bounds() const { return engine_.bounds(); }
    void reset() { engine_.reset(); }

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

namespace {

QRect ToPixels(const QRectF &b)
{
    if (b.isNull())
        return {};
    // Saturate: hostile coordinates must not wrap around.
    const auto clampi = [](qreal v) {
        return static_cast<int>(std::clamp<qreal>(v, -1.0e9, 1.0e9));
    };
    return QRect(QPoint(clampi(std::floor(b.left())), clampi(std::floor(b.top()))),
                 QPoint(clampi(std::ceil(b.right())), clampi(std::ceil(b.bottom()))));
}

}  // namespace

QRect PaintedBounds(const QImage &like, const std::function<void(QPainter &)> &draw)
{
    BoundsDevice device(like);
    {
        QPainter p(&device);
        if (!p.isActive())
            return like.rect();
        draw(p);
    }
    return ToPixels(device.bounds());
}

std::vector<QRect> PaintedBoundsEach(const QImage &like, std::size_t count,
                                     const std::function<void(QPainter &, std::size_t)> &draw)
{
    std::vector<QRect> bounds;
    bounds.reserve(count);
    BoundsDevice device(like);
    QPainter p(&device);
    for (std::size_t i = 0; i < count; ++i) {
        if (!p.isActive()) {
            bounds.push_back(like.rect());
            continue;
        }
        device.reset();
        draw(p, i);
        bounds.push_back(ToPixels(device.bounds()));
    }
    return bounds;
}

}  // namespace orv

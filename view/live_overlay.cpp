#include "view/live_overlay.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

#include "calib/scale_bars.h"
#include "core/number_reading.h"
#include "measure/derive.h"
#include "measure/render/gdi_font.h"
#include "measure/render/gdi_paint.h"

namespace orv {
namespace {

// The note at the picture's foot: white on black, readable over any frame.
constexpr int kNoteFontSize = 14;
constexpr int kNoteMargin = 4;

int ScaledLength(int n, double factor)
{
    return ClampToInt(std::llround(std::clamp(n * factor, -2e9, 2e9)));
}

// A box's top left goes with the drawing, its size stays: labels keep their
// pixel font. Not placed (bottom 0) stays as it is; to be measured again
// (bottom -1) keeps that mark where it moves.
LabelBox MappedBox(const LabelBox &box, const QTransform &toView)
{
    if (box.bottom == 0)
        return box;
    const QPoint at = MappedPixel({box.left, box.top}, toView);
    const long long dx = 0LL + at.x() - box.left;
    const long long dy = 0LL + at.y() - box.top;
    LabelBox out{at.x(), at.y(), ClampToInt(box.right + dx), box.bottom};
    // Still a placed box (bottom 1 or more) wherever it goes.
    if (box.bottom >= 1)
        out.bottom = std::max(1, ClampToInt(box.bottom + dy));
    return out;
}

std::string PixelText(const std::string &pixels, double factor)
{
    return std::to_string(std::llround(std::clamp(ReadDecimal(pixels) * factor, -1e9, 1e9)));
}

// The still's standard scale at its place in the view: the bar as long as
// the length it stands for, the text at its own size.
StandardScale MappedScale(StandardScale s, const QTransform &toView)
{
    s.position = MappedPixel(s.position, toView);
    s.pixelLength = ScaledLength(s.pixelLength, toView.m11());
    return s;
}

ScaleSetting MappedCalibration(ScaleSetting c, const QTransform &toView)
{
    c.hPixel = PixelText(c.hPixel, toView.m11());
    c.vPixel = PixelText(c.vPixel, toView.m22());
    c.hStart = MappedPixel(c.hStart, toView);
    c.vStart = MappedPixel(c.vStart, toView);
    return c;
}

void DrawNote(QPainter &p, const QString &note, const QString &face, QSize view)
{
    p.setFont(MakeLabelFont(face, kNoteFontSize));
    const TextStyle style{MakeColorRef(255, 255, 255), MakeColorRef(0, 0, 0), true};
    DrawTextTopLeft(p, kNoteMargin, view.height() - kNoteFontSize - kNoteMargin, note, style, kNoteFontSize);
}

}  // namespace

QPoint MappedPixel(QPoint pixel, const QTransform &toView)
{
    const QPointF c = toView.map(QPointF(pixel) + QPointF(0.5, 0.5));
    return {ClampToInt(std::llround(std::clamp(std::floor(c.x()), -2e9, 2e9))),
            ClampToInt(std::llround(std::clamp(std::floor(c.y()), -2e9, 2e9)))};
}

QTransform FrameToViewTransform(const LiveFrameMapping &mapping)
{
    if (!mapping.valid())
        return {};
    return QTransform(mapping.scaleX(), 0, 0, mapping.scaleY(), mapping.shown.left(), mapping.shown.top());
}

QTransform StillToViewTransform(const LiveOverlayInputs &in)
{
    return QTransform::fromScale(in.stillToFrameX, in.stillToFrameY) * FrameToViewTransform(in.mapping);
}

MeasureItem MappedItem(const MeasureItem &item, const QTransform &toView)
{
    MeasureItem out = item;
    for (MeasurePoint &pt : out.points) {
        pt.pos = MappedPixel(pt.pos, toView);
        pt.foot = MappedPixel(pt.foot, toView);
        pt.lineStart = MappedPixel(pt.lineStart, toView);
        pt.lineEnd = MappedPixel(pt.lineEnd, toView);
    }
    // Kept by an item too short to derive its circle; the rest is made again.
    const double scale = (std::abs(toView.m11()) + std::abs(toView.m22())) / 2;
    out.center = MappedPixel(item.center, toView);
    out.center2 = MappedPixel(item.center2, toView);
    out.radius = ScaledLength(item.radius, scale);
    out.radius2 = ScaledLength(item.radius2, scale);
    UpdateDerivedGeometry(out);
    out.labelBox = MappedBox(item.labelBox, toView);
    for (SubResult &sub : out.subResults) {
        sub.pos = MappedPixel(sub.pos, toView);
        sub.labelBox = MappedBox(sub.labelBox, toView);
    }
    return out;
}

void LiveOverlay::Invalidate()
{
    stale_ = true;
}

const QImage &LiveOverlay::Picture(QSize viewSize, const LiveOverlayInputs &in)
{
    if (viewSize.isEmpty()) {
        picture_ = QImage();
        return picture_;
    }
    if (!stale_ && picture_.size() == viewSize && drawnFor_ == in.mapping)
        return picture_;
    if (picture_.size() != viewSize)
        picture_ = QImage(viewSize, QImage::Format_ARGB32_Premultiplied);
    if (picture_.isNull())
        return picture_;
    picture_.fill(Qt::transparent);
    Draw(in);
    drawnFor_ = in.mapping;
    stale_ = false;
    ++draws_;
    return picture_;
}

void LiveOverlay::Draw(const LiveOverlayInputs &in)
{
    QPainter p(&picture_);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (!fonts_ || fontFace_ != in.options.faceName) {
        fonts_ = std::make_unique<LabelFontCache>(in.options.faceName);
        fontFace_ = in.options.faceName;
    }
    MeasureDrawOptions opts = in.options;
    opts.imageSize = picture_.size();

    if (in.mapping.valid()) {
        const QTransform still = StillToViewTransform(in);
        if (in.stillItems) {
            MeasureDrawOptions stillOpts = opts;
            stillOpts.selectedItem = nullptr;
            stillOpts.showUncertainty = false;
            for (const auto &item : *in.stillItems) {
                const MeasureItem copy = MappedItem(*item, still);
                DrawListedMeasure(p, copy, stillOpts, fonts_->get(copy.fontSize));
            }
        }
        if (in.standardScale && in.stillCalibration)
            DrawScaleBars(p, MappedScale(*in.standardScale, still), MappedCalibration(*in.stillCalibration, still),
                          false);

        const QTransform frame = FrameToViewTransform(in.mapping);
        MeasureDrawOptions liveOpts = opts;
        liveOpts.showUncertainty = in.showUncertainty;
        // The selection is the live item's copy.
        const auto draw = [&](const MeasureItem &item, bool listed) {
            const MeasureItem copy = MappedItem(item, frame);
            liveOpts.selectedItem = &item == in.options.selectedItem ? &copy : nullptr;
            if (listed)
                DrawListedMeasure(p, copy, liveOpts, fonts_->get(copy.fontSize));
            else
                DrawEditMeasure(p, copy, liveOpts);
        };
        if (in.liveItems) {
            for (const auto &item : *in.liveItems)
                draw(*item, true);
        }
        if (in.liveEdit)
            draw(*in.liveEdit, false);
    }
    if (!in.note.isEmpty())
        DrawNote(p, in.note, in.options.faceName, picture_.size());
}

void LiveOverlay::PaintOnto(QImage &picture, const LiveOverlayInputs &in)
{
    const QImage &overlay = Picture(picture.size(), in);
    if (overlay.isNull())
        return;
    QPainter p(&picture);
    p.drawImage(QPoint(0, 0), overlay);
}

}  // namespace orv

#pragma once
// What the live picture draws over the camera's frames: the current still's
// measurements and standard scale, and the measurements placed on the live
// picture itself. Geometry is mapped into view pixels while labels keep their
// size, so they stay readable however far the frame is scaled down. The
// drawing is cached as a transparent picture of the view's size: a new frame
// only blends it, and it is drawn again only when its inputs change.

#include <QImage>
#include <QString>
#include <QTransform>

#include <memory>
#include <optional>

#include "calib/scale_setting.h"
#include "calib/standard_scale.h"
#include "measure/measure_item.h"
#include "measure/render/draw_measures.h"
#include "view/live_frame_mapping.h"

namespace orv {

struct LiveOverlayInputs {
    LiveFrameMapping mapping;
    // The still's drawing, in the still's pixels (nullptr: none).
    const MeasureList *stillItems = nullptr;
    // Drawn with the still's calibration when both are present.
    std::optional<StandardScale> standardScale;
    std::optional<ScaleSetting> stillCalibration;
    // Frame pixels per still pixel: 1 when the still came from this camera at
    // this frame size, else what keeps lengths true under both calibrations.
    double stillToFrameX = 1.0;
    double stillToFrameY = 1.0;
    // The live measurements and the one being placed, in frame pixels.
    const MeasureList *liveItems = nullptr;
    const MeasureItem *liveEdit = nullptr;
    // Label mode, face, suffix language; the selection is a live item's.
    MeasureDrawOptions options;
    // Labels of live measurements add the expanded uncertainty.
    bool showUncertainty = false;
    // Told at the picture's foot when not empty (a scaled overlay).
    QString note;
};

class LiveOverlay {
public:
    // The inputs changed: the next Picture draws anew.
    void Invalidate();
    // The transparent drawing for in, of the mapping's view size (the size of
    // the picture it goes over), drawn anew only after Invalidate or when the
    // view size or the mapping changed.
    const QImage &Picture(QSize viewSize, const LiveOverlayInputs &in);
    // Draws Picture over picture (the view's RGB32 picture).
    void PaintOnto(QImage &picture, const LiveOverlayInputs &in);
    int drawCount() const { return draws_; }

private:
    void Draw(const LiveOverlayInputs &in);

    QImage picture_;
    // Fonts outlive a drawing: making them costs more than most items do.
    std::unique_ptr<LabelFontCache> fonts_;
    QString fontFace_;
    LiveFrameMapping drawnFor_;
    bool stale_ = true;
    int draws_ = 0;
};

// A copy of item in view pixels: its points mapped by toView and its derived
// geometry made again there, its label boxes moved with their top left; line
// widths and font sizes are kept. toView maps pixel corners; a pixel goes to
// the view pixel its centre lands in.
MeasureItem MappedItem(const MeasureItem &item, const QTransform &toView);

// Where toView puts a pixel: the view pixel under the pixel's centre.
QPoint MappedPixel(QPoint pixel, const QTransform &toView);

// The still's pixels (corners) to view pixels, and the frame's.
QTransform StillToViewTransform(const LiveOverlayInputs &in);
QTransform FrameToViewTransform(const LiveFrameMapping &mapping);

}  // namespace orv

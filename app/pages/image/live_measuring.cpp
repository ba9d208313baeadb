#include "app/pages/image/live_measuring.h"

#include <QFileInfo>
#include <QPainter>

#include <cmath>

#include "app/pages/image/live_view.h"
#include "calib/camera_scale_index.h"
#include "calib/scale_file.h"
#include "measure/hit_test.h"

namespace orv {
namespace {

// Micrometres in one unit of a calibration (its unit index).
double Micrometres(int unit)
{
    switch (unit) {
    case 1: return 1000.0;
    case 3: return 25400.0;
    default: return 1.0;
    }
}

// Micrometres per pixel along each axis; 0 when the calibration says nothing usable.
QPointF MicrometresPerPixel(const ScaleSetting &setting)
{
    const ScaleFactors f = setting.Factors();
    const double x = f.sx * Micrometres(f.unit);
    const double y = f.sy * Micrometres(f.unit);
    const auto usable = [](double v) { return std::isfinite(v) && v > 0.0; };
    return usable(x) && usable(y) ? QPointF(x, y) : QPointF();
}

}  // namespace

LiveMeasuring::LiveMeasuring(MeasureDocument &still, LiveView &view, UiPrompter &prompter, Language language,
                             QString settingsDir, QObject *parent) :
    QObject(parent),
    still_(still),
    view_(&view),
    language_(language),
    settingsDir_(std::move(settingsDir)),
    live_(language, language),
    liveView_(&view, prompter,
              LiveInteractionView::Hooks{[this] { return static_cast<int>(tool_); }, [this] { Redraw(); },
                                         [this] { return language_; }}),
    interaction_(live_, liveView_)
{
    setObjectName(QStringLiteral("liveMeasuring"));
    connect(&still_, &MeasureDocument::imageChanged, this, &LiveMeasuring::StillImageChanged);
    connect(&still_, &MeasureDocument::stillCameraChanged, this, [this] { stillCamera_ = still_.stillCamera(); });
    StillImageChanged();
    view.SetMeasuring(this);
}

LiveMeasuring::~LiveMeasuring()
{
    if (view_)
        view_->SetMeasuring(nullptr);
}

void LiveMeasuring::StillImageChanged()
{
    if (still_.hasImage()) {
        stillSize_ = still_.image().size();
        stillCamera_ = still_.stillCamera();
        return;
    }
    if (stillSize_.isEmpty())
        return;
    // The window gives the still up for the live picture: what was measured
    // on it stays to be drawn over the frames.
    lastStill_.items.Clear();
    for (const auto &item : still_.list())
        lastStill_.items.Append(CloneMeasureItem(*item));
    lastStill_.size = stillSize_;
    lastStill_.camera = stillCamera_;
    lastStill_.calibration = still_.calibration();
    lastStill_.present = true;
    stillSize_ = QSize();
    // Without a scale file for the camera, live values take the still's calibration.
    Calibrate();
    UpdateOverlayScale();
    Redraw();
}

void LiveMeasuring::SetCamera(const QString &name)
{
    // Also for the same camera again: the scale file remembered for it may be new.
    camera_ = name;
    Calibrate();
    UpdateOverlayScale();
    Redraw();
}

void LiveMeasuring::SetOverlayShown(bool shown)
{
    overlayShown_ = shown;
    Redraw();
}

void LiveMeasuring::SetTool(MeasureKind kind)
{
    tool_ = kind;
    // New live measurements take the window's current look.
    live_.editDrawAttribute() = still_.drawAttribute();
    if (tool_ == KindUndefined && live_.editItem()) {
        live_.SetEditItem(nullptr);
        liveView_.setDragMode(DragMode::Idle);
        Redraw();
    }
}

void LiveMeasuring::MappingChanged()
{
    if (!view_)
        return;
    const LiveFrameMapping mapping = view_->mapping();
    // Without a frame the last one's measurements wait for the next.
    if (!mapping.frame.isEmpty() && mapping.frame != frame_) {
        // Frame pixels of another size are other places.
        ClearLive();
        frame_ = mapping.frame;
        liveView_.SetFrameSize(frame_);
        live_.SetImage(QImage(frame_, QImage::Format_Mono), ImageOrigin::CameraFrame);
        Calibrate();
        UpdateOverlayScale();
    }
    inputs_.mapping = mapping;
    overlay_.Invalidate();
}

void LiveMeasuring::Calibrate()
{
    Calibration calibration = still_.calibration();
    if (!camera_.isEmpty() && !frame_.isEmpty()) {
        const QString name = CameraScaleIndex::Load(settingsDir_).scaleFor(camera_, frame_);
        const QString path = name.isEmpty() ? QString() : ScaleFilePath(settingsDir_, name);
        if (!path.isEmpty() && QFileInfo::exists(path)) {
            // As the Scale page applies it to this camera's next still.
            const double click = calibration.setting.clickU;
            calibration.setting = LoadScaleSetting(path);
            calibration.setting.clickU = click;
        }
    }
    live_.editCalibration() = calibration;
    live_.RecomputeAll();
}

void LiveMeasuring::UpdateOverlayScale()
{
    inputs_.stillToFrameX = inputs_.stillToFrameY = 1.0;
    note_.clear();
    if (!lastStill_.present || frame_.isEmpty())
        return;
    if (!lastStill_.camera.isEmpty() && lastStill_.camera == camera_ && lastStill_.size == frame_)
        return;
    // Another camera or frame size: lengths stay true under both calibrations.
    const QPointF still = MicrometresPerPixel(lastStill_.calibration.setting);
    const QPointF live = MicrometresPerPixel(live_.calibration().setting);
    if (still.isNull() || live.isNull())
        return;
    inputs_.stillToFrameX = still.x() / live.x();
    inputs_.stillToFrameY = still.y() / live.y();
    const QString factor = QString::number(inputs_.stillToFrameX, 'f', 2);
    note_ = language_ == Language::English
        ? QStringLiteral("Overlay: a still of %1 x %2, shown x%3 by the calibrations")
              .arg(lastStill_.size.width())
              .arg(lastStill_.size.height())
              .arg(factor)
        : QStringLiteral("オーバーレイ: %1 x %2 の静止画を校正に合わせて x%3 で表示")
              .arg(lastStill_.size.width())
              .arg(lastStill_.size.height())
              .arg(factor);
}

bool LiveMeasuring::Active() const
{
    return inputs_.mapping.valid() && !frame_.isEmpty();
}

void LiveMeasuring::press(QPoint pos)
{
    if (Active() && tool_ != KindUndefined)
        interaction_.press(inputs_.mapping.ViewToFrame(pos));
}

void LiveMeasuring::move(QPoint pos)
{
    if (Active() && (tool_ != KindUndefined || liveView_.dragMode() != DragMode::Idle))
        interaction_.move(inputs_.mapping.ViewToFrame(pos));
}

void LiveMeasuring::release(QPoint pos)
{
    if (Active())
        interaction_.release(inputs_.mapping.ViewToFrame(pos));
}

void LiveMeasuring::doubleClick(QPoint pos)
{
    if (Active() && tool_ != KindUndefined)
        interaction_.doubleClick(inputs_.mapping.ViewToFrame(pos));
}

void LiveMeasuring::rightPress(QPoint pos)
{
    if (!Active())
        return;
    const QPoint frame = inputs_.mapping.ViewToFrame(pos);
    if (liveView_.dragMode() == DragMode::Idle) {
        // The Measure page removes the selected measurement: the one under the
        // pointer is selected first, the topmost when several meet there.
        const MeasureList &items = live_.list();
        for (std::size_t i = items.size(); i-- > 0;) {
            if (HitTestMeasure(items.at(i), frame)) {
                live_.Select(items.at(i).id);
                interaction_.move(frame);
                break;
            }
        }
    }
    interaction_.rightPress(frame);
}

void LiveMeasuring::leave()
{
    interaction_.leave();
}

void LiveMeasuring::Redraw()
{
    overlay_.Invalidate();
    if (view_)
        view_->update();
}

void LiveMeasuring::Paint(QPainter &painter)
{
    if (!inputs_.mapping.valid() || !view_)
        return;
    const bool overlay = overlayShown_ && lastStill_.present;
    if (!overlay && live_.list().empty() && !live_.editItem())
        return;
    MeasureDrawOptions options;
    options.labelMode = still_.labelMode() == LabelMode::ItemNumberOnly ? LabelMode::Summary : still_.labelMode();
    options.faceName = QString::fromStdString(still_.drawAttribute().faceName);
    options.suffixLanguage = still_.results().textLanguage();
    options.selectedItem = live_.selectedItem();
    options.selectionShown = true;
    options.imageSize = frame_;
    // Labels of live measurements are placed in frame pixels, as on a still.
    if (live_.PlaceLabels(options))
        overlay_.Invalidate();
    inputs_.options = options;
    inputs_.stillItems = overlay ? &lastStill_.items : nullptr;
    inputs_.standardScale.reset();
    inputs_.stillCalibration.reset();
    if (overlay) {
        inputs_.standardScale = lastStill_.calibration.standard;
        inputs_.stillCalibration = lastStill_.calibration.setting;
    }
    inputs_.note = overlay ? note_ : QString();
    inputs_.liveItems = &live_.list();
    inputs_.liveEdit = live_.editItem();
    inputs_.showUncertainty = still_.results().showUncertainty();
    const QImage &picture = overlay_.Picture(view_->size(), inputs_);
    painter.drawImage(QPoint(0, 0), picture);
}

int LiveMeasuring::CarryIntoStill()
{
    if (live_.editItem()) {
        live_.SetEditItem(nullptr);
        liveView_.setDragMode(DragMode::Idle);
    }
    const int carried = still_.hasImage() ? still_.AppendCopies(live_.list()) : 0;
    ClearLive();
    return carried;
}

void LiveMeasuring::ClearLive()
{
    live_.SetEditItem(nullptr);
    live_.ClearSelection();
    liveView_.setDragMode(DragMode::Idle);
    if (!live_.list().empty())
        live_.DeleteAll();
    Redraw();
}

}  // namespace orv

#pragma once
// Measuring on the live picture: the current still's measurements drawn over
// the live frames ("Overlay"), and distances, circles and angles placed on the
// live picture itself with the Measure page's pointer handlers. Live
// measurements are held in frame pixels, under the calibration remembered for
// this camera at this frame size, and a capture carries them into the still.

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>

#include <memory>

#include "app/interaction/pointer_interaction.h"
#include "app/pages/image/live_interaction_view.h"
#include "document/measure_document.h"
#include "view/live_overlay.h"

class QPainter;

namespace orv {

class LiveView;
class UiPrompter;

class LiveMeasuring : public QObject {
    Q_OBJECT

public:
    // The kinds the live picture offers, in the chooser's order after "none".
    static constexpr MeasureKind kLiveKinds[] = {KindDistance2Points, KindAreaCircle, KindAngle2Lines};

    // still: the window's document (its last still is drawn over the frames
    // and captures take the live measurements). settingsDir: where the scale
    // files and the camera index are.
    LiveMeasuring(MeasureDocument &still, LiveView &view, UiPrompter &prompter, Language language,
                  QString settingsDir, QObject *parent = nullptr);
    ~LiveMeasuring() override;

    // The camera whose frames the view shows (its name in the camera list):
    // live values follow its calibration.
    void SetCamera(const QString &name);
    void SetOverlayShown(bool shown);
    bool overlayShown() const { return overlayShown_; }
    // KindUndefined: the pointer places nothing.
    void SetTool(MeasureKind kind);
    MeasureKind tool() const { return tool_; }

    // The view's frame or its place changed (LiveView calls it).
    void MappingChanged();
    // The view's pointer events, in view pixels.
    void press(QPoint pos);
    void move(QPoint pos);
    void release(QPoint pos);
    void doubleClick(QPoint pos);
    void rightPress(QPoint pos);
    void leave();
    // Draws the overlay over what the view painted.
    void Paint(QPainter &painter);

    // The live measurements, in frame pixels.
    const MeasureList &liveItems() const { return live_.list(); }
    const MeasureDocument &liveDocument() const { return live_; }
    // The overlay's still → frame scale and the note that says so.
    double stillToFrameX() const { return inputs_.stillToFrameX; }
    double stillToFrameY() const { return inputs_.stillToFrameY; }
    const QString &note() const { return note_; }
    const LiveOverlay &overlay() const { return overlay_; }

    // The captured frame became the still: the live measurements join its
    // list as one step and leave the live picture. Returns how many.
    int CarryIntoStill();
    // Forgets the live measurements (another camera, another frame size).
    void ClearLive();

private:
    void StillImageChanged();
    void FollowFrame();
    void Calibrate();
    void UpdateOverlayScale();
    void Redraw();
    bool Active() const;
    Language language() const { return language_; }

    MeasureDocument &still_;
    QPointer<LiveView> view_;
    Language language_;
    QString settingsDir_;
    MeasureDocument live_;
    LiveInteractionView liveView_;
    PointerInteraction interaction_;
    LiveOverlay overlay_;
    LiveOverlayInputs inputs_;

    // The still last shown (kept when the window drops it for the live picture).
    struct StillCopy {
        QSize size;
        QString camera;
        MeasureList items;
        Calibration calibration;
        bool present = false;
    };
    QSize stillSize_;
    QString stillCamera_;
    StillCopy lastStill_;

    // Told over the overlay when the still is scaled to these frames.
    QString note_;
    QString camera_;
    QSize frame_;
    bool overlayShown_ = false;
    MeasureKind tool_ = KindUndefined;
};

}  // namespace orv

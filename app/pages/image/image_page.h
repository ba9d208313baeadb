#pragma once
// The Image page: opens an image file, runs the camera (image_page_camera.cpp)
// with its reference cross, and hosts the wireless microscope controls.

#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>

#include "app/pages/image/guide_window.h"
#include "app/pages/window_environment.h"
#include "capture/device_access.h"
#include "capture/snapshot_key/snapshot_flag.h"
#include "capture/snapshot_key/snapshot_poll.h"
#include "measure/language.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;
class QVBoxLayout;

namespace orv {

class ButtonDetection;
class CameraGraph;
class LiveMeasuring;
class PageHost;
class MultiLineButton;

class ImagePage : public QWidget {
    Q_OBJECT

public:
    explicit ImagePage(QWidget *parent = nullptr, const WindowEnvironment &env = {});
    ~ImagePage() override;

    void SetOwner(PageHost *owner);
    PageHost *owner() const { return owner_; }
    Language language() const { return language_; }

    int defaultCameraIndex() const { return defaultCameraIndex_; }
    int cameraState() const { return cameraState_; }
    int wirelessMode() const { return wirelessMode_; }
    QString workFilePath() const { return workFilePath_; }
    // The open camera's name as the camera list shows it (a still's camera).
    QString cameraName() const;

    // Rebuilds the camera list; chooses defaultCameraIndex.
    void FillCameraList();
    // Closes any open camera and starts opening the one at index (-1 closes
    // only). The open ends later, when the camera's first frame comes (or
    // it fails); meanwhile the camera controls are off.
    void OpenCamera(int index, QWidget *viewWindow);
    void SetWirelessMode(int on);
    // The wireless overlay choices, as the receiver takes them.
    QString overlayColourText() const { return colourText_; }
    QString lensText() const { return lensText_; }
    int crossIndicator() const { return crossIndicatorOn_; }

    // The Open button (1000).
    void OnOpen();

    QPushButton *openButton() const { return open_; }

    // --- measuring on the live picture (image_page_live.cpp) ----------------------
    // nullptr until the page has an owner with a live view.
    LiveMeasuring *liveMeasuring() const { return liveMeasuring_.get(); }
    // The capture became the window's still: the live measurements join it.
    void CarryLiveMeasurements();

    // --- camera (image_page_camera.cpp) ---------------------------------------------
    CameraGraph &cameraGraph() const { return *graph_; }
    GuideWindow *guideWindow() const { return guideWindow_; }
    // Writes the frozen camera frame (the image size 2 x 2 marks it).
    bool SaveFrozenFrame(const QString &path, const QString &extension, QString *reason = nullptr);
    void OnCapture();
    void OnLiveToggle();
    void OnCameraChoice(int index);
    void OnImageSetting();
    void OnOutputSetting();
    void OnGuideToggle();
    void OnThicknessChange(int position);
    void OnGuideColor();
    void UpdateGuideShape();

    // --- button and snapshot key (image_page_snapshot.cpp) ------------------------
    static constexpr int kSnapShotPollMs = 300;
    // One poll (the timer's): turns the camera's snapshot key or a microscope
    // button press into a capture while live.
    void OnSnapShotPoll();

private:
    void StartButtonDetection();
    void StopSnapShotPoll();
    // A camera was opened: its key device, the message once, the poll.
    void SnapShotCameraOpened(const QString &name);

    void StartCamera();
    // The graph's open ended: finishes the step that began it.
    void OnOpenFinished(bool opened);
    void FinishOpenCamera(bool opened);
    void FinishOutputSetting(bool running);
    // The camera controls and the wireless toggle wait for an open.
    void HoldControlsForOpen();
    // The controls and state of a page without an open camera.
    void EnterNoCameraState();
    void OnCameraStopped(const QString &reason);
    void ShowCameraMessage(const QString &text);
    void SetSaveImageEnabled(bool on);
    void RemoveWorkFile();

    std::unique_ptr<CameraGraph> graph_;
    QPointer<GuideWindow> guideWindow_;  // owned by its parent: the page or the live view
    QPointer<QWidget> guideParent_;      // the view of the last successful open
    QMetaObject::Connection frameLink_;  // camera frames -> that view
    // What the graph's open under way is for.
    enum class OpenStep { None, Camera, Format };
    OpenStep opening_ = OpenStep::None;
    int openingIndex_ = -1;
    QPointer<QWidget> openingView_;
    int guideShown_ = 0;
    QString thicknessText_ = QStringLiteral("1");

    DeviceAccess devices_;
    std::unique_ptr<ButtonDetection> buttons_;
    std::unique_ptr<SnapShotFlagReader> snapShotReader_;
    SnapShotMessageOnce snapShotMessage_;
    SnapShotPoll snapShotPoll_;
    // Set to 1 by the hidden button window, read and cleared by the poll
    // (both on the UI thread).
    std::int32_t buttonFlag_ = 0;
    bool snapShotCamera_ = false;  // the open camera is the one with the key
    QTimer *pollTimer_ = nullptr;

    void BuildControls();
    void BuildLiveMeasureControls();
    void LayOutLiveMeasureControls(QVBoxLayout *layout);
    void StartLiveMeasuring();
    // The camera whose picture the live view shows now.
    void FollowLiveCamera();
    void ApplyEnglishCaptions();
    void EnableCameraControls(bool on);
    QList<QWidget *> cameraControls() const;
    QList<QWidget *> liveModeSet() const;
    QList<QWidget *> wirelessSet() const;
    // Wireless controls (image_page_wireless.cpp).
    void ConnectWirelessControls();
    void PostDeviceEvent(int code);
    void ResizeForLiveView(bool on);
    void OnOverlayColour(int position);
    void OnLens(int position);

    PageHost *owner_ = nullptr;
    Language language_;
    std::shared_ptr<UiPrompter> prompter_;
    int defaultCameraIndex_ = -1;
    int cameraState_ = 0;
    int wirelessMode_ = 0;
    QString workFilePath_;
    QString colourText_ = QStringLiteral("Black");
    QString lensText_ = QStringLiteral("(nil)");
    int crossIndicatorOn_ = 0;

    QPushButton *open_ = nullptr;
    QPushButton *live_ = nullptr;
    QPushButton *wireless_ = nullptr;
    QGroupBox *liveGroup_ = nullptr;
    QLabel *cameraLabel_ = nullptr;
    QComboBox *camera_ = nullptr;
    QLabel *frameSize_ = nullptr;
    QPushButton *capture_ = nullptr;
    MultiLineButton *imageSetting_ = nullptr;
    MultiLineButton *outputSetting_ = nullptr;
    QCheckBox *guide_ = nullptr;
    QPushButton *guideColor_ = nullptr;
    QLabel *thicknessLabel_ = nullptr;
    QComboBox *thickness_ = nullptr;
    QGroupBox *wirelessGroup_ = nullptr;
    QLabel *colorLabel_ = nullptr;
    QComboBox *overlayColor_ = nullptr;
    QLabel *lensLabel_ = nullptr;
    QComboBox *lens_ = nullptr;
    QCheckBox *crossIndicator_ = nullptr;
    QCheckBox *overlay_ = nullptr;
    QLabel *liveToolLabel_ = nullptr;
    QComboBox *liveTool_ = nullptr;
    QString settingsDir_;
    std::unique_ptr<LiveMeasuring> liveMeasuring_;
};

}  // namespace orv

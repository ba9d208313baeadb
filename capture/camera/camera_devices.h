#pragma once
// The camera list: the video sources GStreamer's device monitor reports, in
// its order, less those whose name begins with "Google", plus the optional
// test-pattern camera. Also the frame sizes a source offers.

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "capture/camera/camera_gst.h"

namespace orv {

inline constexpr char kTestCameraName[] = "Test Pattern";
inline constexpr char kTestCameraVariable[] = "ORVALIN_TEST_CAMERA";
// The camera opened by default when it is listed, and the name of the
// camera whose snapshot button is polled.
inline constexpr char kDefaultCameraPrefix[] = "Kestra";
inline constexpr char kSnapshotCameraName[] = "Kestra USB Shot";

// A videotestsrc camera: the pattern's name and its frame size.
struct TestPatternSetting {
    QString pattern;
    QSize size{640, 480};
    bool operator==(const TestPatternSetting &) const = default;
};

// "smpte", "ball:1280x720", ... Unknown pattern names are accepted here and
// refused when the camera is listed; sizes beyond the image size limit are
// refused when the camera opens. nullopt for an empty or malformed text.
std::optional<TestPatternSetting> ParseTestCamera(const QString &text);
// The setting of ORVALIN_TEST_CAMERA, read when called.
std::optional<TestPatternSetting> TestCameraFromEnvironment();
// Whether videotestsrc knows the pattern name.
bool IsKnownTestPattern(const QString &pattern);

// Names beginning with the six characters "Google" are never listed.
bool IsListedCameraName(const QString &name);

// The camera to open: the current choice when there is one (current >= 0 and
// still in the list), else the first name beginning with "Kestra", else the
// first camera; -1 for an empty list.
int ChooseDefaultCamera(const QStringList &names, int current);

// One listed camera.
struct CameraDevice {
    QString name;
    gst::DevicePtr device;  // null for the test pattern
    std::optional<TestPatternSetting> testPattern;
};

struct CameraListing {
    std::vector<CameraDevice> cameras;
    bool monitorCreated = true;  // false when the device monitor could not be made
};

CameraListing ListCameras(const std::optional<TestPatternSetting> &testPattern);

// The V4L2 node behind a device ("/dev/video0"), empty when it has none.
QString DeviceNode(const CameraDevice &camera);

// The frame sizes caps offer, smallest first: fixed sizes and lists as they
// are, ranges as the common camera sizes they contain.
std::vector<QSize> OfferedSizes(const GstCaps *caps);
// The frame size fixed caps state (their first structure); invalid when the
// caps do not fix one.
QSize CapsFrameSize(const GstCaps *caps);
// Whether size is offered only as JPEG (so the graph needs a decoder).
bool OfferedOnlyAsJpeg(const GstCaps *caps, QSize size);
// Whether a source with these caps needs a JPEG decoder: for a forced size
// offered only as JPEG, or, with no size forced, when it offers JPEG and no
// raw video at all.
bool NeedsJpegDecoder(const GstCaps *caps, QSize forced);
// The caps of the camera's source (the device's, or videotestsrc's).
gst::CapsPtr CameraCaps(const CameraDevice &camera);

// A new source element for the camera (sunk, owned by the handle); null
// when it cannot be created.
gst::ElementPtr CreateCameraSource(const CameraDevice &camera);

}  // namespace orv

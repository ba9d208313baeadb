#pragma once
// A device provider of the tests' own, registered with GStreamer so the real
// device monitor lists test cameras backed by videotestsrc.

#include <QSize>
#include <QStringList>

#include <vector>

namespace orv::test {

// The cameras the provider offers, in its order.
inline const QStringList &TestCameraNames()
{
    static const QStringList names{
        QStringLiteral("Google Camera Adapter"),
        QStringLiteral("Other Cam"),
        QStringLiteral("Kestra USB Shot"),
        QStringLiteral("Failing Cam"),
        QStringLiteral("Broken Cam"),
        QStringLiteral("Jpeg Cam"),
        QStringLiteral("Held Cam"),
    };
    return names;
}

// The sizes every test camera offers; the first is what a camera runs at
// when no size is forced.
inline const std::vector<QSize> &TestCameraSizes()
{
    static const std::vector<QSize> sizes{{640, 480}, {1280, 720}, {1280, 1024}};
    return sizes;
}

// The sizes the JPEG camera offers (as JPEG only).
inline const std::vector<QSize> &JpegCameraSizes()
{
    static const std::vector<QSize> sizes{{1280, 720}, {640, 480}};
    return sizes;
}

// Frames the failing camera delivers before its stream errors out.
inline constexpr int kFailingCameraFrames = 15;
// The device node the broken camera reports (it does not exist).
inline constexpr char kBrokenCameraNode[] = "/nonexistent/video99";

// The device node the "Kestra USB Shot" camera reports. No such node needs
// to exist: its snapshot key is found through a test sysfs tree.
inline constexpr char kSnapshotCameraNode[] = "/dev/video42";

// The held camera starts like any other but sends no frame until its gate
// is opened: this opens the gate of the one made last (if it still exists).
void OpenHeldCameraGate();

// Registers the provider once per process (later calls do nothing) and lists
// its cameras.
void RegisterTestCameraProvider();
// Takes the provider's cameras off the device monitor's list (the provider
// stays registered) or puts them back.
void SetTestCamerasListed(bool listed);

}  // namespace orv::test

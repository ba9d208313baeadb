#pragma once
// The camera's snapshot key as a flag the image page polls: the input device
// with KEY_CAMERA that belongs to the open camera's USB device, read without
// blocking.

#include "capture/snapshot_key/snapshot_evdev.h"

#include <QString>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace orv {

enum class SnapShotStatus {
    Ok,
    NoDevice,    // no input device with the key could be opened
    Unreadable,  // the device's state could not be read
};

struct SnapShotRead {
    SnapShotStatus status = SnapShotStatus::NoDevice;
    // 1 while the key is down or when it went down since the last read (so a
    // press shorter than the poll interval is not lost); 0 otherwise.
    std::uint32_t value = 0;
};

// The messages of the two failures (the camera module's, in Japanese whatever
// the interface language).
inline const QString kSnapShotOpenFailedText = QStringLiteral("レジストリのオープンに失敗しました。");
inline const QString kSnapShotReadFailedText = QStringLiteral("レジストリの値取得に失敗しました。");

class SnapShotFlagReader {
public:
    explicit SnapShotFlagReader(std::shared_ptr<EvdevBackend> backend = MakeLibevdevBackend(),
                                std::filesystem::path sysfsRoot = "/sys", std::filesystem::path devRoot = "/dev");
    virtual ~SnapShotFlagReader() = default;

    // The open camera's video node ("/dev/video0"); empty when none is open.
    void SetCameraNode(std::string videoNode);
    const std::string &cameraNode() const { return cameraNode_; }

    // Finds the key's device when none is open yet, then reads it.
    virtual SnapShotRead ReadSnapShotFlag();

protected:
    // Run after each non-zero read. The kernel's key needs no handshake, so
    // this does nothing here; a driver that wants one overrides it.
    virtual void AcknowledgeSnapShot() { }

private:
    std::shared_ptr<EvdevBackend> backend_;
    std::filesystem::path sysfsRoot_;
    std::filesystem::path devRoot_;
    std::string cameraNode_;
    std::unique_ptr<EvdevDevice> device_;
};

// Failures of the snapshot key are told once per camera open: the poll goes
// on every 300 ms, and a message at each poll would lock the user out.
class SnapShotMessageOnce {
public:
    void CameraOpened() { shown_ = false; }
    // The text to show now for a read's outcome, or nothing.
    std::optional<QString> MessageFor(SnapShotStatus status);

private:
    bool shown_ = false;
};

}  // namespace orv

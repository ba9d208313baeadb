#pragma once
// What the image page's 300 ms poll decides: whether the camera's snapshot key
// or the microscope button asks for a capture now. Pure logic; the page
// supplies the camera state, the key reading and its button flag.

#include <cstdint>
#include <functional>
#include <optional>

namespace orv {

struct SnapShotPollState {
    bool cameraOpen = false;
    bool snapshotCamera = false;  // the open camera has the snapshot key
    bool live = false;
};

class SnapShotPoll {
public:
    // Reads the snapshot value; nullopt when the read failed.
    using ReadFlag = std::function<std::optional<std::uint32_t>()>;

    // One poll. readFlag is called only for an open snapshot camera. A
    // capture follows the rising edge of the value 1 (any non-zero value
    // marks the edge as seen) or a button press, and only while live. The
    // button flag is consumed at every poll, so presses never pile up: two
    // within one poll make one capture.
    bool Poll(const SnapShotPollState &state, const ReadFlag &readFlag, std::int32_t &buttonFlag);

private:
    bool previousSnapShot_ = false;
};

}  // namespace orv

#include "capture/snapshot_key/snapshot_poll.h"

namespace orv {

bool SnapShotPoll::Poll(const SnapShotPollState &state, const ReadFlag &readFlag, std::int32_t &buttonFlag)
{
    if (state.cameraOpen && state.snapshotCamera) {
        if (const auto value = readFlag()) {
            const bool capture = !previousSnapShot_ && *value == 1 && state.live;
            previousSnapShot_ = *value != 0;
            // The key is this camera's button: a press of the other button is
            // dropped here rather than kept to capture at some later poll.
            buttonFlag = 0;
            return capture;
        }
    }
    if (buttonFlag == 0)
        return false;
    buttonFlag = 0;
    return state.live;
}

}  // namespace orv

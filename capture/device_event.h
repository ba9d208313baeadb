#pragma once

namespace orv {

// Codes posted to the main window by the receiver thread and the image page.
// The numbers are observable (tests, the wireless protocol's notify mask).
enum class DeviceEvent : int {
    LongPress = 2,
    StreamResumed = 4,
    StreamSilent = 8,
    NbStart = 16,
    NbStop = 32,
    NbCapture = 64,
    NbSetScale = 128,
};

} // namespace orv

#pragma once
// What the main window reads from its surroundings at start-up; tests
// substitute every reading.

#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>

#include "measure/language.h"
#include "capture/device_access.h"
#include "capture/wireless_protocol.h"

namespace orv {

struct DlgEnvironment {
    LocaleSource locale = LocaleSource::FromPlatform();
    // Size of the desktop; the primary screen's when empty.
    std::function<QSize()> screenSize;
    // The temporary directory; QDir::tempPath() when empty. An empty result
    // means there is none.
    std::function<QString()> tempDir;
    // Caption height used when adjusting to a short screen.
    int captionHeight = 23;
    // The wireless microscope's UDP port (0: any free port, for tests) and
    // how long a wireless capture waits for its frame.
    std::uint16_t wirelessPort = kWirelessPort;
    int wirelessSaveWaitMs = kFrameSaveWaitMs;
    // The image page's button, snapshot key and camera controls.
    DeviceAccess devices;

    static DlgEnvironment FromPlatform() { return {}; }
};

}  // namespace orv

#pragma once
// What the windows read from their surroundings: handed from the main window
// to its pages and dialogs; tests substitute every reading.

#include <QDir>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

#include "app/dialogs/ui_prompter.h"
#include "capture/device_access.h"
#include "capture/wireless/wireless_protocol.h"
#include "measure/language.h"

namespace orv {

struct WindowEnvironment {
    // The directory current at start-up: the setting-file lists, their save
    // folder, the English marker and the wireless work file live there.
    QString startDir = QDir::currentPath();
    // The locale readings; the marker is looked up in startDir.
    LocaleSource locale = LocaleSource::FromPlatform(startDir.toStdString());
    // Every message, question, chooser and the about box: the real dialogs
    // unless a test hands in its own. Never null.
    std::shared_ptr<UiPrompter> prompter = MakeDialogPrompter(locale);
    // The part of the desktop windows may take (panels and task bars left
    // out); when empty, a desktop of screenSize at the origin, or else the
    // primary screen's available area.
    std::function<QRect()> screenArea;
    // Size of the desktop, when no area is given.
    std::function<QSize()> screenSize;
    // The temporary directory; QDir::tempPath() when empty. An empty result
    // means there is none.
    std::function<QString()> tempDir;
    // Where reports are written; the user's documents folder (the home
    // folder when there is none) when empty.
    std::function<QString()> reportDir;
    // Where copies of unsaved work are kept for recovery after a crash;
    // RecoveryStore::DefaultDir() when empty.
    QString recoveryDir;
    // Caption height used when adjusting to a short screen.
    int captionHeight = 23;
    // The wireless microscope's UDP port (0: any free port, for tests) and
    // how long a wireless capture waits for its frame.
    std::uint16_t wirelessPort = kWirelessPort;
    int wirelessSaveWaitMs = kFrameSaveWaitMs;
    // The image page's button, snapshot key and camera controls.
    DeviceAccess devices;

    // The process's readings with the given start directory (the marker and
    // the input dialog's language follow it).
    static WindowEnvironment FromPlatform(const QString &startDir = QDir::currentPath())
    {
        WindowEnvironment env;
        env.startDir = startDir;
        env.locale = LocaleSource::FromPlatform(startDir.toStdString());
        env.prompter = MakeDialogPrompter(env.locale);
        return env;
    }
};

}  // namespace orv

#pragma once
// What the main window reads from its surroundings at start-up; tests
// substitute every reading.

#include <QSize>
#include <QString>

#include <functional>

#include "language.h"

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

    static DlgEnvironment FromPlatform() { return {}; }
};

}  // namespace orv

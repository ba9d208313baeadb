#pragma once
// The application object: prepares the platform and runs the main window.

#include <QStringList>

namespace orv {

class Application {
public:
    // Fonts the drawing names but fontconfig does not map.
    static void RegisterFontSubstitutes();

    // Runs the main window modally; an image or measurement file given on the
    // command line is opened at start. Returns the process exit code.
    int Run(const QStringList &arguments);
};

}  // namespace orv

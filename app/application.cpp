#include "app/application.h"

#include <QFont>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "app/mainwindow/main_window.h"
#include "app/mainwindow/session_guard.h"
#include "app/mainwindow/window_files.h"

namespace orv {

void Application::RegisterFontSubstitutes()
{
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
}

namespace {

// ORVALIN_SCREENSHOT=file.png: grabs the screen once the window has settled
// and ends the program (used to check the window under a headless X server).
void ScheduleSelfGrab(MainWindow &mainWindow)
{
    const QString path = qEnvironmentVariable("ORVALIN_SCREENSHOT");
    if (path.isEmpty())
        return;
    const int delay = qEnvironmentVariableIntValue("ORVALIN_SCREENSHOT_DELAY");
    QTimer::singleShot(delay > 0 ? delay : 2000, &mainWindow, [&mainWindow, path] {
        if (QScreen *screen = QGuiApplication::primaryScreen())
            screen->grabWindow(0).save(path);
        mainWindow.commands().OnExit();
    });
}

}  // namespace

int Application::Run(const QStringList &arguments)
{
    RegisterFontSubstitutes();
    // Nothing to initialise for object embedding or sockets on this platform.
    MainWindow mainWindow;
    // The file given opens first, as the Open button does (the Scale page
    // follows it); then work a crashed session left is offered, so that
    // restoring it replaces the file rather than the file asking to discard it.
    QTimer::singleShot(0, &mainWindow, [&mainWindow, arguments] {
        OpenStartupFile(mainWindow, arguments);
        OfferRecovery(mainWindow);
    });
    ScheduleSelfGrab(mainWindow);
    mainWindow.exec();
    return 0;
}

}  // namespace orv

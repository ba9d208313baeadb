#include "app/orvalin_app.h"

#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "app/orvalin_dlg.h"

namespace orv {

void COrvalinApp::RegisterFontSubstitutes()
{
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
}

namespace {

// ORVALIN_SCREENSHOT=file.png: grabs the screen once the window has settled
// and ends the program (used to check the window under a headless X server).
void ScheduleSelfGrab(COrvalinDlg &dlg)
{
    const QString path = qEnvironmentVariable("ORVALIN_SCREENSHOT");
    if (path.isEmpty())
        return;
    const int delay = qEnvironmentVariableIntValue("ORVALIN_SCREENSHOT_DELAY");
    QTimer::singleShot(delay > 0 ? delay : 2000, &dlg, [&dlg, path] {
        if (QScreen *screen = QGuiApplication::primaryScreen())
            screen->grabWindow(0).save(path);
        dlg.commands().OnExit();
    });
}

}  // namespace

int COrvalinApp::Run(const QStringList &arguments)
{
    RegisterFontSubstitutes();
    // Nothing to initialise for object embedding or sockets on this platform.
    COrvalinDlg dlg;
    const QStringList files = arguments.mid(1);
    if (!files.isEmpty()) {
        const QString image = QFileInfo(files.first()).absoluteFilePath();
        // As the Open button does: the Scale page follows the loaded image.
        QTimer::singleShot(0, &dlg, [&dlg, image] {
            dlg.LoadImageFile(image);
            if (dlg.hasImage())
                dlg.host().SelectTab(TabScale);
        });
    }
    ScheduleSelfGrab(dlg);
    dlg.exec();
    return 0;
}

}  // namespace orv

#include "app/mainwindow/window_files.h"

#include <QFileInfo>

#include "app/dialogs/file_filter.h"
#include "app/dialogs/save_failure.h"
#include "app/dialogs/ui_prompter.h"
#include "app/interaction/pointer_interaction.h"
#include "app/mainwindow/discard_question.h"
#include "app/mainwindow/main_window.h"
#include "app/mainwindow/measurement_file_io.h"
#include "app/pages/image/image_page.h"
#include "app/pages/page_host.h"
#include "app/pages/page_index.h"
#include "document/document_history.h"
#include "document/measure_document.h"

namespace orv {

WindowFiles::WindowFiles(MainWindow &mainWindow, ImagePage *imagePage) :
    QObject(&mainWindow),
    mainWindow_(mainWindow),
    imagePage_(imagePage),
    baseTitle_(mainWindow.windowTitle())
{
    // The platform's mark for unsaved work goes where "[*]" stands.
    mainWindow.setWindowTitle(baseTitle_ + QStringLiteral("[*]"));
    setObjectName(QStringLiteral("windowFiles"));
    mainWindow.setAcceptDrops(true);
    // Giving the image up (back on the Image page, closing) ends the file.
    connect(&mainWindow.document(), &MeasureDocument::imageChanged, this, [this] {
        if (!mainWindow_.document().hasImage())
            Forget();
    });
}

WindowFiles::~WindowFiles() = default;

WindowFiles *WindowFiles::Of(const MainWindow &mainWindow)
{
    return mainWindow.findChild<WindowFiles *>(QString(), Qt::FindDirectChildrenOnly);
}

bool WindowFiles::Open(const QString &path)
{
    if (mainWindow_.pointer().dragMode() != DragMode::Idle)
        return false;
    const MeasureDocument &doc = mainWindow_.document();
    const bool work = doc.hasImage() && (!doc.list().empty() || doc.editItem());
    if (!ConfirmGivingUpImage(mainWindow_, work))
        return false;
    if (!Load(path))
        return false;
    if (IsMeasurementFilePath(path))
        measurementPath_ = path;
    else
        measurementPath_.clear();
    NameInTitle(QFileInfo(path).fileName());
    return true;
}

bool WindowFiles::OpenRecovered(MeasurementSession session, const QString &imageName)
{
    if (mainWindow_.pointer().dragMode() != DragMode::Idle ||
        !LoadWith([&] { mainWindow_.LoadSession(std::move(session)); }))
        return false;
    measurementPath_.clear();
    NameInTitle(imageName);
    return true;
}

bool WindowFiles::Load(const QString &path)
{
    if (!LoadWith([&] { mainWindow_.LoadImageFile(path); }))
        return false;
    lastDir_ = QFileInfo(path).absolutePath();
    return true;
}

bool WindowFiles::LoadWith(const std::function<void()> &load)
{
    const MeasureDocument &doc = mainWindow_.document();
    // From the Image page, as its Open button does: no live picture, no
    // wireless mode; the loaded image is shown on the Scale page.
    ImagePage *page = mainWindow_.host().currentTab() == PageImage ? imagePage_.data() : nullptr;
    if (page) {
        if (page->wirelessMode() == 1)
            page->SetWirelessMode(0);
        page->OpenCamera(-1, mainWindow_.host().liveView());
    }
    bool loaded = false;
    {
        const QMetaObject::Connection watch =
            connect(&doc, &MeasureDocument::imageChanged, this, [&loaded, &doc] { loaded = doc.hasImage(); });
        load();
        disconnect(watch);
    }
    if (!loaded) {
        // The file was not read: the Image page gets its camera back.
        if (page)
            page->OpenCamera(page->defaultCameraIndex(), mainWindow_.host().liveView());
        return false;
    }
    if (page)
        mainWindow_.host().SelectTab(PageScale);
    return true;
}

bool WindowFiles::SaveAs(const QString &path)
{
    QString reason;
    if (!SaveWindowMeasurements(mainWindow_, path, &reason)) {
        const QString lead = mainWindow_.host().language() == Language::English
            ? QStringLiteral("The measurement file could not be saved.")
            : QStringLiteral("計測ファイルを保存できませんでした。");
        mainWindow_.host().prompter().message(&mainWindow_, SaveFailureText(lead, path, reason),
                                              mainWindow_.windowTitle(), UiPrompter::Buttons::Ok,
                                              UiPrompter::Icon::Warning);
        return false;
    }
    measurementPath_ = path;
    lastDir_ = QFileInfo(path).absolutePath();
    NameInTitle(QFileInfo(path).fileName());
    mainWindow_.document().history().stack().setClean();
    return true;
}

bool WindowFiles::Save()
{
    if (!mainWindow_.hasImage() || mainWindow_.pointer().dragMode() != DragMode::Idle)
        return false;
    // A value typed on the Scale page counts, as when its field loses the focus.
    mainWindow_.CommitScaleEdits();
    QString path = measurementPath_;
    if (path.isEmpty()) {
        path = mainWindow_.host().prompter().saveFile(&mainWindow_, QString(), lastDir_,
                                                      QtFileFilter(QLatin1String(kMeasurementFileFilter)));
        if (path.isEmpty())
            return false;
        // Measurement data never goes out under an image's name.
        if (!IsMeasurementFilePath(path))
            path += QLatin1Char('.') + QLatin1String(kMeasurementFileSuffix);
    }
    return SaveAs(path);
}

void WindowFiles::NameInTitle(const QString &name)
{
    shownName_ = name;
    mainWindow_.setWindowTitle(baseTitle_ + (name.isEmpty() ? QString() : QStringLiteral(" - ") + name)
                               + QStringLiteral("[*]"));
}

void WindowFiles::Forget()
{
    measurementPath_.clear();
    NameInTitle(QString());
}

void OpenStartupFile(MainWindow &mainWindow, const QStringList &arguments)
{
    if (arguments.size() < 2)
        return;
    if (WindowFiles *files = WindowFiles::Of(mainWindow))
        files->Open(QFileInfo(arguments.at(1)).absoluteFilePath());
}

}  // namespace orv

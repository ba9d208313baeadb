#include "app/window_files.h"

#include <QFileInfo>

#include "app/calib_tab.h"
#include "app/discard_question.h"
#include "app/file_filter.h"
#include "app/image_tab.h"
#include "app/measurement_file_io.h"
#include "app/interaction/pointer_interaction.h"
#include "app/orvalin_dlg.h"
#include "app/page_host.h"
#include "app/tab_index.h"
#include "app/save_failure.h"
#include "app/ui_prompter.h"
#include "document/measure_document.h"

namespace orv {

WindowFiles::WindowFiles(COrvalinDlg &dlg) : QObject(&dlg), dlg_(dlg), baseTitle_(dlg.windowTitle())
{
    setObjectName(QStringLiteral("windowFiles"));
    dlg.setAcceptDrops(true);
    // Giving the image up (back on the Image page, closing) ends the file.
    connect(&dlg.document(), &MeasureDocument::imageChanged, this, [this] {
        if (!dlg_.document().hasImage())
            Forget();
    });
}

WindowFiles::~WindowFiles() = default;

WindowFiles *WindowFiles::Of(const COrvalinDlg &dlg)
{
    return dlg.findChild<WindowFiles *>(QString(), Qt::FindDirectChildrenOnly);
}

bool WindowFiles::Open(const QString &path)
{
    if (dlg_.pointer().dragMode() != DragMode::Idle)
        return false;
    const MeasureDocument &doc = dlg_.document();
    const bool work = doc.hasImage() && (!doc.list().empty() || doc.editItem());
    if (work && !ConfirmDiscardingImage(dlg_))
        return false;

    // From the Image page, as its Open button does: no live picture, no
    // wireless mode; the loaded image is shown on the Scale page.
    CImageTab *page = dlg_.host().currentTab() == TabImage ? dlg_.parts().imageTab : nullptr;
    if (page) {
        if (page->wirelessMode() == 1)
            page->SetWirelessMode(0);
        page->OpenCamera(-1, dlg_.host().liveView());
    }
    bool loaded = false;
    {
        const QMetaObject::Connection watch =
            connect(&doc, &MeasureDocument::imageChanged, this, [&loaded, &doc] { loaded = doc.hasImage(); });
        dlg_.LoadImageFile(path);
        disconnect(watch);
    }
    if (!loaded) {
        // The file was not read: the Image page gets its camera back.
        if (page)
            page->OpenCamera(page->defaultCameraIndex(), dlg_.host().liveView());
        return false;
    }
    lastDir_ = QFileInfo(path).absolutePath();
    if (IsMeasurementFilePath(path))
        measurementPath_ = path;
    else
        measurementPath_.clear();
    NameInTitle(path);
    if (page)
        dlg_.host().SelectTab(TabScale);
    return true;
}

bool WindowFiles::SaveAs(const QString &path)
{
    QString reason;
    if (!SaveWindowMeasurements(dlg_, path, &reason)) {
        const QString lead = dlg_.host().language() == Language::English
                                 ? QStringLiteral("The measurement file could not be saved.")
                                 : QStringLiteral("計測ファイルを保存できませんでした。");
        dlg_.host().prompter().message(&dlg_, SaveFailureText(lead, path, reason), dlg_.windowTitle(),
                                UiPrompter::Buttons::Ok, UiPrompter::Icon::Warning);
        return false;
    }
    measurementPath_ = path;
    lastDir_ = QFileInfo(path).absolutePath();
    NameInTitle(path);
    return true;
}

void WindowFiles::Save()
{
    if (!dlg_.hasImage() || dlg_.pointer().dragMode() != DragMode::Idle)
        return;
    // A value typed on the Scale page counts, as when its field loses the focus.
    if (CCalibTab *calib = dlg_.parts().calibTab; calib && calib->hasPendingEdit())
        calib->CommitScaleEdits();
    QString path = measurementPath_;
    if (path.isEmpty()) {
        path = dlg_.host().prompter().saveFile(&dlg_, QString(), lastDir_,
                                        QtFileFilter(QLatin1String(kMeasurementFileFilter)));
        if (path.isEmpty())
            return;
        // Measurement data never goes out under an image's name.
        if (!IsMeasurementFilePath(path))
            path += QLatin1Char('.') + QLatin1String(kMeasurementFileSuffix);
    }
    SaveAs(path);
}

void WindowFiles::NameInTitle(const QString &path)
{
    dlg_.setWindowTitle(baseTitle_ + QStringLiteral(" - ") + QFileInfo(path).fileName());
}

void WindowFiles::Forget()
{
    measurementPath_.clear();
    dlg_.setWindowTitle(baseTitle_);
}

void OpenStartupFile(COrvalinDlg &dlg, const QStringList &arguments)
{
    if (arguments.size() < 2)
        return;
    if (WindowFiles *files = WindowFiles::Of(dlg))
        files->Open(QFileInfo(arguments.at(1)).absoluteFilePath());
}

}  // namespace orv

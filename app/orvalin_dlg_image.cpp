// Main window: opening images, saving the annotated image.
#include "app/orvalin_dlg.h"

#include <QDir>
#include <QFileInfo>

#include "app/file_filter.h"
#include "app/save_failure.h"
#include "export/image_file.h"
#include "app/image_tab.h"
#include "app/image_view.h"
#include "document/measure_document.h"
#include "export/results_table.h"
#include "app/ui_prompter.h"
#include "app/view_composer.h"

namespace orv {
namespace {

constexpr char kOpenFilter[] =
    "Support Image Files (*.jpeg,*.jpg,*.bmp,*.tif)|*.jpeg;*.jpg;*.bmp;*.tif|"
    "Jpeg Files (*.jpeg,*.jpg)|*.jpeg;*.jpg|Bitmap Files (*.bmp)|*.bmp|GIF Files (*.gif)|*.gif|"
    "All Files(*.*)|*.*||";
constexpr char kSaveFilter[] =
    "JPEG Files (*.jpg)|*.jpg|Bitmap Files (*.bmp)|*.bmp|All Files(*.*)|*.*||";
const QString kDefaultImageExtension = QStringLiteral("bmp");

// The failure message names the file, and says why a valid image was refused.
QString LoadFailureText(const LoadedImage &loaded, const QString &path, Language language)
{
    const bool english = language == Language::English;
    QString text;
    if (loaded.tooLarge) {
        const QString size =
            QStringLiteral("%1 × %2").arg(loaded.size.width()).arg(loaded.size.height());
        text = english
                   ? QStringLiteral("The image file could not be read (too large: %1).").arg(size)
                   : QStringLiteral("画像ファイルを読み込めませんでした（大きすぎます: %1）。").arg(size);
    } else {
        text = english ? QStringLiteral("The image file could not be read.")
                       : QStringLiteral("画像ファイルを読み込めませんでした。");
    }
    return text + QLatin1Char('\n') + QDir::toNativeSeparators(path);
}

}  // namespace

void COrvalinDlg::OnOpenImage()
{
    const QString path =
        prompter().openFile(this, QString(), lastOpenDir_,
                            QtFileFilter(QLatin1String(kOpenFilter)));
    if (!path.isEmpty()) {
        LoadImageFile(path);
        lastOpenDir_ = QFileInfo(path).absolutePath();
    }
    // The Open button already selected the Scale tab; show whatever is selected.
    OnTabChange();
}

void COrvalinDlg::LoadImageFile(const QString &path)
{
    // The file is decoded before anything is given up: a file that cannot be
    // read or decoded leaves the current image, its measurements and the view
    // as they were.
    LoadedImage loaded = orv::LoadImageFile(path);
    if (!loaded.ok()) {
        prompter().message(this, LoadFailureText(loaded, path, language_), windowTitle(),
                           UiPrompter::Buttons::Ok, UiPrompter::Icon::Warning);
        return;
    }
    composite_ = QImage();
    const QSize size = loaded.image.size();
    doc_->SetImage(std::move(loaded.image), ImageOrigin::File);
    composer_->Invalidate();
    zoom_.layout().imageSize = size;
    zoom_.layout().zoomX = zoom_.layout().zoomY = 100;
    zoom_.layout().origin = QPoint(columnWidth_ + 5, 5);
    zoom_.layout().scroll = QPoint(0, 0);
    viewState_ = ViewState::Rebuild;
    LayoutView();

    EnablePageControls(true);
    EnableOutputButtons(true);

    doc_->DeleteAll();
    update();
    view_->update();
    PostToolSelect();
}

void COrvalinDlg::OnSaveImage()
{
    if (ClearSelectionFirst(DlgCommand::SaveImage))
        return;
    pendingCommand_ = DlgCommand::None;
    QString path = prompter().saveFile(this, QString(), QString(),
                                       QtFileFilter(QLatin1String(kSaveFilter)));
    if (!path.isEmpty()) {
        path = WithDefaultExtension(path, kDefaultImageExtension);
        QString reason;
        if (!WriteImageFile(path, FileExtension(path), &reason)) {
            const QString lead = language_ == Language::English
                                     ? QStringLiteral("The image file could not be saved.")
                                     : QStringLiteral("画像ファイルを保存できませんでした。");
            prompter().message(this, SaveFailureText(lead, path, reason), windowTitle(),
                               UiPrompter::Buttons::Ok, UiPrompter::Icon::Warning);
        }
    }
    ToolSelect();
}

bool COrvalinDlg::WriteImageFile(const QString &path, const QString &extension, QString *reason)
{
    EnsureComposite();
    // The camera's frozen frame is written by the camera itself.
    const SnapshotSaver saveSnapshot = [this](const QString &p, const QString &ext, QString *why) {
        return imageTab_ && imageTab_->SaveFrozenFrame(p, ext, why);
    };
    const QSize size =
        doc_->origin() == ImageOrigin::CameraFrame ? kCameraFrameMarkerSize : zoom_.geometry().imageSize;
    return orv::WriteImageFile(path, extension, composite_, size, saveSnapshot, reason);
}

}  // namespace orv

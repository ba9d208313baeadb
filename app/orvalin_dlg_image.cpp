// Main window: opening images, saving the annotated image.
#include "orvalin_dlg.h"

#include <QFileInfo>

#include "image_file.h"
#include "image_view.h"
#include "page_bridge.h"
#include "results_table.h"
#include "ui_prompter.h"
#include "view_composer.h"

namespace orv {
namespace {

const QString kOpenFilter = QStringLiteral(
    "Support Image Files (*.jpeg,*.jpg,*.bmp,*.tif) (*.jpeg *.jpg *.bmp *.tif);;"
    "Jpeg Files (*.jpeg,*.jpg) (*.jpeg *.jpg);;"
    "Bitmap Files (*.bmp) (*.bmp);;"
    "GIF Files (*.gif) (*.gif);;"
    "All Files(*.*) (*)");
const QString kSaveFilter = QStringLiteral(
    "JPEG Files (*.jpg) (*.jpg);;"
    "Bitmap Files (*.bmp) (*.bmp);;"
    "All Files(*.*) (*)");
const QString kDefaultImageExtension = QStringLiteral("bmp");

}  // namespace

void COrvalinDlg::OnOpenImage()
{
    const QString path =
        UiPrompter::instance().openFile(this, QString(), lastOpenDir_, kOpenFilter);
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
        const QString text = language_ == Language::English
                                 ? QStringLiteral("The image file could not be read.")
                                 : QStringLiteral("画像ファイルを読み込めませんでした。");
        UiPrompter::instance().message(this, text, windowTitle(), UiPrompter::Buttons::Ok,
                                       UiPrompter::Icon::Warning);
        return;
    }
    composite_ = QImage();
    source_ = std::move(loaded.image);
    composer_->Invalidate();
    geo_.imageSize = source_.size();
    geo_.zoomX = geo_.zoomY = 100;
    geo_.origin = QPoint(columnWidth_ + 5, 5);
    geo_.scroll = QPoint(0, 0);
    viewState_ = ViewRebuild;
    LayoutView();

    EnablePageControls(true);
    EnableOutputButtons(true);

    editItem_.reset();
    selectedItem_ = nullptr;
    results_->DeleteAllResults(measureList());
    update();
    view_->update();
}

void COrvalinDlg::OnSaveImage()
{
    if (ClearSelectionFirst(CmdSaveImage))
        return;
    pendingCommand_ = CmdNone;
    QString path = UiPrompter::instance().saveFile(this, QString(), QString(), kSaveFilter);
    if (!path.isEmpty()) {
        path = WithDefaultExtension(path, kDefaultImageExtension);
        WriteImageFile(path, FileExtension(path));
    }
    ToolSelect();
}

bool COrvalinDlg::WriteImageFile(const QString &path, const QString &extension)
{
    EnsureComposite();
    // The camera's frozen frame is saved by the camera module, which this
    // window does not drive yet: such a save writes nothing.
    const SnapshotSaver saveSnapshot = [](const QString &, const QString &) { return false; };
    return orv::WriteImageFile(path, extension, composite_, geo_.imageSize, saveSnapshot);
}

}  // namespace orv

// Main window: opening images, saving the annotated image.
#include "app/mainwindow/main_window.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>

#include "app/dialogs/file_filter.h"
#include "app/dialogs/save_failure.h"
#include "app/dialogs/ui_prompter.h"
#include "app/mainwindow/composition_inputs.h"
#include "app/mainwindow/measurement_file_io.h"
#include "app/mainwindow/window_files.h"
#include "app/pages/image/image_page.h"
#include "app/pages/page_host.h"
#include "app/view/image_view.h"
#include "document/measure_document.h"
#include "export/image_file.h"
#include "export/results_table.h"
#include "view/view_composer.h"
#include "view/view_layer.h"

namespace orv {
namespace {

// The first entry, the chooser's default, lists everything Open reads.
constexpr char kOpenFilter[] =
    "Supported Files|*.jpeg;*.jpg;*.bmp;*.png;*.gif;*.tif;*.tiff;*.orvm|"
    "Measurement Files (*.orvm)|*.orvm|"
    "Jpeg Files (*.jpeg,*.jpg)|*.jpeg;*.jpg|Bitmap Files (*.bmp)|*.bmp|PNG Files (*.png)|*.png|"
    "GIF Files (*.gif)|*.gif|TIFF Files (*.tif,*.tiff)|*.tif;*.tiff|"
    "All Files(*.*)|*.*||";
constexpr char kSaveFilter[] = "JPEG Files (*.jpg)|*.jpg|Bitmap Files (*.bmp)|*.bmp|Measurement Files (*.orvm)|*.orvm|"
                               "All Files(*.*)|*.*||";
const QString kDefaultImageExtension = QStringLiteral("bmp");

// The failure message names the file, and says why a valid image was refused.
QString LoadFailureText(const LoadedImage &loaded, const QString &path, Language language)
{
    const bool english = language == Language::English;
    QString text;
    if (loaded.tooLarge) {
        const QString size = QStringLiteral("%1 × %2").arg(loaded.size.width()).arg(loaded.size.height());
        text = english ? QStringLiteral("The image file could not be read (too large: %1).").arg(size)
                       : QStringLiteral("画像ファイルを読み込めませんでした（大きすぎます: %1）。").arg(size);
    } else {
        text = english ? QStringLiteral("The image file could not be read.")
                       : QStringLiteral("画像ファイルを読み込めませんでした。");
    }
    return text + QLatin1Char('\n') + QDir::toNativeSeparators(path);
}

// The chooser asked about the name as typed, not about the one written.
bool ConfirmReplacing(MainWindow &mainWindow, const QString &path)
{
    if (!QFileInfo::exists(path))
        return true;
    const QString name = QDir::toNativeSeparators(path);
    const QString text = mainWindow.host().language() == Language::English
        ? QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(name)
        : QStringLiteral("%1 は既に存在します。\n上書きしますか？").arg(name);
    return mainWindow.host().prompter().message(&mainWindow, text, mainWindow.windowTitle(), UiPrompter::Buttons::YesNo,
                                                UiPrompter::Icon::Warning)
        == UiPrompter::Answer::Yes;
}

}  // namespace

void MainWindow::OnOpenImage()
{
    const QString path = prompter().openFile(this, QString(), lastOpenDir_, QtFileFilter(QLatin1String(kOpenFilter)));
    if (!path.isEmpty()) {
        if (WindowFiles *files = WindowFiles::Of(*this))
            files->Open(path);
        lastOpenDir_ = QFileInfo(path).absolutePath();
    }
    // The Open button already selected the Scale tab; show whatever is selected.
    OnTabChange();
}

void MainWindow::LoadImageFile(const QString &path)
{
    // The file is decoded before anything is given up: a file that cannot be
    // read or decoded leaves the current image, its measurements and the view
    // as they were.
    // A measurement file brings its image and everything measured on it.
    if (IsMeasurementFilePath(path)) {
        MeasurementReadResult read = LoadMeasurementFile(path);
        if (!read.session) {
            prompter().message(this, MeasurementReadMessage(read, path, language_), windowTitle(),
                               UiPrompter::Buttons::Ok, UiPrompter::Icon::Warning);
            return;
        }
        LoadSession(std::move(*read.session));
        return;
    }
    LoadedImage loaded = orv::LoadImageFile(path);
    if (!loaded.ok()) {
        prompter().message(this, LoadFailureText(loaded, path, language_), windowTitle(), UiPrompter::Buttons::Ok,
                           UiPrompter::Icon::Warning);
        return;
    }
    ShowLoadedImage(std::move(loaded.image), nullptr);
}

void MainWindow::LoadSession(MeasurementSession session)
{
    QImage image = session.image;
    ShowLoadedImage(std::move(image), &session);
}

void MainWindow::ShowLoadedImage(QImage image, MeasurementSession *session)
{
    composite_ = QImage();
    const QSize size = image.size();
    doc_->SetImage(std::move(image), ImageOrigin::File);
    composer_->Invalidate();
    doc_->zoom().layout().imageSize = size;
    doc_->zoom().layout().zoomX = doc_->zoom().layout().zoomY = 100;
    doc_->zoom().layout().origin = QPoint(columnWidth_ + 5, 5);
    doc_->zoom().layout().scroll = QPoint(0, 0);
    viewState_ = ViewState::Rebuild;
    LayoutView();

    EnablePageControls(true);
    EnableOutputButtons(true);

    if (session)
        ShowMeasurementSession(*this, scalePage_, optionsPage_, std::move(*session));
    else
        doc_->DeleteAll();
    update();
    view_->update();
    PostToolSelect();
}

void MainWindow::OnSaveImage()
{
    if (ClearSelectionFirst(CommandId::SaveImage))
        return;
    pendingCommand_ = CommandId::None;
    QString chosenFilter;
    const QString typed =
        prompter().saveFile(this, QString(), QString(), QtFileFilter(QLatin1String(kSaveFilter)), &chosenFilter);
    const QString path =
        typed.isEmpty() ? QString() : ImageSavePath(typed, FilterExtension(chosenFilter), kDefaultImageExtension);
    if (!path.isEmpty() && (path == typed || ConfirmReplacing(*this, path))) {
        QString reason;
        if (IsMeasurementFilePath(path)) {
            if (WindowFiles *files = WindowFiles::Of(*this))
                files->SaveAs(path);
        } else if (!WriteImageFile(path, FileExtension(path), &reason)) {
            const QString lead = language_ == Language::English
                ? QStringLiteral("The image file could not be saved.")
                : QStringLiteral("画像ファイルを保存できませんでした。");
            prompter().message(this, SaveFailureText(lead, path, reason), windowTitle(), UiPrompter::Buttons::Ok,
                               UiPrompter::Icon::Warning);
        }
    }
    ToolSelect();
}

bool MainWindow::WriteImageFile(const QString &path, const QString &extension, QString *reason)
{
    EnsureComposite();
    // The camera's frozen frame is written by the camera itself, which knows
    // the type "jpg" and writes BMP for anything else.
    const SnapshotSaver saveSnapshot = [this](const QString &p, const QString &ext, QString *why) {
        const QString type = IsJpegExtension(ext) ? QStringLiteral("jpg") : QStringLiteral("bmp");
        return imagePage_ && imagePage_->SaveFrozenFrame(p, type, why);
    };
    const QSize size =
        doc_->origin() == ImageOrigin::CameraFrame ? kCameraFrameMarkerSize : doc_->zoom().geometry().imageSize;
    // The view's bars carry a halo to be found on dark pictures; saved pictures keep the plain bars.
    LayerInputs in = CompositionInputs(*this);
    if (in.calibrationPage && !composite_.isNull()) {
        in.barLook = BarLook::Saved;
        const QImage picture = ViewComposer::BuildComposite(in.source, [&](QImage &c) { DrawLayer(c, in); });
        return orv::WriteImageFile(path, extension, picture.convertToFormat(composite_.format()), size, saveSnapshot,
                                   reason);
    }
    return orv::WriteImageFile(path, extension, composite_, size, saveSnapshot, reason);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (dragMode() == DragMode::Idle && !FirstOpenableFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = FirstOpenableFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Once the drop is over: the question may run an event loop of its own,
    // which the dragging program would otherwise wait for.
    QMetaObject::invokeMethod(
        this,
        [this, path] {
            if (WindowFiles *files = WindowFiles::Of(*this))
                files->Open(path);
        },
        Qt::QueuedConnection);
}

}  // namespace orv

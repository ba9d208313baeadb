#pragma once
// The main window: control column (logo, overview toggle, Exit, the four tab
// pages, the results list, the output buttons) beside the image view.
// Pages see it as a PageHost; the pointer handlers through an InteractionView
// (an adapter over its InteractionWindow side); the image view as its ImageViewHost.

#include <QDialog>
#include <QImage>
#include <QMargins>
#include <QPointer>
#include <QString>

#include <memory>

#include "app/mainwindow/window_commands.h"
#include "app/mainwindow/window_interaction_view.h"
#include "app/pages/command_id.h"
#include "app/pages/page_host.h"
#include "app/pages/page_index.h"
#include "app/pages/window_environment.h"
#include "app/view/image_view_host.h"
#include "document/measure_document.h"
#include "measure/language.h"
#include "measure/measure_item.h"
#include "view/view_state.h"

class QLabel;
class QPainter;
class QPushButton;
class QTabWidget;
class QWidget;

namespace orv {

class ScalePage;
class ImagePage;
class OptionsPage;
class OverviewWindow;
class MeasurePage;
class ImageView;
struct LayerInputs;
class MeasureDocument;
class PointerInteraction;
class ResultsView;
class ViewComposer;
class WindowKeys;
class WirelessReceiver;
enum class FrameSaveResult;

class MainWindow : public QDialog,
                   private PageHost,
                   private WindowCommands,
                   private InteractionWindow,
                   private ImageViewHost {
    Q_OBJECT

public:
    explicit MainWindow(WindowEnvironment env = WindowEnvironment::FromPlatform(), QWidget *parent = nullptr);
    ~MainWindow() override;

    // --- narrow views of the window ---------------------------------------------------
    // The still, the measurements and their rows, the selection and the edit item.
    MeasureDocument &document() const override { return *doc_; }
    // What pages and the overview use of the window.
    PageHost &host() { return *this; }
    // The buttons', the results list's and the devices' commands.
    WindowCommands &commands() { return *this; }
    // The view's pointer events go here (drag mode, remembered cursor, handlers).
    PointerInteraction &pointer() const override { return *pointer_; }

    // The picture last composed (image, marks and labels at the view's zoom):
    // what the view shows and the image outputs write.
    const QImage &composite() const { return composite_; }
    // How the composite and the view's picture were last made (its caches' counts).
    const ViewComposer &composer() const { return *composer_; }
    // The command that runs again once the view is composed without the
    // selection marks; CommandId::None when there is none.
    CommandId pendingCommand() const { return pendingCommand_; }
    // The wireless microscope receiver (null if it could not be made).
    const WirelessReceiver *wirelessReceiver() const { return receiver_.get(); }

    // --- the view widget --------------------------------------------------------------
    // The view's paint: the composite by ViewState (painter on the view widget).
    void PaintView(QPainter &painter) override;
    // Places the labels, then builds the composite when a rebuild is due (also
    // used by the outputs). Never from a paint.
    void EnsureComposite();

    // --- images ----------------------------------------------------------------------
    bool hasImage() const;
    const QImage &sourceImage() const;
    QString workFilePath() const { return workFilePath_; }
    // The folder the report button writes its workbooks to.
    QString reportDir() const;
    void LoadImageFile(const QString &path);
    // Shows a session read before (a recovered one) as a measurement file's opening would.
    void LoadSession(MeasurementSession session);
    // False when nothing was written.
    // *reason (when given) gets the system's reason for a failure.
    bool WriteImageFile(const QString &path, const QString &extension, QString *reason = nullptr);

    // --- controls ---------------------------------------------------------------------
    void EnableOutputButtons(bool on);
    void EnablePageControls(bool on);
    // Tooltip of a control (only the overview toggle has one).
    QString ToolTipFor(CommandId id) const;
    // A value typed on the Scale page and not yet taken becomes a step of its
    // own now, as when its field loses the focus.
    void CommitScaleEdits();

public slots:
    void reject() override;

signals:
    // A command posted to the window, as its control id; connected queued to OnCommand.
    void commandPosted(int id);
    // A DeviceEvent posted to the window; connected queued to OnDeviceEvent.
    void deviceEventPosted(int code, int argument);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;
    // A local image or measurement file dropped on the window opens as the
    // Open button would open it.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // The decoded image, and the session it came with (nullptr: a plain image).
    void ShowLoadedImage(QImage image, MeasurementSession *session);

    // --- PageHost ---------------------------------------------------------------------
    Language language() const override { return language_; }
    Language textLanguage() const override { return textLanguage_; }
    UiPrompter &prompter() const override { return *env_.prompter; }
    int currentTab() const override { return currentTab_; }
    void SelectTab(int index) override;
    void RefreshToolButtons() override;
    ViewZoom &zoom() override { return doc_->zoom(); }
    const ViewGeometry &view() const override { return doc_->zoom().geometry(); }
    QPoint ViewToImage(QPoint viewPoint) const override { return doc_->zoom().geometry().ViewToImage(viewPoint); }
    QSize imageSize() const override { return doc_->zoom().geometry().imageSize; }
    ViewState viewState() const override { return viewState_; }
    void setViewState(ViewState state) override { viewState_ = state; }
    void RebuildView() override;
    void UpdateView() override;
    void SetZoom(int zoomX, int zoomY) override;
    void SetScroll(QPoint scroll) override;
    void LayoutView() override;
    int FitZoom() const override;
    void SetOverviewShown(bool shown) override;
    QWidget *liveView() const override { return liveView_; }
    QPushButton *button(CommandId id) const override;
    int columnWidth() const override { return columnWidth_; }
    int windowWidth() const override { return width(); }
    QSize windowSizeRequested() const override { return requestedSize_; }
    void SetWindowSize(QSize outer) override;
    QString GetTempDir() override;
    void PostCommand(CommandId id) override;
    void PostDeviceEvent(int code, int argument) override;

    // --- InteractionWindow (the rest is PageHost's) ------------------------------------
    // For pointer moves during a drag, when only the edit item changed since
    // the last rebuild: repaint with just the edit item redrawn over the
    // cached layer. The layer is checked against the list, selection, bars
    // and attributes first, and rebuilt in full when any of them changed.
    void RebuildEditLayer() override;
    bool AskYesNo(const QString &english, const QString &japanese) override;
    std::optional<QString> AskText() override;

    // --- ImageViewHost -----------------------------------------------------------------
    // Device pixels per window pixel of the view, as last laid out: view
    // coordinates (size, scroll, pointer positions) count device pixels.
    qreal viewPixelRatio() const override { return viewRatio_; }
    // The view's screen changed its ratio: the view keeps its place in the
    // window and shows as many device pixels as it now holds.
    void FollowViewRatio() override;

    // --- WindowCommands ---------------------------------------------------------------
    void OnCommand(CommandId id) override;
    void OnTabChange() override;
    void OnOpenImage() override;
    void OnSaveImage() override;
    void SaveResultsCsv() override;
    void DeleteAllResults() override;
    void OnExit() override;
    void ShowAbout() override;
    void OnReport() override;
    void OnListClick() override;
    void OnListRightDoubleClick() override;
    void OnListDoubleClick() override;
    void OnListRightClick() override;
    int OnDeviceEvent(int code, int argument) override;

    void BuildControls();
    void OnInitDialog();
    void CreatePages();
    void AdjustToScreen();
    void ApplyWindowSize();
    // Puts the frame's top-left corner (title bar included) at topLeft.
    void PlaceFrame(QPoint topLeft);
    // Moves the frame back inside the screen's area.
    void KeepOnScreen();
    // p lies in the window's screen area or on another screen's.
    bool OnSomeScreen(QPoint p) const;
    // What the frame adds around the client area, as the platform knows it now.
    QMargins FrameMargins() const;
    // Sizes the window again when its frame changed since it was sized.
    void FollowFrame();
    qreal CurrentViewRatio() const;
    void ApplyCaptions();
    void ToolSelect();
    void ShowRecordAttributes(MeasureItem *item);
    void DiscardImage();
    void OnOverviewToggle();
    // Composes when a rebuild or an edit redraw is due, without placing labels.
    void ComposeDue(const LayerInputs &in);
    // Places the labels and composes once the events queued before are done.
    void PostComposition();
    // Runs the pending command once the events queued before it are done,
    // on the composite rebuilt without the selection marks.
    void PostPending();
    // The tool palette shows the current tool after the view's repaint.
    void PostToolSelect();
    // With an item selected: clears the selection and queues command to run
    // again without it (true); otherwise false.
    bool ClearSelectionFirst(CommandId command);
    bool ViewTakesPointer() const;
    // The pointer handlers' drag mode (Idle before they exist).
    DragMode dragMode() const;
    void StartWirelessReceiver();
    void ShowWirelessPicture();
    void DrawWaitNotice(bool whiteFrame);
    void CaptureWirelessFrame();
    void FinishWirelessCapture(FrameSaveResult result, const QString &path);

    WindowEnvironment env_;
    Language language_ = Language::Japanese;
    Language textLanguage_ = Language::Japanese;
    int currentTab_ = PageImage;

    ViewState viewState_ = ViewState::NoImage;

    QImage composite_;
    // The view's zoom and scroll; the layout writes the view's place and size into it.
    int columnWidth_ = 0;
    int columnHeight_ = 0;
    QSize screen_;
    QRect screenBounds_;
    QSize requestedSize_;
    // What the platform's frame added to the client size when it was last sized.
    QSize frameExtra_;
    qreal viewRatio_ = 1.0;
    QString workFilePath_;
    QString lastOpenDir_;
    bool overviewShown_ = false;
    CommandId pendingCommand_ = CommandId::None;
    bool pendingPosted_ = false;
    bool toolSelectPosted_ = false;
    bool compositionPosted_ = false;
    qint64 overviewPictureKey_ = 0;
    // A pointer move asked for the edit item to be redrawn.
    bool editLayerPending_ = false;
    bool exiting_ = false;

    // Made with the window's languages at the start of OnInitDialog.
    std::unique_ptr<MeasureDocument> doc_;
    // The pointer handlers see the window through this; both go before the document.
    std::unique_ptr<WindowInteractionView> interactionView_;
    std::unique_ptr<PointerInteraction> pointer_;

    // Child widgets are owned by Qt's parent tree.
    QWidget *column_ = nullptr;
    QLabel *logo_ = nullptr;
    QPushButton *overviewButton_ = nullptr;
    QPushButton *exitButton_ = nullptr;
    QTabWidget *tabs_ = nullptr;
    ResultsView *resultsView_ = nullptr;
    QPushButton *csvButton_ = nullptr;
    QPushButton *saveImageButton_ = nullptr;
    QPushButton *reportButton_ = nullptr;
    QPushButton *deleteAllButton_ = nullptr;
    QPushButton *aboutButton_ = nullptr;
    ImageView *view_ = nullptr;
    QWidget *liveView_ = nullptr;
    ImagePage *imagePage_ = nullptr;
    ScalePage *scalePage_ = nullptr;
    MeasurePage *measurePage_ = nullptr;
    OptionsPage *optionsPage_ = nullptr;
    // The overview: a window of its own, owned by this one (SetOwner); it
    // goes before the child widgets do.
    std::unique_ptr<QWidget> overview_;
    OverviewWindow *overviewWindow_ = nullptr;
    std::unique_ptr<ViewComposer> composer_;
    std::unique_ptr<WindowKeys> windowKeys_;
    // Its thread posts to this window: it stops first when the window goes.
    std::unique_ptr<WirelessReceiver> receiver_;
};

}  // namespace orv

#pragma once
// The main window: control column (logo, overview toggle, Exit, the four tab
// pages, the results list, the output buttons) beside the image view.
// Pages keep a pointer to it and call the public members below.

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QString>

#include <array>
#include <memory>

#include "app/dlg_environment.h"
#include "measure/language.h"
#include "measure/measure_item.h"
#include "app/tab_index.h"
#include "app/view_state.h"
#include "document/view_zoom.h"

class QLabel;
class QPainter;
class QPushButton;
class QTabWidget;
class QWidget;

namespace orv {

class CCalibTab;
class CImageTab;
class COptionTab;
class CScrollDlg;
class CToolTab;
class ImageView;
class KeyDiscarder;
class MeasureDocument;
class DlgInteractionView;
class PointerInteraction;
class ResultsView;
class ViewComposer;
class WirelessReceiver;

// Control identifiers kept for the commands that are posted or pending.
enum class DlgCommand : int {
    None = 0,
    Exit = 1,
    Cancel = 2,
    Report = 3,
    DeleteAll = 4,
    OpenImage = 1000,
    SaveCsv = 1003,
    SaveImage = 1005,
    Overview = 1016,
};

class COrvalinDlg : public QDialog {
    Q_OBJECT

public:
    // The window widens by this to show the live view beside the column.
    static constexpr int kLiveViewAllowance = 661;

    explicit COrvalinDlg(DlgEnvironment env = DlgEnvironment::FromPlatform(),
                         QWidget *parent = nullptr);
    ~COrvalinDlg() override;

    // --- language, pages, widgets -------------------------------------------------
    Language language() const { return language_; }
    // Language of kind names and unit suffixes in rows (English when any window switched).
    Language textLanguage() const { return textLanguage_; }
    int currentTab() const { return currentTab_; }
    // Selects a tab in the tab control (as the image page's Open button does);
    // the page switch itself runs through OnTabChange.
    void SelectTab(int index);

    CImageTab *imageTab() const { return imageTab_; }
    CCalibTab *calibTab() const { return calibTab_; }
    CToolTab *toolTab() const { return toolTab_; }
    COptionTab *optionTab() const { return optionTab_; }
    CScrollDlg *scrollDlg() const { return scrollDlg_; }
    // The overview window as a plain window (exists even before its class does).
    QWidget *overviewWindow() const { return overview_.get(); }
    QTabWidget *tabControl() const { return tabs_; }
    ResultsView *resultsView() const { return resultsView_; }
    ImageView *imageView() const { return view_; }
    // The window in which the camera and the wireless microscope show their pictures.
    QWidget *liveView() const { return liveView_; }

    // --- the measurement document -------------------------------------------------
    // The still, the measurements and their rows, the selection and the edit item.
    MeasureDocument &document() { return *doc_; }
    const MeasureDocument &document() const { return *doc_; }

    // --- view ----------------------------------------------------------------------
    ViewState viewState() const { return viewState_; }
    void setViewState(ViewState state) { viewState_ = state; }
    // ViewState::Rebuild and repaint the view (the usual end of every change).
    void RebuildView();
    // For pointer moves during a drag, when only the edit item changed since
    // the last rebuild: repaint with just the edit item redrawn over the
    // cached layer. The layer is checked against the list, selection, bars
    // and attributes first, and rebuilt in full when any of them changed.
    void RebuildEditLayer();
    const ViewComposer &viewComposer() const { return *composer_; }
    // Repaint the view without rebuilding (overview scrolling, provisional bars).
    void UpdateView();
    ViewGeometry &view() { return zoom_.layout(); }
    const ViewGeometry &view() const { return zoom_.geometry(); }
    QPoint ViewToImage(QPoint viewPoint) const { return zoom_.geometry().ViewToImage(viewPoint); }
    // Device pixels per window pixel of the view, as last laid out: view
    // coordinates (size, scroll, pointer positions) count device pixels.
    qreal viewPixelRatio() const { return viewRatio_; }
    // The view's screen changed its ratio: the view keeps its place in the
    // window and shows as many device pixels as it now holds.
    void FollowViewRatio();
    void SetZoom(int zoomX, int zoomY);  // resets the scroll, marks a rebuild
    void SetScroll(QPoint scroll);

    // Sizes the window and the view to the image and zoom; places the overview.
    void LayoutView();
    int FitZoom() const;
    // The temporary directory, or an empty string after the message.
    QString GetTempDir();
    int columnWidth() const { return columnWidth_; }
    int columnHeight() const { return columnHeight_; }
    QSize screenSize() const { return screen_; }
    // Every message, question and chooser of the window and its helpers.
    UiPrompter &prompter() const { return *env_.prompter; }
    // The screen the window keeps to, as it really is (no short-screen adjustment).
    QRect screenBounds() const { return screenBounds_; }
    // The outer size last asked for the window (frame included); the window
    // gets it, cut to the screen.
    QSize windowSizeRequested() const { return requestedSize_; }
    void SetWindowSize(QSize outer);

    // --- images ----------------------------------------------------------------------
    bool hasImage() const;
    const QImage &sourceImage() const;
    const QImage &composite() const { return composite_; }
    QSize imageSize() const { return zoom_.geometry().imageSize; }
    // Builds the composite now when a rebuild is due (also used by the outputs).
    void EnsureComposite();
    QString workFilePath() const { return workFilePath_; }
    QString lastOpenDir() const { return lastOpenDir_; }
    void LoadImageFile(const QString &path);
    // False when nothing was written.
    // *reason (when given) gets the system's reason for a failure.
    bool WriteImageFile(const QString &path, const QString &extension, QString *reason = nullptr);

    // --- controls ---------------------------------------------------------------------
    void EnableOutputButtons(bool on);
    void EnablePageControls(bool on);
    bool overviewShown() const { return overviewShown_; }
    // Sets the overview-shown flag and pushes it into the toggle button.
    void SetOverviewShown(bool shown);
    QPushButton *button(DlgCommand id) const;

    // --- commands -----------------------------------------------------------------------
    DlgCommand pendingCommand() const { return pendingCommand_; }
    // Queues a command id as the window's own commands are (buttons, pages).
    void PostCommand(DlgCommand id);
    // Runs a command now.
    void OnCommand(DlgCommand id);

    void OnTabChange();
    void OnOpenImage();
    void OnSaveImage();
    void SaveResultsCsv();
    void DeleteAllResults();
    void OnExit();
    void ShowAbout();
    // The report button: the workbook in the temporary directory, opened in
    // the desktop's spreadsheet application.
    void OnReport();

    // Results list notifications.
    void OnListClick();
    void OnListRightDoubleClick();
    void OnListDoubleClick();
    void OnListRightClick();

    // The view's pointer events go here (drag mode, remembered cursor, handlers).
    PointerInteraction &pointer() const { return *pointer_; }
    // The view's paint: the composite by ViewState (painter on the view widget).
    void PaintView(QPainter &painter);

    // The tool palette's ToolSelect (pages ask for it after their changes).
    void RefreshToolButtons();

    // --- devices ----------------------------------------------------------------------
    // Queues a DeviceEvent code (the receiver's, the image page's) for OnDeviceEvent.
    void PostDeviceEvent(int code, int argument);
    // Runs a DeviceEvent code now; always 0.
    int OnDeviceEvent(int code, int argument);
    // The wireless microscope receiver (started with the window; null if it could not be made).
    WirelessReceiver *wirelessReceiver() const { return receiver_.get(); }

    // Tooltip of a control (only the overview toggle has one).
    QString ToolTipFor(DlgCommand id) const;

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

private:
    friend class DlgInteractionView;

    void BuildControls();
    void OnInitDialog();
    void CreatePages();
    void AdjustToScreen();
    void ApplyWindowSize();
    void KeepOnScreen();
    // Sizes the window again when its frame changed since it was sized.
    void FollowFrame();
    qreal CurrentViewRatio() const;
    void ApplyCaptions();
    void ToolSelect();
    void ShowRecordAttributes(MeasureItem *item);
    void DiscardImage();
    void OnOverviewToggle();
    // Runs the pending command once the events queued before it are done,
    // on the composite rebuilt without the selection marks.
    void PostPending();
    // The tool palette shows the current tool after the view's repaint.
    void PostToolSelect();
    // With an item selected: clears the selection and queues command to run
    // again without it (true); otherwise false.
    bool ClearSelectionFirst(DlgCommand command);
    bool ViewTakesPointer() const;
    bool AskYesNo(const QString &english, const QString &japanese);
    void StartWirelessReceiver();
    void ShowWirelessPicture();
    void DrawWaitNotice(bool whiteFrame);
    void CaptureWirelessFrame();

    DlgEnvironment env_;
    Language language_ = Language::Japanese;
    Language textLanguage_ = Language::Japanese;
    int currentTab_ = TabImage;

    DragMode dragMode_ = DragMode::Idle;
    ViewState viewState_ = ViewState::NoImage;
    // The cursor the last hover chose; Qt::BlankCursor stands for none.
    Qt::CursorShape cursor_ = Qt::BlankCursor;

    QImage composite_;
    // The view's zoom and scroll; the layout writes the view's place and size into it.
    ViewZoom zoom_;
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
    DlgCommand pendingCommand_ = DlgCommand::None;
    bool pendingPosted_ = false;
    bool toolSelectPosted_ = false;
    qint64 overviewPictureKey_ = 0;
    // A pointer move asked for the edit item to be redrawn.
    bool editLayerPending_ = false;
    bool exiting_ = false;

    // Made with the window's languages at the start of OnInitDialog.
    std::unique_ptr<MeasureDocument> doc_;
    // The pointer handlers see the window through this; both go before the document.
    std::unique_ptr<DlgInteractionView> interactionView_;
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
    CImageTab *imageTab_ = nullptr;
    CCalibTab *calibTab_ = nullptr;
    CToolTab *toolTab_ = nullptr;
    COptionTab *optionTab_ = nullptr;
    // The overview: a window of its own, owned by this one (SetOwner); it
    // goes before the child widgets do.
    std::unique_ptr<QWidget> overview_;
    CScrollDlg *scrollDlg_ = nullptr;
    std::unique_ptr<ViewComposer> composer_;
    std::unique_ptr<KeyDiscarder> keyDiscarder_;
    // Its thread posts to this window: it stops first when the window goes.
    std::unique_ptr<WirelessReceiver> receiver_;
};

}  // namespace orv

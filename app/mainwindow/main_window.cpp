// Main window: construction and start-up.
#include "app/mainwindow/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWindow>

#include "app/interaction/pointer_interaction.h"
#include "app/mainwindow/session_guard.h"
#include "app/mainwindow/window_files.h"
#include "app/mainwindow/window_interaction_view.h"
#include "app/mainwindow/window_keys.h"
#include "app/pages/image/image_page.h"
#include "app/pages/image/live_view.h"
#include "app/pages/measure/measure_page.h"
#include "app/pages/options/options_page.h"
#include "app/pages/options/uncertainty_options.h"
#include "app/pages/scale/scale_page.h"
#include "app/startup/app_version.h"
#include "app/startup/qt_translations.h"
#include "app/startup/resources_init.h"
#include "app/view/image_view.h"
#include "app/view/overview_window.h"
#include "app/view/results_view.h"
#include "capture/wireless/wireless_receiver.h"
#include "document/measure_document.h"
#include "export/image_file.h"
#include "export/results_table.h"
#include "view/view_composer.h"

namespace orv {
namespace {

// Control column in client pixels.
constexpr int kColumnWidth = 244;
constexpr int kColumnClientHeight = 702;
constexpr int kListHeight = 236;
// The screen height below which the results list gives up room.
constexpr int kShortScreen = 768;
constexpr int kMinListHeight = 40;

}  // namespace

MainWindow::MainWindow(WindowEnvironment env, QWidget *parent) :
    QDialog(parent),
    env_(std::move(env)),
    composer_(std::make_unique<ViewComposer>())
{
    setObjectName("MainWindow");
    InitResources();
    OnInitDialog();
}

MainWindow::~MainWindow()
{
    // It watches the document, which goes before the window's children do;
    // a window going without ending keeps its recovery copy.
    delete SessionGuard::Of(*this);
    receiver_.reset();
    windowKeys_.reset();
    overview_.reset();
    // The list widget and the pages refer to members of this class, which die
    // before the base class takes the widget tree down: they go first.
    hide();
    std::unique_ptr<QWidget> column(column_);
    column_ = nullptr;
    resultsView_ = nullptr;
    imagePage_ = nullptr;
    scalePage_ = nullptr;
    measurePage_ = nullptr;
    optionsPage_ = nullptr;
    column.reset();
    // The view hands its events to the pointer interaction, a member.
    std::unique_ptr<QWidget> imageView(view_);
    view_ = nullptr;
    imageView.reset();
}

bool MainWindow::hasImage() const
{
    return doc_ && doc_->hasImage();
}

const QImage &MainWindow::sourceImage() const
{
    static const QImage none;
    return doc_ ? doc_->image() : none;
}

void MainWindow::OnInitDialog()
{
    // Language first: every caption and the results table depend on it.
    language_ = MainWindowLanguage(env_.locale);
    const bool pagesEnglish = PageLanguage(env_.locale) == Language::English;
    textLanguage_ = (language_ == Language::English || pagesEnglish) ? Language::English : Language::Japanese;
    doc_ = std::make_unique<MeasureDocument>(language_, textLanguage_);
    // The frozen camera frame keeps its marker size in the geometry.
    connect(doc_.get(), &MeasureDocument::imageChanged, this, [this] {
        if (doc_->origin() == ImageOrigin::CameraFrame)
            doc_->zoom().layout().imageSize = kCameraFrameMarkerSize;
    });
    // The view follows every change of the calibration and the attributes.
    connect(doc_.get(), &MeasureDocument::calibrationChanged, this, [this] {
        if (viewState_ != ViewState::NoImage)
            RebuildView();
    });
    connect(doc_.get(), &MeasureDocument::attributesChanged, this, &MainWindow::RebuildView);
    // A new zoom shows the image composed anew, from the top left.
    connect(&doc_->zoom(), &ViewZoom::zoomChanged, this, [this] {
        if (hasImage())
            viewState_ = ViewState::Rebuild;
    });
    InstallQtTranslations(language_, this);

    setWindowIcon(QIcon(QStringLiteral(":/orvalin/icon.svg")));
    setFont(QFont(QStringLiteral("Arial"), 9));

    const QString temp = GetTempDir();
    workFilePath_ = WorkFilePath(temp, QLatin1String(kWorkFileJpgName));
    setWindowTitle(QStringLiteral("Orvalin - ver. ") + QLatin1String(AppVersion()));

    // Cleared view state.
    composite_ = QImage();
    currentTab_ = PageImage;
    lastOpenDir_.clear();
    pendingCommand_ = CommandId::None;

    BuildControls();
    ApplyCaptions();
    columnWidth_ = kColumnWidth;
    columnHeight_ = kColumnClientHeight + 40;

    CreatePages();
    interactionView_ =
        std::make_unique<WindowInteractionView>(static_cast<InteractionWindow &>(*this), view_, measurePage_,
                                                optionsPage_);
    pointer_ = std::make_unique<PointerInteraction>(*doc_, *interactionView_);

    EnablePageControls(false);
    EnableOutputButtons(false);

    {
        auto overview = std::make_unique<OverviewWindow>();
        overview->SetOwner(this, this);
        overviewWindow_ = overview.get();
        overview_ = std::move(overview);
    }
    overview_->setObjectName("OverviewWindow");
    overview_->setWindowTitle(language_ == Language::English ? QStringLiteral("ScrollView")
                                                             : QStringLiteral("画像スクロール"));
    overview_->hide();

    AdjustToScreen();
    // At the screen's top-left corner, never centred; the column alone.
    PlaceFrame(screenBounds_.topLeft());
    SetWindowSize(QSize(columnWidth_, columnHeight_));

    liveView_->setGeometry(columnWidth_ + 5, 5, 640, 480);
    liveView_->hide();

    if (imagePage_ && imagePage_->defaultCameraIndex() >= 0) {
        SetWindowSize(QSize(columnWidth_ + kLiveViewAllowance, columnHeight_));
        imagePage_->OpenCamera(imagePage_->defaultCameraIndex(), liveView_);
    }
    StartWirelessReceiver();

    windowKeys_ = std::make_unique<WindowKeys>(*this);
    if (imagePage_)
        windowKeys_->exempt(imagePage_);
    if (scalePage_)
        windowKeys_->exempt(scalePage_);
    if (optionsPage_)
        windowKeys_->exempt(optionsPage_->controls().uncertainty);
    // Children of the window.
    new WindowFiles(*this, imagePage_);
    new SessionGuard(*this, env_.recoveryDir);

    connect(
        this, &MainWindow::commandPosted, this, [this](int id) { OnCommand(static_cast<CommandId>(id)); },
        Qt::QueuedConnection);
}

void MainWindow::BuildControls()
{
    column_ = new QWidget(this);
    column_->setObjectName("controlColumn");
    column_->setGeometry(0, 0, kColumnWidth, kColumnClientHeight);

    logo_ = new QLabel(column_);
    logo_->setObjectName("logo");
    logo_->setPixmap(QIcon(QStringLiteral(":/orvalin/logo.svg")).pixmap(110, 36));
    logo_->setFixedSize(110, 36);

    auto makeButton = [this](QPushButton *&b, const char *name, const QString &text) {
        b = new QPushButton(text, column_);
        b->setObjectName(name);
        b->setAutoDefault(false);
    };
    makeButton(overviewButton_, "button1016", QString());
    overviewButton_->setCheckable(true);
    overviewButton_->setIcon(QIcon(QStringLiteral(":/orvalin/overview.svg")));
    overviewButton_->setIconSize(QSize(30, 22));
    overviewButton_->setFixedSize(40, 32);
    makeButton(aboutButton_, "aboutButton", QStringLiteral("?"));
    aboutButton_->setFixedSize(20, 32);
    makeButton(exitButton_, "button1", QStringLiteral("終了"));
    exitButton_->setDefault(true);
    exitButton_->setFixedSize(46, 36);

    tabs_ = new QTabWidget(column_);
    tabs_->setObjectName("tab1002");
    tabs_->setUsesScrollButtons(false);
    // Four labels side by side in the narrow column.
    QFont tabFont = tabs_->tabBar()->font();
    tabFont.setPointSize(8);
    tabs_->tabBar()->setFont(tabFont);

    resultsView_ = new ResultsView(doc_->results(), column_);
    resultsView_->setObjectName("list1004");
    resultsView_->setFixedHeight(kListHeight);

    makeButton(csvButton_, "button1003", QStringLiteral("CSV出力"));
    makeButton(saveImageButton_, "button1005", QStringLiteral("ラベル　出力"));
    makeButton(reportButton_, "button3", QStringLiteral("レポート出力"));
    makeButton(deleteAllButton_, "button4", QStringLiteral("全削除"));

    auto *top = new QHBoxLayout;
    top->setSpacing(4);
    top->addWidget(logo_);
    top->addStretch(1);
    top->addWidget(overviewButton_);
    top->addWidget(aboutButton_);
    top->addWidget(exitButton_);
    auto *outputs = new QGridLayout;
    outputs->setSpacing(3);
    outputs->addWidget(csvButton_, 0, 0);
    outputs->addWidget(reportButton_, 0, 1);
    outputs->addWidget(saveImageButton_, 1, 0);
    outputs->addWidget(deleteAllButton_, 1, 1);
    auto *layout = new QVBoxLayout(column_);
    layout->setContentsMargins(7, 7, 7, 7);
    layout->setSpacing(6);
    layout->addLayout(top);
    layout->addWidget(tabs_, 1);
    layout->addWidget(resultsView_);
    layout->addLayout(outputs);

    view_ = new ImageView(*this, this);
    view_->setGeometry(0, 0, 0, 0);
    view_->hide();

    liveView_ = new LiveView(this);

    connect(exitButton_, &QPushButton::clicked, this, [this] { OnCommand(CommandId::Exit); });
    connect(csvButton_, &QPushButton::clicked, this, [this] { OnCommand(CommandId::SaveCsv); });
    connect(saveImageButton_, &QPushButton::clicked, this, [this] { OnCommand(CommandId::SaveImage); });
    connect(reportButton_, &QPushButton::clicked, this, [this] { OnCommand(CommandId::Report); });
    connect(deleteAllButton_, &QPushButton::clicked, this, [this] { OnCommand(CommandId::DeleteAll); });
    connect(overviewButton_, &QPushButton::clicked, this, [this] { OnCommand(CommandId::Overview); });
    connect(aboutButton_, &QPushButton::clicked, this, &MainWindow::ShowAbout);
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { OnTabChange(); });
    connect(resultsView_, &ResultsView::listClicked, this, &MainWindow::OnListClick);
    connect(resultsView_, &ResultsView::listRightDoubleClicked, this, &MainWindow::OnListRightDoubleClick);
    connect(resultsView_, &ResultsView::listDoubleClicked, this, &MainWindow::OnListDoubleClick);
    connect(resultsView_, &ResultsView::listRightClicked, this, &MainWindow::OnListRightClick);
}

void MainWindow::ApplyCaptions()
{
    overviewButton_->setToolTip(ToolTipFor(CommandId::Overview));
    // The about entry of the window menu, as a button where there is no such menu.
    aboutButton_->setToolTip(language_ == Language::English ? QStringLiteral("About Orvalin...")
                                                            : QStringLiteral("Orvalin のﾊﾞｰｼﾞｮﾝ情報..."));
    if (language_ != Language::English)
        return;
    exitButton_->setText(QStringLiteral("Exit"));
    csvButton_->setText(QStringLiteral("Save Data Only"));
    saveImageButton_->setText(QStringLiteral("Save Image Only"));
    // "&&" shows a single ampersand.
    reportButton_->setText(QStringLiteral("Save Data && Img"));
    deleteAllButton_->setText(QStringLiteral("Delete All Data"));
}

QString MainWindow::ToolTipFor(CommandId id) const
{
    if (id != CommandId::Overview)
        return {};
    return language_ == Language::English ? QStringLiteral("Show / Hide a Scroll Window")
                                          : QStringLiteral("スクロールウィンドウの表示/非表示");
}

void MainWindow::CreatePages()
{
    // Created in the order Image, Scale, Measure, Option; the tab control
    // places them below its labels.
    auto *image = new ImagePage(tabs_, env_);
    image->SetOwner(this);
    imagePage_ = image;
    scalePage_ = new ScalePage(*doc_, tabs_, env_);
    scalePage_->SetOwner(this);
    measurePage_ = new MeasurePage(tabs_, env_.locale);
    measurePage_->SetOwner(this);
    measurePage_->ToolSelect();
    optionsPage_ = new OptionsPage(*doc_, tabs_, env_);
    optionsPage_->SetOwner(this);

    const bool english = language_ == Language::English;
    // Inserting the tabs would switch pages; the switch of start-up runs once below.
    const QSignalBlocker block(tabs_);
    tabs_->addTab(image, english ? QStringLiteral("Image") : QStringLiteral("ｲﾒｰｼﾞ"));
    tabs_->addTab(scalePage_, english ? QStringLiteral("Scale") : QStringLiteral("ｽｹｰﾙ"));
    tabs_->addTab(measurePage_, english ? QStringLiteral("Measure") : QStringLiteral("計測"));
    tabs_->addTab(optionsPage_, english ? QStringLiteral("Option") : QStringLiteral("ｵﾌﾟｼｮﾝ"));
    tabs_->setCurrentIndex(PageImage);
    OnTabChange();
}

void MainWindow::AdjustToScreen()
{
    // Panels and task bars are no part of it: the window's frame, title bar
    // included, keeps inside what is left.
    QRect bounds = env_.screenArea ? env_.screenArea() : QRect();
    if (bounds.isEmpty() && env_.screenSize)
        bounds = QRect(QPoint(0, 0), env_.screenSize());
    if (bounds.isEmpty()) {
        const QScreen *s = QGuiApplication::primaryScreen();
        bounds = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
    }
    screenBounds_ = bounds;
    QSize screen = bounds.size();
    if (screen.height() < kShortScreen) {
        // Later layout uses the adjusted height; the list gives up the difference.
        screen.setHeight(screen.height() + env_.captionHeight);
        const int shrink = std::max(0, kShortScreen - screen.height());
        const int listHeight = std::max(kMinListHeight, kListHeight - shrink);
        const int taken = kListHeight - listHeight;
        resultsView_->setFixedHeight(listHeight);
        column_->resize(kColumnWidth, kColumnClientHeight - taken);
        columnHeight_ -= taken;
    }
    screen_ = screen;
}

void MainWindow::SetWindowSize(QSize outer)
{
    requestedSize_ = outer;
    ApplyWindowSize();
}

QMargins MainWindow::FrameMargins() const
{
    // The platform's reading first: the widget's own copy is brought up to
    // date only by moves and resizes, and a window manager may frame the
    // window after it appeared without moving its client area.
    if (const QWindow *w = windowHandle(); w && w->handle())
        return w->frameMargins();
    const QRect f = frameGeometry();
    const QRect g = geometry();
    return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
}

void MainWindow::ApplyWindowSize()
{
    // The sizes count the frame, which the platform knows only once the
    // window is shown (and which is none without a window manager).
    const QMargins m = FrameMargins();
    frameExtra_ = QSize(m.left() + m.right(), m.top() + m.bottom());
    const QSize outer = requestedSize_.boundedTo(screenBounds_.size());
    resize((outer - frameExtra_).expandedTo(QSize(1, 1)));
    KeepOnScreen();
}

void MainWindow::PlaceFrame(QPoint topLeft)
{
    const QMargins m = FrameMargins();
    if (windowHandle() && windowHandle()->handle()) {
        // The client area goes where the frame's margins put it, whatever the
        // widget last heard of the frame.
        setGeometry(QRect(topLeft + QPoint(m.left(), m.top()), size()));
    } else {
        // Not made yet: the position counts the frame, as the platform places it.
        move(topLeft);
    }
}

void MainWindow::KeepOnScreen()
{
    const QRect frame = geometry().marginsAdded(FrameMargins());
    const QRect &s = screenBounds_;
    const int x = std::max(s.left(), std::min(frame.left(), s.left() + s.width() - frame.width()));
    const int y = std::max(s.top(), std::min(frame.top(), s.top() + s.height() - frame.height()));
    if (QPoint(x, y) != frame.topLeft())
        PlaceFrame(QPoint(x, y));
}

void MainWindow::FollowFrame()
{
    if (requestedSize_.isEmpty())
        return;
    // A window manager frames the window after it was sized: size it again
    // so that the outer size stays the one asked for.
    const QMargins m = FrameMargins();
    if (QSize(m.left() + m.right(), m.top() + m.bottom()) != frameExtra_) {
        ApplyWindowSize();
        return;
    }
    // Its title bar stays on a screen, whoever put it elsewhere.
    const QRect frame = geometry().marginsAdded(m);
    if (!OnSomeScreen(QPoint(frame.center().x(), frame.top())))
        KeepOnScreen();
}

bool MainWindow::OnSomeScreen(QPoint p) const
{
    if (screenBounds_.contains(p))
        return true;
    // The window's own area stands for the primary screen's.
    const QScreen *primary = QGuiApplication::primaryScreen();
    for (const QScreen *s : QGuiApplication::screens())
        if (s != primary && s->availableGeometry().contains(p))
            return true;
    return false;
}

void MainWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FollowFrame();
    // The frame may come a moment after the window appeared.
    QMetaObject::invokeMethod(this, &MainWindow::FollowFrame, Qt::QueuedConnection);
}

void MainWindow::moveEvent(QMoveEvent *event)
{
    QDialog::moveEvent(event);
    FollowFrame();
}

void MainWindow::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // A window manager activates the window once it has framed it.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FollowFrame();
}

void MainWindow::EnablePageControls(bool on)
{
    if (scalePage_)
        scalePage_->EnableCalibControls(on);
    if (measurePage_)
        measurePage_->EnableToolButtons(on);
    if (optionsPage_)
        optionsPage_->EnableOptionControls(on);
}

void MainWindow::EnableOutputButtons(bool on)
{
    for (QPushButton *b : {csvButton_, saveImageButton_, reportButton_, deleteAllButton_})
        b->setEnabled(on);
}

QPushButton *MainWindow::button(CommandId id) const
{
    switch (id) {
    case CommandId::Exit: return exitButton_;
    case CommandId::Report: return reportButton_;
    case CommandId::DeleteAll: return deleteAllButton_;
    case CommandId::SaveCsv: return csvButton_;
    case CommandId::SaveImage: return saveImageButton_;
    case CommandId::Overview: return overviewButton_;
    default: return nullptr;
    }
}

void MainWindow::SetOverviewShown(bool shown)
{
    overviewShown_ = shown;
    overviewButton_->setChecked(shown);
}

}  // namespace orv

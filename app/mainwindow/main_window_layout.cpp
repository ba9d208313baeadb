// Main window: sizing the window and the view to the zoomed image.
#include "app/mainwindow/main_window.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>

#include <algorithm>
#include <cmath>

#include "app/dialogs/ui_prompter.h"
#include "app/view/image_view.h"
#include "app/view/overview_window.h"
#include "view/view_composer.h"

namespace orv {
namespace {

// Frame of the overview window as its outer size counts it.
constexpr int kOverviewFrame = 3;

// Device pixels to window pixels (rounded up, so the widget holds them all).
int ToWindow(long long device, qreal ratio)
{
    return static_cast<int>(std::ceil(static_cast<double>(device) / ratio));
}

// Window pixels to the device pixels they hold.
int ToDevice(int window, qreal ratio)
{
    return static_cast<int>(std::floor(window * ratio));
}

}  // namespace

qreal MainWindow::CurrentViewRatio() const
{
    const qreal ratio = view_->devicePixelRatioF();
    return ratio > 0 ? ratio : 1.0;
}

void MainWindow::LayoutView()
{
    const int C = columnWidth_;
    const int K = columnHeight_;
    const int SW = screen_.width();
    const int SH = screen_.height();
    const long long W = doc_->zoom().geometry().imageSize.width();
    const long long H = doc_->zoom().geometry().imageSize.height();
    // The view shows a zoomed pixel per device pixel: on a 2x screen it takes
    // half as many window pixels, and nothing is stretched twice.
    viewRatio_ = CurrentViewRatio();
    const long long zoomedW = doc_->zoom().geometry().zoomX * W / 100;
    const long long zoomedH = doc_->zoom().geometry().zoomY * H / 100;

    int viewH = ToWindow(zoomedH, viewRatio_);
    int viewW = ToWindow(zoomedW, viewRatio_);
    int d = std::max(K, viewH + 40);
    int w = C + viewW + 15;
    if (SW < w) {
        viewW = SW - C - 15;
        w = SW;
    }
    if (SH < d) {
        viewH = SH - 40;
        d = SH;
    }
    update();
    SetWindowSize(QSize(w, d));
    PlaceFrame(screenBounds_.topLeft());
    // A short screen's adjusted height counts the caption: the window is cut
    // to the real screen, and the view ends inside it.
    viewH = std::min(viewH, std::min(d, screenBounds_.height()) - 40);

    if ((w == SW || d == SH) && W > 0 && H > 0) {
        int r = static_cast<int>(C * H / W);
        int clientW = C;
        const int chrome = env_.captionHeight + 2 * kOverviewFrame;
        // A tall image's overview is shrunk, in proportion, to fit the screen.
        const int maxR = std::max(1, screenBounds_.height() - chrome);
        if (r > maxR) {
            r = maxR;
            clientW = std::max(1, static_cast<int>(r * W / H));
        }
        const int l = chrome + r;
        int u = K + l > SH ? SH - l : K;
        u = std::max(0, std::min(u, screenBounds_.height() - l));
        if (overview_) {
            const QSize client(clientW, r);
            if (overviewWindow_)
                overviewWindow_->SetClientSize(client);
            overview_->resize(client);
            overview_->move(screenBounds_.topLeft() + QPoint(0, u));
            overview_->show();
        }
        if (overviewWindow_)
            overviewWindow_->ShowNotInitialized(false);
        overviewShown_ = true;
    } else {
        if (overview_)
            overview_->hide();
        if (overviewWindow_)
            overviewWindow_->ShowNotInitialized(true);
        overviewShown_ = false;
    }
    SetOverviewShown(overviewShown_);

    viewW = std::max(0, viewW);
    viewH = std::max(0, viewH);
    doc_->zoom().layout().size = QSize(static_cast<int>(std::min<long long>(zoomedW, ToDevice(viewW, viewRatio_))),
                                       static_cast<int>(std::min<long long>(zoomedH, ToDevice(viewH, viewRatio_))));
    view_->setGeometry(QRect(doc_->zoom().geometry().origin, QSize(viewW, viewH)));
    view_->setVisible(hasImage());
    // The composite does not depend on the view: its layer stays.
    composer_->InvalidatePicture();
}

void MainWindow::FollowViewRatio()
{
    const qreal ratio = CurrentViewRatio();
    if (qFuzzyCompare(ratio, viewRatio_))
        return;
    viewRatio_ = ratio;
    if (!hasImage())
        return;
    const ViewGeometry &geo = doc_->zoom().geometry();
    const long long zoomedW = static_cast<long long>(geo.zoomX) * geo.imageSize.width() / 100;
    const long long zoomedH = static_cast<long long>(geo.zoomY) * geo.imageSize.height() / 100;
    doc_->zoom().layout().size =
        QSize(static_cast<int>(std::min<long long>(zoomedW, ToDevice(view_->width(), ratio))),
              static_cast<int>(std::min<long long>(zoomedH, ToDevice(view_->height(), ratio))));
    doc_->zoom().layout().scroll = QPoint(0, 0);
    composer_->InvalidatePicture();
    RebuildView();
}

int MainWindow::FitZoom() const
{
    const int W = doc_->zoom().geometry().imageSize.width();
    const int H = doc_->zoom().geometry().imageSize.height();
    if (W <= 0 || H <= 0)
        return 100;
    // In device pixels, as the view shows the zoomed image.
    const qreal ratio = CurrentViewRatio();
    const long long zx = static_cast<long long>(ToDevice(screen_.width() - columnWidth_ - 15, ratio)) * 100 / W;
    const long long zy = static_cast<long long>(ToDevice(screen_.height() - 40, ratio)) * 100 / H;
    return static_cast<int>(std::min(zx, zy));
}

QString MainWindow::GetTempDir()
{
    const QString dir = env_.tempDir ? env_.tempDir() : QDir::tempPath();
    if (!dir.isEmpty() && QFileInfo(dir).isDir())
        return QDir::cleanPath(dir);
    const QString text = language_ == Language::English
        ? QStringLiteral("Could not open temporary file.")
        : QStringLiteral("テンポラリーファイルの出力先が見つかりません。");
    prompter().message(this, text, windowTitle(), UiPrompter::Buttons::Ok, UiPrompter::Icon::Warning);
    return {};
}

void MainWindow::SetZoom(int zoomX, int zoomY)
{
    // zoomChanged marks the rebuild.
    doc_->zoom().SetZoom(zoomX, zoomY);
}

void MainWindow::SetScroll(QPoint scroll)
{
    doc_->zoom().SetScroll(scroll);
}

}  // namespace orv

// Main window: sizing the window and the view to the zoomed image.
#include "orvalin_dlg.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>

#include <algorithm>

#include "image_view.h"
#include "page_bridge.h"
#include "ui_prompter.h"
#include "view_composer.h"

namespace orv {
namespace {

// Frame of the overview window as its outer size counts it.
constexpr int kOverviewFrame = 3;

}  // namespace

void COrvalinDlg::LayoutView()
{
    const int C = columnWidth_;
    const int K = columnHeight_;
    const int SW = screen_.width();
    const int SH = screen_.height();
    const long long W = geo_.imageSize.width();
    const long long H = geo_.imageSize.height();

    int viewH = static_cast<int>(geo_.zoomY * H / 100);
    int viewW = static_cast<int>(geo_.zoomX * W / 100);
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
    move(0, 0);

    if ((w == SW || d == SH) && W > 0) {
        const int r = static_cast<int>(C * H / W);
        const int l = env_.captionHeight + 2 * kOverviewFrame + r;
        const int u = K + l > SH ? SH - l : K;
        page_bridge::PlaceOverview(*this, QPoint(0, u), QSize(C, r));
        if (overview_)
            overview_->show();
        page_bridge::ShowOverviewLabel(*this, false);
        overviewShown_ = true;
    } else {
        if (overview_)
            overview_->hide();
        page_bridge::ShowOverviewLabel(*this, true);
        overviewShown_ = false;
    }
    SetOverviewShown(overviewShown_);

    geo_.size = QSize(std::max(0, viewW), std::max(0, viewH));
    view_->setGeometry(QRect(geo_.origin, geo_.size));
    view_->setVisible(hasImage());
    composer_->Invalidate();
}

int COrvalinDlg::FitZoom() const
{
    const int W = geo_.imageSize.width();
    const int H = geo_.imageSize.height();
    if (W <= 0 || H <= 0)
        return 100;
    const long long zx = static_cast<long long>(screen_.width() - columnWidth_ - 15) * 100 / W;
    const long long zy = static_cast<long long>(screen_.height() - 40) * 100 / H;
    return static_cast<int>(std::min(zx, zy));
}

QString COrvalinDlg::GetTempDir()
{
    const QString dir = env_.tempDir ? env_.tempDir() : QDir::tempPath();
    if (!dir.isEmpty() && QFileInfo(dir).isDir())
        return QDir::cleanPath(dir);
    const QString text = language_ == Language::English
                             ? QStringLiteral("Could not open temporary file.")
                             : QStringLiteral("テンポラリーファイルの出力先が見つかりません。");
    UiPrompter::instance().message(this, text, windowTitle(), UiPrompter::Buttons::Ok,
                                   UiPrompter::Icon::Warning);
    return {};
}

void COrvalinDlg::SetZoom(int zoomX, int zoomY)
{
    geo_.zoomX = zoomX;
    geo_.zoomY = zoomY;
    geo_.scroll = QPoint(0, 0);
    if (hasImage())
        viewState_ = ViewRebuild;
}

void COrvalinDlg::SetScroll(QPoint scroll)
{
    geo_.scroll = scroll;
}

void COrvalinDlg::setRememberedCursor(Qt::CursorShape shape)
{
    cursor_ = shape;
    if (shape == Qt::BlankCursor)
        view_->unsetCursor();
    else
        view_->setCursor(shape);
}

void COrvalinDlg::forgetCursor()
{
    cursor_ = Qt::BlankCursor;
}

}  // namespace orv

#include "app/view/overview_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "app/pages/page_host.h"
#include "app/pages/page_index.h"
#include "view/overview_geometry.h"
#include "view/view_scaler.h"

namespace orv {

OverviewWindow::OverviewWindow(QWidget *parent) :
    QDialog(parent,
            Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("overviewWindow"));
    setModal(false);
    setMouseTracking(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    label_ = new QLabel(QStringLiteral("Not Initialized"), this);
    label_->setObjectName(QStringLiteral("notInitializedLabel"));
    label_->setAlignment(Qt::AlignCenter);
    // The label must not swallow the pointer: the frame lies under it.
    label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout->addWidget(label_);
    setFixedSize(client_);
}

OverviewWindow::~OverviewWindow() = default;

void OverviewWindow::SetOwner(PageHost *owner, QWidget *ownerWindow)
{
    owner_ = owner;
    if (!owner || !ownerWindow)
        return;
    // A modal main window blocks the input of every window that is not its
    // own: a window without a parent would ignore the mouse. As a tool window
    // of the main window it stays a window of its own, above it.
    const bool shown = isVisible();
    setParent(ownerWindow, (windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
    setVisible(shown);
}

void OverviewWindow::SetClientSize(QSize size)
{
    client_ = size.expandedTo(QSize(1, 1));
    setFixedSize(client_);
    if (!picture_.isNull() && picture_.deviceIndependentSize().toSize() != client_)
        picture_ = Scaled(picture_);
    update();
}

void OverviewWindow::SetPicture(const QImage &composite)
{
    picture_ = composite.isNull() ? QImage() : Scaled(composite);
    update();
}

QSize OverviewWindow::pictureSize() const
{
    // In device pixels: on a 2x screen the small picture is not stretched again.
    const qreal ratio = devicePixelRatioF() > 0 ? devicePixelRatioF() : 1.0;
    return (QSizeF(client_) * ratio).toSize();
}

void OverviewWindow::SetScaledPicture(const QImage &picture)
{
    picture_ = picture;
    picture_.setDevicePixelRatio(devicePixelRatioF() > 0 ? devicePixelRatioF() : 1.0);
    update();
}

QImage OverviewWindow::Scaled(const QImage &from) const
{
    // The view's scaling, so that a picture made here and one rescaled in
    // parts by the view's composer agree.
    const QImage source = from.convertToFormat(QImage::Format_RGB32);
    QImage scaled(pictureSize(), QImage::Format_RGB32);
    SmoothScaler().Scale(source, source.rect(), scaled, scaled.rect());
    scaled.setDevicePixelRatio(devicePixelRatioF() > 0 ? devicePixelRatioF() : 1.0);
    return scaled;
}

void OverviewWindow::UpdateFrame(int x, int y)
{
    if (x == -1 && y == -1) {
        if (owner_)
            UpdateFrameFrom(owner_->view());
        return;
    }
    frame_.moveTo(x, y);
    update();
}

void OverviewWindow::UpdateFrameFrom(const ViewGeometry &view)
{
    frame_ = OverviewFrame(view, client_);
    update();
}

void OverviewWindow::ShowNotInitialized(bool show)
{
    label_->setVisible(show);
    update();
}

void OverviewWindow::reject()
{
    close();
}

bool OverviewWindow::Inside(QPoint p) const
{
    // Edges included.
    return p.x() >= frame_.x() && p.x() <= frame_.x() + frame_.width() && p.y() >= frame_.y()
        && p.y() <= frame_.y() + frame_.height();
}

void OverviewWindow::paintEvent(QPaintEvent *)
{
    if (label_->isVisible())
        return;
    QPainter painter(this);
    if (!picture_.isNull())
        painter.drawImage(0, 0, picture_);
    if (frame_.width() > 0 && frame_.height() > 0) {
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.fillRect(frame_, Qt::white);
    }
}

void OverviewWindow::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (!overFrame_) {
        if (Inside(p)) {
            overFrame_ = true;
            setCursor(Qt::SizeAllCursor);
        }
    } else if (!dragging_) {
        if (!Inside(p)) {
            overFrame_ = false;
            setCursor(Qt::ArrowCursor);
        }
    } else {
        DragTo(p);
    }
    event->accept();
}

void OverviewWindow::DragTo(QPoint p)
{
    frame_.moveTo(ClampFramePosition(p - grab_, frame_.size(), client_));
    if (owner_) {
        const QPoint scroll = ScrollForFrame(owner_->view(), client_, frame_.topLeft());
        owner_->SetScroll(scroll);
        // Only the visible part is stretched again: no rebuild, no overview repaint.
        owner_->setViewState(ViewState::ScrollOnly);
        owner_->UpdateView();
        emit scrolled(scroll);
    }
    update();
}

void OverviewWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && overFrame_) {
        grab_ = event->position().toPoint() - frame_.topLeft();
        dragging_ = true;
    }
    event->accept();
}

void OverviewWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        dragging_ = false;
    event->accept();
}

void OverviewWindow::closeEvent(QCloseEvent *event)
{
    dragging_ = false;
    if (owner_)
        owner_->SetOverviewShown(false);
    event->accept();
}

}  // namespace orv

// Sizing the window and the view to the zoomed image on a given screen.
#include <qpa/qwindowsysteminterface.h>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

#include "app/pages/options/options_page.h"
#include "app/view/image_view.h"
#include "app/view/overview_window.h"
#include "tests/app/mainwindow/main_window_fixture.h"
#include "view/view_composer.h"

namespace orv::test {
namespace {

using Layout = MainWindowTest;

TEST_F(Layout, WideImageOnA1024ScreenFillsTheScreenWidthAndShowsTheOverview)
{
    MainWindow &d = MakeWithImage({2000, 500});
    const int C = d.host().columnWidth();
    EXPECT_EQ(d.host().windowSizeRequested().width(), 1024);
    EXPECT_EQ(d.host().view().size.width(), 1024 - C - 15);
    EXPECT_EQ(d.host().view().size.height(), 500);
    EXPECT_EQ(d.host().windowSizeRequested().height(), std::max(PartsOf(d).columnHeight, 540));
    EXPECT_TRUE(PartsOf(d).overviewShown);
    EXPECT_TRUE(d.host().button(CommandId::Overview)->isChecked());
    EXPECT_TRUE(PartsOf(d).overviewWindow->isVisible());
    // The overview is the column's width and keeps the image's proportions.
    EXPECT_EQ(PartsOf(d).overviewWindow->size(), QSize(C, C * 500 / 2000));
    EXPECT_EQ(PartsOf(d).overviewWindow->pos().x(), 0);

    // At 50 % (1000 pixels) the column still pushes the width past the screen.
    d.host().SetZoom(50, 50);
    d.host().LayoutView();
    EXPECT_EQ(d.host().windowSizeRequested().width(), 1024);
    EXPECT_TRUE(PartsOf(d).overviewShown);
    EXPECT_EQ(d.host().view().size, QSize(1024 - C - 15, 250));
    EXPECT_EQ(PartsOf(d).imageView->geometry(), QRect(QPoint(C + 5, 5), d.host().view().size));
}

TEST_F(Layout, ImageThatFitsHidesTheOverviewAndSizesTheWindowToTheView)
{
    MainWindow &d = MakeWithImage({400, 300});
    const int C = d.host().columnWidth();
    EXPECT_EQ(d.host().view().origin, QPoint(C + 5, 5));
    EXPECT_EQ(d.host().view().size, QSize(400, 300));
    EXPECT_EQ(d.host().windowSizeRequested(), QSize(C + 400 + 15, PartsOf(d).columnHeight));
    EXPECT_FALSE(PartsOf(d).overviewShown);
    EXPECT_FALSE(PartsOf(d).overviewWindow->isVisible());
    EXPECT_EQ(d.pos(), QPoint(0, 0));
}

TEST_F(Layout, TallImageIsCutAtTheScreenHeightAndTheOverviewMovesUp)
{
    MainWindow &d = MakeWithImage({300, 1500});
    EXPECT_EQ(d.host().windowSizeRequested().height(), 768);
    EXPECT_EQ(d.host().view().size.height(), 768 - 40);
    EXPECT_TRUE(PartsOf(d).overviewShown);
    // The overview does not fit below the column, nor (C x 5 high) on the
    // screen at all: it shrinks in proportion to the screen's height and ends
    // at the screen's bottom.
    const int r = 768 - 23 - 2 * 3;
    EXPECT_EQ(PartsOf(d).overviewWindow->size(), QSize(r * 300 / 1500, r));
    EXPECT_EQ(PartsOf(d).overviewWindow->pos(), QPoint(0, 0));
    // Its frame still marks the view's share of the image.
    PartsOf(d).overview->UpdateFrame();
    EXPECT_EQ(PartsOf(d).overview->frame().height(), r * (768 - 40) / 1500);
}

TEST_F(Layout, FitZoomTakesTheSmallerRatioOfTheFreeScreen)
{
    MainWindow &d = MakeWithImage({2000, 500});
    const int C = d.host().columnWidth();
    EXPECT_EQ(d.host().FitZoom(), std::min((1024 - C - 15) * 100 / 2000, (768 - 40) * 100 / 500));
    MakeWithImage({100, 1456});
    EXPECT_EQ(mainWindow->host().FitZoom(),
              std::min((1024 - mainWindow->host().columnWidth() - 15) * 100 / 100, 728 * 100 / 1456));
    EXPECT_EQ(mainWindow->host().FitZoom(), 50);
}

TEST_F(Layout, ShortScreenShortensTheListAndTheColumn)
{
    Make("en", "en", {1024, 600});
    MainWindow &tall = *mainWindow;
    const int shortColumn = PartsOf(tall).columnHeight;
    const int shortList = PartsOf(tall).resultsView->height();
    auto full = std::make_unique<MainWindow>(Env("en", "en", {1024, 768}));
    EXPECT_EQ(PartsOf(*full).columnHeight - shortColumn, 768 - 623);
    EXPECT_EQ(PartsOf(*full).resultsView->height() - shortList, 768 - 623);
    EXPECT_EQ(tall.host().windowSizeRequested().height(), shortColumn);

    // An image larger than the screen asks for the whole screen as the layout
    // counts it: a short screen's height gets the caption's back.
    const QString big = WriteImage("big.png", {3000, 2000});
    tall.LoadImageFile(big);
    full->LoadImageFile(big);
    EXPECT_EQ(tall.host().windowSizeRequested(), QSize(1024, 600 + 23));
    EXPECT_EQ(full->host().windowSizeRequested(), QSize(1024, 768));
}

// Window sizes are outer sizes (frame included) and the window sits at the
// screen's top-left corner, whatever the frame the platform gives it.
TEST_F(Layout, WindowKeepsTheCornerAndItsOuterSizeThroughImageAndImagePage)
{
    MainWindow &d = Make();
    const int C = d.host().columnWidth();
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    Settle();
    // Started without an image: the control column, not centred.
    EXPECT_EQ(d.frameGeometry(), QRect(0, 0, C, 742));

    d.LoadImageFile(WriteImage("fits.png", {400, 300}));
    ASSERT_TRUE(d.hasImage());
    Settle();
    EXPECT_EQ(d.frameGeometry(), QRect(0, 0, C + 400 + 15, PartsOf(d).columnHeight));
    // The view lies wholly inside the window.
    EXPECT_TRUE(d.rect().contains(PartsOf(d).imageView->geometry()));

    d.host().SelectTab(PageScale);
    prompter.answers.push_back(UiPrompter::Answer::Yes);
    d.host().SelectTab(PageImage);
    ASSERT_FALSE(d.hasImage());
    Settle();
    EXPECT_EQ(d.frameGeometry(), QRect(0, 0, C, 742));
}

TEST_F(Layout, ShortScreenKeepsTheWindowAndTheOverviewOnIt)
{
    MainWindow &d = Make("en", "en", {1024, 600});
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    const QRect screen(0, 0, 1024, 600);
    Settle();
    EXPECT_TRUE(screen.contains(d.frameGeometry())) << d.frameGeometry().bottom();

    d.LoadImageFile(WriteImage("tall.png", {300, 1500}));
    ASSERT_TRUE(PartsOf(d).overviewShown);
    Settle();
    EXPECT_TRUE(screen.contains(d.frameGeometry())) << d.frameGeometry().bottom();
    EXPECT_TRUE(d.rect().contains(PartsOf(d).imageView->geometry()));
    EXPECT_TRUE(screen.contains(PartsOf(d).overviewWindow->frameGeometry()))
        << PartsOf(d).overviewWindow->frameGeometry().bottom();
}

// A window on a desktop whose panels and task bars leave area free.
class FreeArea : public MainWindowTest {
protected:
    MainWindow &ShownOn(QRect area)
    {
        WindowEnvironment env = Env();
        env.screenArea = [area] { return area; };
        mainWindow = std::make_unique<MainWindow>(std::move(env));
        mainWindow->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(mainWindow.get()));
        Settle();
        return *mainWindow;
    }
};

// The frame, title bar included, starts at the free area's corner and stays
// inside it, also when a zoom makes the image far larger than the screen.
TEST_F(FreeArea, FrameStartsAtTheCornerAndStaysInsideAtZoom200)
{
    struct Case {
        const char *name;
        QRect area;
    };
    const Case cases[] = {
        {"1080 screen, top panel, bottom task bar", QRect(0, 27, 1920, 1080 - 27 - 40)},
        {"1080 screen, dock on the left", QRect(64, 0, 1920 - 64, 1080)},
        {"1080 screen, nothing taken", QRect(0, 0, 1920, 1080)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow &d = ShownOn(c.area);
        const QMargins m = d.windowHandle()->frameMargins();
        EXPECT_EQ(d.frameGeometry().topLeft(), c.area.topLeft());
        // The client area lies inside the frame's margins.
        EXPECT_EQ(d.geometry().topLeft(), c.area.topLeft() + QPoint(m.left(), m.top()));

        d.LoadImageFile(WriteImage("large.png", {800, 600}));
        ASSERT_TRUE(d.hasImage());
        d.host().SelectTab(PageOptions);
        QComboBox *zoom = PartsOf(d).optionsPage->controls().zoom;
        emit zoom->activated(zoom->findText("200"));
        Settle();
        ASSERT_EQ(d.host().view().zoomY, 200);
        // 1200 pixels zoomed: the window is as tall as the area, not taller.
        EXPECT_EQ(d.frameGeometry().topLeft(), c.area.topLeft());
        EXPECT_EQ(d.frameGeometry().height(), c.area.height());
        EXPECT_TRUE(c.area.contains(d.frameGeometry())) << d.frameGeometry().bottom();
        EXPECT_TRUE(d.rect().contains(PartsOf(d).imageView->geometry()));
    }
}

// A window manager that puts the client area, not the frame, at the corner
// leaves the title bar above the screen: the window moves it back. Moved
// by hand inside the area, it stays where it was put.
TEST_F(FreeArea, TitleBarPutAboveTheAreaComesBackOntoIt)
{
    const QRect area(0, 27, 1280, 997);
    MainWindow &d = ShownOn(area);
    const QMargins m = d.windowHandle()->frameMargins();
    ASSERT_GT(m.top(), 0);
    QWindowSystemInterface::handleGeometryChange<QWindowSystemInterface::SynchronousDelivery>(
        d.windowHandle(), QRect(area.topLeft(), d.size()));
    Settle();
    EXPECT_EQ(d.frameGeometry().topLeft(), area.topLeft());

    d.move(100, 200);
    Settle();
    EXPECT_EQ(d.frameGeometry().topLeft(), QPoint(100, 200));
}

TEST_F(Layout, ViewMapsZoomedAndScrolledPointsToImagePixels)
{
    ViewGeometry g;
    g.zoomX = g.zoomY = 200;
    g.scroll = {100, 0};
    EXPECT_EQ(g.ViewToImage({50, 20}), QPoint(75, 10));
    EXPECT_EQ(g.ImageToView({75, 10}), QPoint(50, 20));
    g.zoomX = 0;  // never divides by zero
    EXPECT_EQ(g.ViewToImage({50, 20}).x(), 0);
    g.zoomX = 33;
    g.scroll = {0, 0};
    EXPECT_EQ(g.ViewToImage({10, 0}).x(), 30);  // 1000 / 33 truncated
    EXPECT_EQ(g.ViewToImage({-10, 0}).x(), -30);
}

TEST_F(Layout, VisiblePartIsStretchedSmoothlyAndCachedBetweenPaints)
{
    QImage composite(400, 200, QImage::Format_RGB32);
    composite.fill(Qt::white);
    for (int x = 200; x < 400; ++x)
        for (int y = 0; y < 200; ++y)
            composite.setPixel(x, y, qRgb(0, 0, 0));
    ViewGeometry g;
    g.zoomX = g.zoomY = 200;
    g.size = {400, 200};
    g.scroll = {200, 0};  // shows image x 100..300
    EXPECT_EQ(ViewComposer::VisibleSource(composite, g), QRect(100, 0, 200, 100));
    ViewComposer composer;
    const QImage &pic = composer.ViewPicture(composite, g);
    ASSERT_EQ(pic.size(), QSize(400, 200));
    EXPECT_EQ(QColor(pic.pixel(10, 50)), QColor(Qt::white));
    EXPECT_EQ(QColor(pic.pixel(390, 50)), QColor(Qt::black));
    // Smooth: the edge gets an intermediate grey.
    bool grey = false;
    for (int x = 190; x < 210; ++x)
        grey |= qGray(pic.pixel(x, 50)) > 20 && qGray(pic.pixel(x, 50)) < 235;
    EXPECT_TRUE(grey);
    composer.ViewPicture(composite, g);
    EXPECT_EQ(composer.rescaleCount(), 1);
    g.scroll = {0, 0};
    composer.ViewPicture(composite, g);
    EXPECT_EQ(composer.rescaleCount(), 2);
}

TEST_F(Layout, CompositeNeverWritesIntoTheSource)
{
    QImage source(20, 10, QImage::Format_RGB32);
    source.fill(Qt::white);
    const QImage composite = ViewComposer::BuildComposite(source, [](QImage &c) { c.fill(Qt::red); });
    EXPECT_EQ(QColor(source.pixel(5, 5)), QColor(Qt::white));
    EXPECT_EQ(QColor(composite.pixel(5, 5)), QColor(Qt::red));
    EXPECT_TRUE(ViewComposer::BuildComposite(QImage(), {}).isNull());
}

}  // namespace
}  // namespace orv::test

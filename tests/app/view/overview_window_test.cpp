// The overview window: its frame from the view, dragging it, its close box and
// its "Not Initialized" label.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <memory>

#include "app/view/overview_window.h"
#include "tests/app/mainwindow/main_window_fixture.h"
#include "view/overview_geometry.h"

namespace orv::test {
namespace {

ViewGeometry View(QSize image, int zoom, QSize view, QPoint scroll = {})
{
    ViewGeometry g;
    g.imageSize = image;
    g.zoomX = g.zoomY = zoom;
    g.size = view;
    g.scroll = scroll;
    return g;
}

TEST(OverviewGeometry, FrameOfTheViewAtTwiceTheSize)
{
    // 200 x 600 x 100 / (1000 x 200) = 60 pixels wide.
    const ViewGeometry v = View({1000, 800}, 200, {600, 500}, {400, 300});
    const QRect f = OverviewFrame(v, {200, 160});
    EXPECT_EQ(f.width(), 60);
    EXPECT_EQ(f.left(), 400 * 200 * 100 / (1000 * 200));
    EXPECT_EQ(f.top(), 160 * 300 * 100 / (800 * 200));
    EXPECT_EQ(f.height(), 500 * 160 * 100 / (800 * 200));
}

TEST(OverviewGeometry, TruncatesAndSurvivesLargeOrEmptyImages)
{
    // 7 x 199 x 100 / (333 x 150) = 2.79: truncated.
    EXPECT_EQ(OverviewFrame(View({333, 333}, 150, {199, 199}), {7, 7}).width(), 2);
    // Products beyond 32 bits.
    const QRect big = OverviewFrame(View({60000, 60000}, 300, {1800, 1000}, {170000, 170000}), {230, 230});
    EXPECT_EQ(big.left(), static_cast<int>(170000LL * 230 * 100 / (60000LL * 300)));
    EXPECT_EQ(big.width(), static_cast<int>(230LL * 1800 * 100 / (60000LL * 300)));
    EXPECT_TRUE(OverviewFrame(View({0, 0}, 100, {0, 0}), {200, 150}).isNull());
    EXPECT_TRUE(OverviewFrame(View({100, 100}, 0, {50, 50}), {200, 150}).isNull());
}

TEST(OverviewGeometry, ClampAndScrollBack)
{
    const QSize client(200, 160);
    EXPECT_EQ(ClampFramePosition({-5, -1}, {60, 50}, client), QPoint(0, 0));
    EXPECT_EQ(ClampFramePosition({150, 120}, {60, 50}, client), QPoint(140, 110));
    EXPECT_EQ(ClampFramePosition({140, 110}, {60, 50}, client), QPoint(140, 110));
    // A frame wider than the client stays at 0.
    EXPECT_EQ(ClampFramePosition({10, 10}, {260, 50}, client), QPoint(0, 10));

    // The right end: 200 x 1000 x 140 / 200 / 100 = 1400 = 2000 - 600.
    const ViewGeometry v = View({1000, 800}, 200, {600, 500});
    EXPECT_EQ(ScrollForFrame(v, client, {140, 0}), QPoint(1400, 0));
    EXPECT_EQ(ScrollForFrame(v, client, {0, 110}), QPoint(0, 200 * 800 * 110 / 160 / 100));
    EXPECT_EQ(ScrollForFrame(v, {0, 0}, {10, 10}), QPoint(0, 0));

    // A 230-pixel client over 2000 pixels with a 779-pixel view: the frame is
    // 89 wide, at the edge it starts at 141, which would scroll to 1226 and
    // show 5 pixels past the image; the view stops at 2000 - 779.
    const ViewGeometry wide = View({2000, 1500}, 100, {779, 728});
    const QSize small(230, 172);
    const QRect f = OverviewFrame(wide, small);
    EXPECT_EQ(f.width(), 89);
    const QPoint edge = ClampFramePosition({500, 0}, f.size(), small);
    EXPECT_EQ(edge.x(), 141);
    EXPECT_EQ(ScrollForFrame(wide, small, edge).x(), 1221);
}

class OverviewWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainWindow.SetClientSize({200, 160});
        mainWindow.UpdateFrameFrom(View({1000, 800}, 200, {600, 500}));
        mainWindow.ShowNotInitialized(false);
        mainWindow.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
    }

    OverviewWindow mainWindow;
};

TEST_F(OverviewWindowTest, HoverOverTheFrameShowsTheSizeAllCursor)
{
    EXPECT_EQ(mainWindow.frame(), QRect(0, 0, 60, 50));
    QTest::mouseMove(&mainWindow, {150, 100});
    EXPECT_FALSE(mainWindow.overFrame());
    // The frame's edges count as inside.
    QTest::mouseMove(&mainWindow, {60, 50});
    EXPECT_TRUE(mainWindow.overFrame());
    EXPECT_EQ(mainWindow.cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseMove(&mainWindow, {61, 20});
    EXPECT_FALSE(mainWindow.overFrame());
    EXPECT_EQ(mainWindow.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(OverviewWindowTest, DragKeepsTheFrameInsideTheClient)
{
    QTest::mouseMove(&mainWindow, {30, 20});
    QTest::mousePress(&mainWindow, Qt::LeftButton, {}, {30, 20});
    EXPECT_TRUE(mainWindow.dragging());
    QTest::mouseMove(&mainWindow, {50, 45});
    EXPECT_EQ(mainWindow.frame(), QRect(20, 25, 60, 50));
    // Far beyond the right and bottom edges: the frame ends on them.
    QTest::mouseMove(&mainWindow, {400, 400});
    EXPECT_EQ(mainWindow.frame(), QRect(140, 110, 60, 50));
    QTest::mouseMove(&mainWindow, {-100, 30});
    EXPECT_EQ(mainWindow.frame().topLeft(), QPoint(0, 10));
    QTest::mouseRelease(&mainWindow, Qt::LeftButton, {}, {-100, 30});
    EXPECT_FALSE(mainWindow.dragging());
    QTest::mouseMove(&mainWindow, {190, 150});
    EXPECT_EQ(mainWindow.frame().topLeft(), QPoint(0, 10));
}

TEST_F(OverviewWindowTest, PressOutsideTheFrameDoesNotDrag)
{
    QTest::mouseMove(&mainWindow, {150, 100});
    QTest::mousePress(&mainWindow, Qt::LeftButton, {}, {150, 100});
    EXPECT_FALSE(mainWindow.dragging());
    QTest::mouseMove(&mainWindow, {160, 110});
    EXPECT_EQ(mainWindow.frame(), QRect(0, 0, 60, 50));
    QTest::mouseRelease(&mainWindow, Qt::LeftButton, {}, {160, 110});
}

TEST_F(OverviewWindowTest, PaintsThePictureWithTheFrameInverted)
{
    QImage composite(1000, 800, QImage::Format_RGB32);
    composite.fill(QColor(200, 40, 10));
    mainWindow.SetPicture(composite);
    EXPECT_EQ(mainWindow.picture().size(), QSize(200, 160));
    const QImage shown = mainWindow.grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(100, 100)), QColor(200, 40, 10));
    EXPECT_EQ(QColor(shown.pixel(30, 25)), QColor(55, 215, 245));

    mainWindow.ShowNotInitialized(true);
    EXPECT_TRUE(mainWindow.notInitializedLabel()->isVisible());
    EXPECT_EQ(mainWindow.notInitializedLabel()->text(), "Not Initialized");
    EXPECT_NE(QColor(mainWindow.grab().toImage().pixel(30, 25)), QColor(55, 215, 245));
}

// With the main window: the drag scrolls its view, the close box unchecks
// the toggle, and the label shows while the image fits.
class OverviewWindowWithOwnerTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Make("en", "en", {1024, 768});
    }

    void Load(QSize size)
    {
        ASSERT_TRUE(LoadFilled(QStringLiteral("image%1.png").arg(size.width()), size, Qt::darkGreen));
    }
};

TEST_F(OverviewWindowWithOwnerTest, DraggingTheFrameScrollsTheView)
{
    Load({2000, 1500});
    OverviewWindow *overview = PartsOf(*mainWindow).overview;
    ASSERT_NE(overview, nullptr);
    ASSERT_TRUE(PartsOf(*mainWindow).overviewShown);
    EXPECT_TRUE(overview->isVisible());
    EXPECT_FALSE(overview->notInitializedLabel()->isVisible());
    overview->UpdateFrame();
    const QRect f = overview->frame();
    EXPECT_EQ(f, OverviewFrame(mainWindow->host().view(), overview->clientSize()));
    ASSERT_GT(f.width(), 0);

    QSignalSpy scrolled(overview, &OverviewWindow::scrolled);
    const QPoint grab = f.center();
    QTest::mouseMove(overview, grab + QPoint(1, 0));
    QTest::mouseMove(overview, grab);
    QTest::mousePress(overview, Qt::LeftButton, {}, grab);
    QTest::mouseMove(overview, grab + QPoint(1000, 0));
    const QSize client = overview->clientSize();
    EXPECT_EQ(overview->frame().right() + 1, client.width());
    EXPECT_EQ(mainWindow->host().viewState(), ViewState::ScrollOnly);
    EXPECT_EQ(mainWindow->host().view().scroll,
              ScrollForFrame(mainWindow->host().view(), client, overview->frame().topLeft()));
    // The view shows the right end of the image (up to the truncation of the frame).
    const int shownEnd = mainWindow->host().view().scroll.x() + mainWindow->host().view().size.width();
    EXPECT_LE(shownEnd, 2000);
    EXPECT_GE(shownEnd, 2000 - 2000 / client.width() - 1);
    EXPECT_EQ(scrolled.count(), 1);
    QTest::mouseRelease(overview, Qt::LeftButton, {}, grab + QPoint(1000, 0));
}

// The main window runs modally: a drag delivered as the window system
// delivers it (the same blocking check as real input) must still scroll.
TEST_F(OverviewWindowWithOwnerTest, DragThroughTheWindowSystemWhileTheMainWindowIsModal)
{
    mainWindow->setWindowModality(Qt::ApplicationModal);
    mainWindow->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(mainWindow.get()));
    Load({2000, 1500});
    OverviewWindow *overview = PartsOf(*mainWindow).overview;
    ASSERT_TRUE(overview->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(overview));
    QWindow *window = overview->windowHandle();
    ASSERT_NE(window, nullptr);
    // The modality is in force, as under exec().
    ASSERT_EQ(QGuiApplication::modalWindow(), mainWindow->windowHandle());

    overview->UpdateFrame();
    const QRect f = overview->frame();
    ASSERT_GT(f.width(), 0);
    const QPoint grab = f.center();
    const QPoint drop = grab + QPoint(40, 30);
    // The platform reports no move to where the pointer already is.
    QTest::mouseMove(window, grab + QPoint(1, 0));
    QTest::mouseMove(window, grab);
    ASSERT_TRUE(overview->overFrame());
    QTest::mousePress(window, Qt::LeftButton, {}, grab);
    QTest::mouseMove(window, drop);
    QTest::mouseRelease(window, Qt::LeftButton, {}, drop);
    EXPECT_EQ(overview->frame().topLeft(), f.topLeft() + QPoint(40, 30));
    EXPECT_EQ(mainWindow->host().view().scroll,
              ScrollForFrame(mainWindow->host().view(), overview->clientSize(), overview->frame().topLeft()));
    EXPECT_GT(mainWindow->host().view().scroll.x(), 0);
    EXPECT_GT(mainWindow->host().view().scroll.y(), 0);
    EXPECT_FALSE(overview->dragging());
}

TEST_F(OverviewWindowWithOwnerTest, CloseBoxUnchecksTheToggleAndTheToggleShowsItAgain)
{
    Load({2000, 1500});
    OverviewWindow *overview = PartsOf(*mainWindow).overview;
    QPushButton *toggle = mainWindow->host().button(CommandId::Overview);
    ASSERT_NE(toggle, nullptr);
    ASSERT_TRUE(toggle->isChecked());
    overview->close();
    EXPECT_FALSE(overview->isVisible());
    EXPECT_FALSE(PartsOf(*mainWindow).overviewShown);
    EXPECT_FALSE(toggle->isChecked());
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(PartsOf(*mainWindow).overviewShown);
    EXPECT_TRUE(overview->isVisible());
}

TEST_F(OverviewWindowWithOwnerTest, NotInitializedWhileTheImageFits)
{
    Load({300, 200});
    OverviewWindow *overview = PartsOf(*mainWindow).overview;
    EXPECT_FALSE(PartsOf(*mainWindow).overviewShown);
    EXPECT_FALSE(overview->isVisible());
    QTest::mouseClick(mainWindow->host().button(CommandId::Overview), Qt::LeftButton);
    EXPECT_TRUE(overview->isVisible());
    EXPECT_TRUE(overview->notInitializedLabel()->isVisible());
}

}  // namespace
}  // namespace orv::test

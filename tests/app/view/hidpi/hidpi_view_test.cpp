// The image view on a screen with two device pixels per logical pixel: the
// picture is made at device resolution, and a click lands on the image
// pixel shown under the pointer.
#include <gtest/gtest.h>

#include <QCursor>
#include <QImage>
#include <QTest>

#include "app/interaction/pointer_interaction.h"
#include "app/mainwindow/main_window.h"
#include "app/pages/measure/measure_page.h"
#include "app/view/image_view.h"
#include "document/measure_document.h"
#include "tests/app/mainwindow/main_window_fixture.h"

namespace {

// Before the application object exists: every window of this program runs at 2x.
const bool kScaled = qputenv("QT_SCALE_FACTOR", "2");

}  // namespace

namespace orv::test {
namespace {

class HiDpiViewTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(kScaled);
        Make("en", "en", {1280, 1024});
        mainWindow->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(mainWindow.get()));
    }

    void Load(const QImage &image)
    {
        const QString path = dir.filePath(QStringLiteral("hidpi.png"));
        ASSERT_TRUE(image.save(path));
        mainWindow->LoadImageFile(path);
        ASSERT_TRUE(mainWindow->hasImage());
        view = PartsOf(*mainWindow).imageView;
        ASSERT_TRUE(view->isVisible());
        ASSERT_EQ(view->devicePixelRatioF(), 2.0);
    }

    // What the view shows, in device pixels.
    QImage Shown()
    {
        view->repaint();
        QImage shown = view->grab().toImage();
        EXPECT_EQ(shown.devicePixelRatio(), 2.0);
        return shown;
    }

    static int DarkRun(const QImage &img, int y)
    {
        int dark = 0;
        for (int x = 0; x < img.width(); ++x)
            dark += qGray(img.pixel(x, y)) < 128 ? 1 : 0;
        return dark;
    }

    ImageView *view = nullptr;
};

TEST_F(HiDpiViewTest, OnePixelLinesStayOneDevicePixelWide)
{
    QImage image(200, 150, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 150; ++y)
        image.setPixel(60, y, qRgb(0, 0, 0));
    Load(image);

    const QImage shown = Shown();
    ASSERT_GE(shown.height(), 100);
    EXPECT_EQ(DarkRun(shown, 30), 1);
    EXPECT_EQ(qGray(shown.pixel(60, 30)), 0);

    // A measurement drawn one pixel wide is one device pixel wide too.
    MeasureItem *line = AddDistance({10, 100}, {190, 100});
    line->lineColor = MakeColorRef(0, 0, 0);
    mainWindow->host().RebuildView();
    const QImage withLine = Shown();
    int dark = 0;
    for (int y = 90; y < 110; ++y)
        dark += qGray(withLine.pixel(150, y)) < 128 ? 1 : 0;
    EXPECT_EQ(dark, 1);
    EXPECT_EQ(qGray(withLine.pixel(150, 100)), 0);
}

TEST_F(HiDpiViewTest, ClicksLandOnThePixelUnderThePointer)
{
    // Every pixel tells where it lies.
    QImage image(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            image.setPixel(x, y, qRgb(x, y, 128));
    Load(image);
    mainWindow->host().SelectTab(PageMeasure);
    PartsOf(*mainWindow).measurePage->setCurrentTool(KindDistance2Points);

    const QImage shown = Shown();
    for (const QPoint p : {QPoint(37, 41), QPoint(3, 90), QPoint(120, 5)}) {
        SCOPED_TRACE(p.x());
        const QRgb under = shown.pixel(p * 2);
        QTest::mouseMove(view, p + QPoint(1, 1));
        QTest::mouseMove(view, p);
        QTest::mousePress(view, Qt::LeftButton, {}, p);
        ASSERT_NE(mainWindow->document().editItem(), nullptr);
        EXPECT_EQ(mainWindow->document().editItem()->points.at(0).pos, QPoint(qRed(under), qGreen(under)));
        // Cancel the placing.
        QTest::mouseRelease(view, Qt::LeftButton, {}, p);
        QTest::mouseClick(view, Qt::RightButton, {}, p);
        ASSERT_EQ(mainWindow->pointer().dragMode(), DragMode::Idle);
    }

    // Zoomed and scrolled, the same mapping holds in device pixels.
    mainWindow->host().SetZoom(300, 300);
    mainWindow->host().LayoutView();
    mainWindow->host().SetScroll({30, 60});
    const QPoint p(50, 20);
    QTest::mouseMove(view, p + QPoint(1, 1));
    QTest::mouseMove(view, p);
    QTest::mousePress(view, Qt::LeftButton, {}, p);
    ASSERT_NE(mainWindow->document().editItem(), nullptr);
    EXPECT_EQ(mainWindow->document().editItem()->points.at(0).pos,
              QPoint((100 + 30) * 100 / 300, (40 + 60) * 100 / 300));
    QTest::mouseRelease(view, Qt::LeftButton, {}, p);
}

}  // namespace
}  // namespace orv::test

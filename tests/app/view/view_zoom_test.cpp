// The view picture at each zoom of the zoom list: tiny images fill the view
// with their own colours, larger ones keep the plain scaling of the view's
// source.
#include <gtest/gtest.h>

#include <QImage>

#include "view/view_composer.h"
#include "view/view_scaler.h"
#include "view/view_state.h"

namespace orv::test {
namespace {

constexpr int kZooms[] = {50, 75, 100, 150, 200, 300};

// Distinct colours per pixel so a dropped or misplaced pixel shows.
QImage Checker(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, qRgb(40 + 80 * x, 30 + 70 * y, 200));
    return img;
}

// The whole zoomed image as the window lays it out, capped by its client.
ViewGeometry Fitted(QSize image, int zoom, QSize client = {4000, 4000})
{
    ViewGeometry geo;
    geo.zoomX = geo.zoomY = zoom;
    geo.imageSize = image;
    geo.size = QSize(std::min(geo.ImageToViewX(image.width()), client.width()),
                     std::min(geo.ImageToViewY(image.height()), client.height()));
    return geo;
}

TEST(ViewZoom, TinyImagesFillTheViewWithTheirCorners)
{
    for (const QSize size : {QSize(1, 1), QSize(2, 1), QSize(3, 3)}) {
        const QImage image = Checker(size);
        for (int zoom : kZooms) {
            SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << " at " << zoom);
            const ViewGeometry geo = Fitted(size, zoom);
            ViewComposer composer;
            const QImage &pic = composer.ViewPicture(image, geo);
            if (geo.size.isEmpty()) {
                EXPECT_TRUE(pic.isNull());
                continue;
            }
            ASSERT_EQ(pic.size(), geo.size);
            if (zoom < 100)
                continue;  // shrinking averages: the corners blend
            // Enlarged, the view's corners are the image's corners.
            const QPoint last(size.width() - 1, size.height() - 1);
            const QPoint viewLast(geo.size.width() - 1, geo.size.height() - 1);
            EXPECT_EQ(pic.pixel(0, 0), image.pixel(0, 0));
            EXPECT_EQ(pic.pixel(viewLast), image.pixel(last));
            EXPECT_EQ(pic.pixel(viewLast.x(), 0), image.pixel(last.x(), 0));
            EXPECT_EQ(pic.pixel(0, viewLast.y()), image.pixel(0, last.y()));
        }
    }
}

TEST(ViewZoom, LargerImagesKeepThePlainScaling)
{
    QImage image(321, 240, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x & 0xff, (y * 3) & 0xff, (x * y) & 0xff));
    for (int zoom : kZooms) {
        for (const QPoint scroll : {QPoint(0, 0), QPoint(5, 3)}) {
            SCOPED_TRACE(testing::Message() << zoom << " scrolled " << scroll.x());
            // A client smaller than the zoomed image: the view ends inside it.
            ViewGeometry geo = Fitted(image.size(), zoom, {150, 100});
            geo.scroll = scroll;
            ViewComposer composer;
            const QImage &pic = composer.ViewPicture(image, geo);
            QImage plain(geo.size, QImage::Format_RGB32);
            SmoothScaler().Scale(image, geo.SourceRect(), plain, plain.rect());
            EXPECT_EQ(pic, plain);
        }
    }
}

}  // namespace
}  // namespace orv::test

#include <gtest/gtest.h>

#include <vector>

#include "document/view_zoom.h"

namespace orv {
namespace {

struct Step {
    bool zoom;  // SetZoom (else SetScroll)
    int zoomX;
    int zoomY;
    QPoint scroll;
};

struct ZoomCase {
    const char *name;
    std::vector<Step> steps;
    int zoomX;
    int zoomY;
    QPoint scroll;
    int zoomSignals;
    int scrollSignals;
};

TEST(ViewZoom, ZoomResetsTheScrollAndEveryChangeIsSignalled)
{
    const std::vector<ZoomCase> cases = {
        {"nothing", {}, 100, 100, {0, 0}, 0, 0},
        {"zoom", {{true, 200, 150, {}}}, 200, 150, {0, 0}, 1, 0},
        {"scroll", {{false, 0, 0, {30, 40}}}, 100, 100, {30, 40}, 0, 1},
        {"scroll then zoom", {{false, 0, 0, {30, 40}}, {true, 50, 50, {}}}, 50, 50, {0, 0}, 1, 1},
        {"zoom then scroll", {{true, 300, 300, {}}, {false, 0, 0, {90, 12}}}, 300, 300, {90, 12}, 1, 1},
        {"same zoom twice", {{true, 100, 100, {}}, {true, 100, 100, {}}}, 100, 100, {0, 0}, 2, 0},
    };
    for (const ZoomCase &c : cases) {
        ViewZoom zoom;
        int zoomSignals = 0;
        int scrollSignals = 0;
        QObject::connect(&zoom, &ViewZoom::zoomChanged, [&] { ++zoomSignals; });
        QObject::connect(&zoom, &ViewZoom::scrollChanged, [&] { ++scrollSignals; });
        for (const Step &s : c.steps) {
            if (s.zoom)
                zoom.SetZoom(s.zoomX, s.zoomY);
            else
                zoom.SetScroll(s.scroll);
        }
        EXPECT_EQ(zoom.zoomX(), c.zoomX) << c.name;
        EXPECT_EQ(zoom.zoomY(), c.zoomY) << c.name;
        EXPECT_EQ(zoom.scroll(), c.scroll) << c.name;
        EXPECT_EQ(zoom.geometry().scroll, c.scroll) << c.name;
        EXPECT_EQ(zoomSignals, c.zoomSignals) << c.name;
        EXPECT_EQ(scrollSignals, c.scrollSignals) << c.name;
    }
}

TEST(ViewZoom, ThePointerMapsThroughTheNewZoomAndScroll)
{
    ViewZoom zoom;
    zoom.layout().imageSize = {400, 300};
    zoom.layout().size = {400, 300};
    const QPoint image(120, 80);  // whole view pixels at every zoom below
    for (int z : {25, 50, 100, 200, 400}) {
        zoom.SetZoom(z, z);
        const QPoint view = zoom.geometry().ImageToView(image);
        EXPECT_EQ(view, QPoint(image.x() * z / 100, image.y() * z / 100)) << z;
        EXPECT_EQ(zoom.geometry().ViewToImage(view), image) << z;
        zoom.SetScroll({z, 2 * z});
        EXPECT_EQ(zoom.geometry().ImageToView(image), view - QPoint(z, 2 * z)) << z;
        EXPECT_EQ(zoom.geometry().ViewToImage(view - QPoint(z, 2 * z)), image) << z;
    }
}

}  // namespace
}  // namespace orv

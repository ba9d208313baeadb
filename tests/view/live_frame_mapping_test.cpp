// The live picture's pointer mapping against what the bilinear scaler shows:
// each view pixel is the frame pixel its centre falls on.
#include <gtest/gtest.h>

#include <cmath>

#include "view/live_frame_mapping.h"

namespace orv {
namespace {

struct MappingCase {
    const char *name;
    QSize frame;
    QRect shown;  // as the scaler fits the frame into the view
};

// Letterboxed, exact, pillarboxed (4:3 into 16:9), stretched and odd sizes,
// scaled down and up.
const MappingCase kCases[] = {
    {"1920x1080 letterboxed", {1920, 1080}, {0, 60, 640, 360}},
    {"1280x720 letterboxed", {1280, 720}, {0, 60, 640, 360}},
    {"640x480 one to one", {640, 480}, {0, 0, 640, 480}},
    {"2592x1944 filling", {2592, 1944}, {0, 0, 640, 480}},
    {"1024x768 pillarboxed in 16:9", {1024, 768}, {160, 0, 960, 720}},
    {"640x480 pillarboxed, scaled up", {640, 480}, {160, 0, 960, 720}},
    {"1280x720 stretched", {1280, 720}, {0, 0, 640, 480}},
    {"1001x667 odd", {1001, 667}, {0, 27, 640, 426}},
    {"320x240 into an odd view", {320, 240}, {0, 0, 641, 481}},
    {"10x3 into 3x7", {10, 3}, {5, 9, 3, 7}},
};

// One axis at a time: the x axis of the mapping, or its y axis.
struct Axis {
    int origin, shown, frame;
    int (*toFrame)(const LiveFrameMapping &, int);
    double (*toView)(const LiveFrameMapping &, double);
};

Axis XAxis(const MappingCase &c)
{
    return {c.shown.left(), c.shown.width(), c.frame.width(),
            [](const LiveFrameMapping &m, int v) {
                return m.ViewToFrame({v, m.shown.top()}).x();
            },
            [](const LiveFrameMapping &m, double f) {
                return m.FrameToView({f, 0.0}).x();
            }};
}

Axis YAxis(const MappingCase &c)
{
    return {c.shown.top(), c.shown.height(), c.frame.height(),
            [](const LiveFrameMapping &m, int v) {
                return m.ViewToFrame({m.shown.left(), v}).y();
            },
            [](const LiveFrameMapping &m, double f) {
                return m.FrameToView({0.0, f}).y();
            }};
}

void CheckAxis(const LiveFrameMapping &m, const Axis &a)
{
    const double scale = static_cast<double>(a.shown) / a.frame;
    int previous = a.toFrame(m, a.origin - 1);
    // Just outside: negative on the near side, past the frame on the far side.
    EXPECT_LT(previous, 0);
    EXPECT_GE(previous, -static_cast<int>(std::ceil(1.0 / scale)));
    EXPECT_GE(a.toFrame(m, a.origin + a.shown), a.frame);
    for (int v = a.origin; v < a.origin + a.shown; ++v) {
        const int f = a.toFrame(m, v);
        ASSERT_GE(f, 0) << "view " << v;
        ASSERT_LT(f, a.frame) << "view " << v;
        // The frame pixel holds the view pixel's centre, exactly.
        const long long centre2 = (2LL * (v - a.origin) + 1) * a.frame;
        ASSERT_LE(2LL * a.shown * f, centre2) << "view " << v;
        ASSERT_LT(centre2, 2LL * a.shown * (f + 1)) << "view " << v;
        // Monotone; scaled down, no frame pixel shows twice.
        ASSERT_GE(f, previous) << "view " << v;
        if (scale <= 1.0) {
            ASSERT_GT(f, previous) << "view " << v;
        } else {
            ASSERT_LE(f - previous, 1) << "view " << v;
        }
        previous = f;
        // Back to the view: within half a frame pixel of the view pixel's centre.
        ASSERT_LE(std::abs(a.toView(m, f + 0.5) - (v + 0.5)), 0.5 * scale + 1e-9) << "view " << v;
        if (scale <= 1.0) {
            ASSERT_EQ(static_cast<int>(std::floor(a.toView(m, f + 0.5))), v) << "view " << v;
        }
    }
    // Scaled up, every frame pixel is shown and comes back to itself.
    if (scale >= 1.0) {
        for (int f = 0; f < a.frame; ++f) {
            const int v = static_cast<int>(std::floor(a.toView(m, f + 0.5)));
            ASSERT_EQ(a.toFrame(m, v), f) << "frame " << f;
        }
    }
}

TEST(LiveFrameMapping, ViewPixelsShowTheFramePixelUnderTheirCentre)
{
    for (const MappingCase &c : kCases) {
        SCOPED_TRACE(c.name);
        const LiveFrameMapping m{c.frame, c.shown};
        ASSERT_TRUE(m.valid());
        EXPECT_DOUBLE_EQ(m.scaleX(), static_cast<double>(c.shown.width()) / c.frame.width());
        EXPECT_DOUBLE_EQ(m.scaleY(), static_cast<double>(c.shown.height()) / c.frame.height());
        {
            SCOPED_TRACE("x");
            CheckAxis(m, XAxis(c));
        }
        {
            SCOPED_TRACE("y");
            CheckAxis(m, YAxis(c));
        }
        // The frame's corners land on the shown rectangle's.
        EXPECT_EQ(m.FrameToView({0, 0}), QPointF(c.shown.topLeft()));
        EXPECT_EQ(m.FrameToView(QPointF(c.frame.width(), c.frame.height())),
                  QPointF(c.shown.left() + c.shown.width(), c.shown.top() + c.shown.height()));
    }
}

TEST(LiveFrameMapping, FarPointsStayOrdered)
{
    const LiveFrameMapping m{{1920, 1080}, {0, 60, 640, 360}};
    const QPoint far = m.ViewToFrame({-2000000000, 2000000000});
    EXPECT_LT(far.x(), 0);
    EXPECT_GT(far.y(), 1080);
    EXPECT_EQ(m.ViewToFrame({-1, 59}), QPoint(-2, -2));
}

}  // namespace
}  // namespace orv

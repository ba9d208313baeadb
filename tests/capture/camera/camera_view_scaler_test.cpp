// Frames into the view picture: the grabber's BGR rows to RGB32, fitted with their shape kept.
#include <gtest/gtest.h>

#include <cstdlib>

#include "capture/camera/camera_frame.h"
#include "capture/camera/camera_view_scaler.h"
#include "tests/support/camera_frame_source.h"

namespace orv {
namespace {

// Four solid quadrants.
QColor Quadrant(int x, int y, QSize size)
{
    const bool right = x >= size.width() / 2;
    const bool bottom = y >= size.height() / 2;
    if (!right && !bottom)
        return QColor(255, 0, 0);
    if (right && !bottom)
        return QColor(0, 255, 0);
    if (!right)
        return QColor(0, 0, 255);
    return QColor(200, 100, 50);
}

// Where the fitted frame lies in the view, and the colour a view pixel should
// have there: the source's quadrant inside the frame, black in the bars.
QColor Expected(QPoint p, QSize source, QRect area)
{
    if (!area.contains(p))
        return QColor(Qt::black);
    return Quadrant((p.x() - area.x()) * source.width() / area.width(),
                    (p.y() - area.y()) * source.height() / area.height(), source);
}

// Every pixel of the view against the source, away from the quadrant seams
// (where the bilinear mix is allowed), and the bars exactly black.
void ExpectPictureOf(const QImage &picture, QSize source, QRect area)
{
    int wrong = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QPoint p(x, y);
            const QPoint seam = area.topLeft() + QPoint(area.width() / 2, area.height() / 2);
            const bool nearSeam = std::abs(x - seam.x()) <= 2 || std::abs(y - seam.y()) <= 2;
            const bool nearEdge = !area.contains(p) && area.adjusted(-1, -1, 1, 1).contains(p);
            if (nearSeam || nearEdge)
                continue;
            if (picture.pixelColor(p) != Expected(p, source, area) && ++wrong <= 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " of a " << source.width() << "x" << source.height()
                              << " frame in a " << picture.width() << "x" << picture.height() << " view";
        }
    }
    EXPECT_EQ(wrong, 0);
}

QImage Scaled(CameraViewScaler &scaler, QSize source, QSize view)
{
    const gst::SamplePtr sample = test::MakeBgrSample(source, [&](int x, int y) { return Quadrant(x, y, source); });
    const CameraFrame frame = CameraFrame::FromSample(sample.get());
    QImage picture;
    EXPECT_FALSE(frame.isNull());
    EXPECT_TRUE(scaler.Scale(frame, view, picture));
    return picture;
}

// The frame keeps its shape, centred between black bars: its quadrants meet
// at the view's centre.
TEST(CameraViewScaler, QuadrantsLandInTheViewsQuadrantsForEverySize)
{
    struct Case {
        QSize source;
        QSize view;
        QRect area;  // where the frame lands
    };
    const Case cases[] = {
        {{640, 480}, {640, 480}, {0, 0, 640, 480}},
        {{1280, 720}, {640, 480}, {0, 60, 640, 360}},  // 16:9: bars above and below
        {{1920, 1080}, {640, 480}, {0, 60, 640, 360}},
        {{1280, 1024}, {640, 480}, {20, 0, 600, 480}},  // 5:4: bars left and right
        {{480, 640}, {640, 480}, {140, 0, 360, 480}},   // upright
        {{322, 242}, {640, 480}, {0, 0, 639, 480}},     // a rounded column short
        {{1280, 720}, {320, 240}, {0, 30, 320, 180}},
        {{4000, 10}, {640, 480}, {0, 239, 640, 2}},  // a sliver still shows
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.source.width() << "x" << c.source.height() << " in " << c.view.width()
                                        << "x" << c.view.height());
        EXPECT_EQ(CameraViewScaler::FittedRect(c.source, c.view), c.area);
        CameraViewScaler scaler;
        const QImage picture = Scaled(scaler, c.source, c.view);
        ASSERT_EQ(picture.size(), c.view);
        ASSERT_EQ(picture.format(), QImage::Format_RGB32);
        if (c.area.height() > 8)
            ExpectPictureOf(picture, c.source, c.area);
        // The frame's own first and last rows and columns are not bars.
        for (const QPoint corner : {c.area.topLeft(), c.area.bottomRight()})
            EXPECT_NE(picture.pixelColor(corner), QColor(Qt::black)) << corner.x() << "," << corner.y();
    }
    EXPECT_TRUE(CameraViewScaler::FittedRect({0, 480}, {640, 480}).isEmpty());
    EXPECT_TRUE(CameraViewScaler::FittedRect({640, 480}, {640, 0}).isEmpty());
}

// The live view resizes, and the camera's format changes, under one scaler:
// every picture must be what a fresh scaler makes.
TEST(CameraViewScaler, OneScalerFollowsViewAndFrameSizeChanges)
{
    struct Step {
        QSize source;
        QSize view;
    };
    const Step steps[] = {
        {{1280, 720}, {64, 48}},  {{1280, 720}, {640, 480}},  {{1280, 720}, {64, 48}},    {{1280, 720}, {48, 64}},
        {{640, 480}, {640, 480}}, {{1280, 1024}, {640, 480}}, {{1280, 1024}, {640, 360}},
    };
    CameraViewScaler reused;
    for (const Step &step : steps) {
        SCOPED_TRACE(testing::Message() << step.source.width() << "x" << step.source.height() << " in "
                                        << step.view.width() << "x" << step.view.height());
        const QImage picture = Scaled(reused, step.source, step.view);
        ASSERT_EQ(picture.size(), step.view);
        CameraViewScaler fresh;
        EXPECT_EQ(picture, Scaled(fresh, step.source, step.view));
        ExpectPictureOf(picture, step.source, CameraViewScaler::FittedRect(step.source, step.view));
    }
}

TEST(CameraViewScaler, SameSizeCopiesEveryPixel)
{
    const QSize size(64, 48);
    const auto colour = [](int x, int y) { return QColor(x * 3, y * 5, (x + y) % 256); };
    const gst::SamplePtr sample = test::MakeBgrSample(size, colour);
    const CameraFrame frame = CameraFrame::FromSample(sample.get());
    CameraViewScaler scaler;
    QImage picture;
    ASSERT_TRUE(scaler.Scale(frame, size, picture));
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            ASSERT_EQ(picture.pixelColor(x, y), colour(x, y)) << x << "," << y;
    EXPECT_EQ(frame.toImage().pixelColor(5, 7), colour(5, 7));
}

TEST(CameraViewScaler, NullFrameOrEmptyViewLeavesThePicture)
{
    CameraViewScaler scaler;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::yellow);
    EXPECT_FALSE(scaler.Scale(CameraFrame(), {4, 4}, picture));
    const gst::SamplePtr sample = test::MakeBgrSample({8, 8}, [](int, int) { return QColor(Qt::red); });
    EXPECT_FALSE(scaler.Scale(CameraFrame::FromSample(sample.get()), {0, 4}, picture));
    EXPECT_EQ(picture.pixelColor(1, 1), QColor(Qt::yellow));
}

TEST(CameraFrame, OnlyBgrSamplesMakeFrames)
{
    gst::EnsureInitialised();
    EXPECT_TRUE(CameraFrame::FromSample(nullptr).isNull());
    GstVideoInfo info;
    gst_video_info_set_format(&info, GST_VIDEO_FORMAT_RGBx, 8, 8);
    GstBuffer *buffer = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&info), nullptr);
    gst::CapsPtr caps(gst_video_info_to_caps(&info));
    gst::SamplePtr rgbx(gst_sample_new(buffer, caps.get(), nullptr, nullptr));
    EXPECT_TRUE(CameraFrame::FromSample(rgbx.get()).isNull());
    // A buffer shorter than its caps promise is refused.
    gst_video_info_set_format(&info, GST_VIDEO_FORMAT_BGR, 64, 64);
    gst::CapsPtr bgr(gst_video_info_to_caps(&info));
    gst::SamplePtr shortSample(gst_sample_new(buffer, bgr.get(), nullptr, nullptr));
    EXPECT_TRUE(CameraFrame::FromSample(shortSample.get()).isNull());
    gst_buffer_unref(buffer);
}

}  // namespace
}  // namespace orv

// Frames into the view picture: the grabber's BGR rows to RGB32, stretched.
#include <gtest/gtest.h>

#include "capture/camera_frame.h"
#include "tests/support/camera_frame_source.h"
#include "capture/camera_view_scaler.h"

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

TEST(CameraViewScaler, QuadrantsLandInTheViewsQuadrantsForEverySize)
{
    const QSize view(640, 480);
    for (const QSize source : {QSize(640, 480), QSize(1280, 720), QSize(1920, 1080), QSize(322, 242)}) {
        const gst::SamplePtr sample =
            test::MakeBgrSample(source, [&](int x, int y) { return Quadrant(x, y, source); });
        const CameraFrame frame = CameraFrame::FromSample(sample.get());
        ASSERT_FALSE(frame.isNull());
        CameraViewScaler scaler;
        QImage picture;
        ASSERT_TRUE(scaler.Scale(frame, view, picture));
        ASSERT_EQ(picture.size(), view);
        ASSERT_EQ(picture.format(), QImage::Format_RGB32);
        // Away from the seams every view pixel has its quadrant's colour.
        for (const QPoint p : {QPoint(10, 10), QPoint(630, 10), QPoint(10, 470), QPoint(630, 470),
                               QPoint(300, 220), QPoint(340, 260)}) {
            const QColor expected = Quadrant(p.x() * source.width() / view.width(),
                                             p.y() * source.height() / view.height(), source);
            EXPECT_EQ(picture.pixelColor(p), expected) << source.width() << " " << p.x() << "," << p.y();
        }
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

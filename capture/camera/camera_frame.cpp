#include "capture/camera/camera_frame.h"

#include "capture/camera/camera_gst.h"

namespace orv {

// The sample stays referenced and its buffer mapped for the frame's life.
struct CameraFrame::Mapped {
    gst::SamplePtr sample;
    GstVideoFrame frame{};

    Mapped(gst::SamplePtr s, const GstVideoFrame &f) :
        sample(std::move(s)),
        frame(f)
    {
    }
    ~Mapped() { gst_video_frame_unmap(&frame); }
    Mapped(const Mapped &) = delete;
    Mapped &operator=(const Mapped &) = delete;
};

CameraFrame CameraFrame::FromSample(GstSample *sample)
{
    CameraFrame result;
    if (!sample)
        return result;
    GstCaps *caps = gst_sample_get_caps(sample);
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    GstVideoInfo info;
    if (!caps || !buffer || !gst_video_info_from_caps(&info, caps)
        || GST_VIDEO_INFO_FORMAT(&info) != GST_VIDEO_FORMAT_BGR || GST_VIDEO_INFO_WIDTH(&info) < 1
        || GST_VIDEO_INFO_HEIGHT(&info) < 1)
        return result;
    GstVideoFrame frame;
    // The map checks that the buffer holds every row the caps promise.
    if (!gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ))
        return result;
    result.mapped_ = std::make_shared<const Mapped>(gst::SamplePtr(gst_sample_ref(sample)), frame);
    return result;
}

int CameraFrame::width() const
{
    return mapped_ ? GST_VIDEO_FRAME_WIDTH(&mapped_->frame) : 0;
}

int CameraFrame::height() const
{
    return mapped_ ? GST_VIDEO_FRAME_HEIGHT(&mapped_->frame) : 0;
}

int CameraFrame::stride() const
{
    return mapped_ ? GST_VIDEO_FRAME_PLANE_STRIDE(&mapped_->frame, 0) : 0;
}

const std::uint8_t *CameraFrame::row(int y) const
{
    if (!mapped_ || y < 0 || y >= height())
        return nullptr;
    const auto *base = static_cast<const std::uint8_t *>(GST_VIDEO_FRAME_PLANE_DATA(&mapped_->frame, 0));
    return base + static_cast<std::ptrdiff_t>(y) * stride();
}

GstSample *CameraFrame::sample() const
{
    return mapped_ ? mapped_->sample.get() : nullptr;
}

QImage CameraFrame::view() const
{
    if (!mapped_)
        return {};
    return QImage(row(0), width(), height(), stride(), QImage::Format_BGR888);
}

}  // namespace orv

#pragma once
// Camera frames made in memory, as the grabber would deliver them.

#include <QColor>
#include <QSize>

#include <functional>

#include "capture/camera/camera_frame.h"
#include "capture/camera/camera_gst.h"

namespace orv::test {

// A BGR sample of size whose pixel (x, y) has colour(x, y); rows padded as
// GStreamer pads them.
inline gst::SamplePtr MakeBgrSample(QSize size, const std::function<QColor(int, int)> &colour)
{
    gst::EnsureInitialised();
    GstVideoInfo info;
    gst_video_info_set_format(&info, GST_VIDEO_FORMAT_BGR, static_cast<guint>(size.width()),
                              static_cast<guint>(size.height()));
    GstBuffer *buffer = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&info), nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    const int stride = GST_VIDEO_INFO_PLANE_STRIDE(&info, 0);
    for (int y = 0; y < size.height(); ++y) {
        guint8 *row = map.data + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < size.width(); ++x) {
            const QColor c = colour(x, y);
            row[3 * x] = static_cast<guint8>(c.blue());
            row[3 * x + 1] = static_cast<guint8>(c.green());
            row[3 * x + 2] = static_cast<guint8>(c.red());
        }
    }
    gst_buffer_unmap(buffer, &map);
    gst::CapsPtr caps(gst_video_info_to_caps(&info));
    GstSample *sample = gst_sample_new(buffer, caps.get(), nullptr, nullptr);
    gst_buffer_unref(buffer);
    return gst::SamplePtr(sample);
}

}  // namespace orv::test

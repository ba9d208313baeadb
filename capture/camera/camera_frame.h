#pragma once
// One camera frame as the grabber delivered it: 24-bit blue-green-red rows,
// top row first, each row `stride` bytes apart. The frame shares the
// GStreamer sample and keeps it mapped, so copies are cheap and the pixels
// are never copied to pass a frame around.

#include <QImage>
#include <QMetaType>
#include <QSize>

#include <cstddef>
#include <cstdint>
#include <memory>

typedef struct _GstSample GstSample;

namespace orv {

class CameraFrame {
public:
    CameraFrame() = default;

    // A frame over a sample whose caps are raw video in BGR format; a null
    // frame for anything else (no caps, another format, a buffer too short).
    // Takes a reference of its own.
    static CameraFrame FromSample(GstSample *sample);

    bool isNull() const { return !mapped_; }
    int width() const;
    int height() const;
    QSize size() const { return {width(), height()}; }
    // Bytes from one row to the next (at least width * 3).
    int stride() const;
    const std::uint8_t *row(int y) const;
    GstSample *sample() const;

    // The pixels as an image that borrows the frame's memory: valid while
    // this frame (or a copy of it) lives.
    QImage view() const;
    // A deep copy that owns its pixels.
    QImage toImage() const { return view().copy(); }

private:
    struct Mapped;
    std::shared_ptr<const Mapped> mapped_;
};

}  // namespace orv

Q_DECLARE_METATYPE(orv::CameraFrame)

#pragma once
// Helpers of the camera tests: waiting on the UI thread's event loop while
// the streaming thread works.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>

#include <functional>

#include "capture/camera/camera_frame.h"

namespace orv::test {

// Processes events until pred holds or timeoutMs passed; returns pred().
inline bool WaitUntil(const std::function<bool()> &pred, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Processes events for ms milliseconds.
inline void Spin(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The colour at the centre of a frame.
inline QColor CentreColour(const CameraFrame &frame)
{
    return frame.view().pixelColor(frame.width() / 2, frame.height() / 2);
}

}  // namespace orv::test

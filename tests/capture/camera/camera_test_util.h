#pragma once
// Helpers of the camera tests: waiting on the UI thread's event loop while
// the streaming thread works, and opens carried to their end.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QSignalSpy>

#include <functional>

#include "capture/camera/camera_frame.h"
#include "capture/camera/camera_graph.h"

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

// Runs start (an open or a rebuild) and this thread's events until the open
// ends; true when the camera runs. size receives its frame size.
inline bool Opened(CameraGraph &graph, const std::function<bool()> &start, QSize *size = nullptr)
{
    QSignalSpy finished(&graph, &CameraGraph::openFinished);
    if (!start() || !finished.wait(15000))
        return false;
    if (size)
        *size = graph.frameSize();
    return finished.at(0).at(0).toBool();
}

inline bool Opened(CameraGraph &graph, int index, QSize *size = nullptr)
{
    return Opened(
        graph, [&] { return graph.BuildCaptureGraph(index); }, size);
}

// Rebuilds at format as Opened opens.
inline bool Reformatted(CameraGraph &graph, QSize format, QSize *size = nullptr)
{
    return Opened(
        graph, [&] { return graph.ApplyFormat(format); }, size);
}

// The colour at the centre of a frame.
inline QColor CentreColour(const CameraFrame &frame)
{
    return frame.view().pixelColor(frame.width() / 2, frame.height() / 2);
}

}  // namespace orv::test

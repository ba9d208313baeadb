#pragma once
// Small helpers for the device-layer tests: bounded waits and a timer.

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <thread>

namespace orv::test {

// Polls until done() or the deadline; true when done.
inline bool WaitUntil(const std::function<bool()> &done,
                      std::chrono::milliseconds deadline = std::chrono::seconds(5))
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

template <typename F>
std::chrono::milliseconds TimeOf(F &&f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

}  // namespace orv::test

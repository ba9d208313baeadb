#pragma once
// Whether the wireless stream is present: set by the first data after a
// silence, cleared when nothing arrived for longer than the time-out.
// Owned by the receiver thread; the clock is passed in so tests control it.

#include "capture/wireless/wireless_protocol.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace orv {

class StreamPresence {
public:
    explicit StreamPresence(int silenceTimeoutMs = kSilenceTimeoutMs) :
        timeoutMs_(silenceTimeoutMs)
    {
    }

    // After each read of the receive loop: returns 4 when the stream started,
    // 8 when it was lost, else 0.
    int Update(bool gotData, std::int64_t nowMs)
    {
        if (gotData) {
            silent_ = false;
            if (receiving_)
                return 0;
            receiving_ = true;
            return 4;
        }
        if (!receiving_)
            return 0;
        if (!silent_) {
            silent_ = true;
            silenceStart_ = nowMs;
            return 0;
        }
        if (nowMs - silenceStart_ > timeoutMs_) {
            receiving_ = false;
            return 8;
        }
        return 0;
    }

    bool receiving() const { return receiving_; }

    // How long the receive loop may wait for data before its next Update is
    // due: without limit (-1) while no stream is present, not at all right
    // after data (the silence starts at the next read), else until the
    // silence would count as a loss.
    int WaitMs(std::int64_t nowMs) const
    {
        if (!receiving_)
            return -1;
        if (!silent_)
            return 0;
        const std::int64_t left = silenceStart_ + timeoutMs_ + 1 - nowMs;
        return static_cast<int>(std::clamp<std::int64_t>(left, 0, std::numeric_limits<int>::max()));
    }

private:
    int timeoutMs_;
    bool receiving_ = false;
    bool silent_ = false;
    std::int64_t silenceStart_ = 0;  // when reads started to come back empty (while silent_)
};

}  // namespace orv

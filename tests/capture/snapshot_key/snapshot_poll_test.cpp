#include "capture/snapshot_key/snapshot_poll.h"

#include "capture/buttons/button_detection_monitor.h"
#include "capture/buttons/button_hidden_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <vector>

using namespace orv;

namespace {

constexpr SnapShotPollState kLiveShot{true, true, true};
constexpr SnapShotPollState kFrozenShot{true, true, false};
constexpr SnapShotPollState kLivePlain{true, false, true};
constexpr SnapShotPollState kFrozenPlain{true, false, false};
constexpr SnapShotPollState kClosed{false, true, false};

constexpr int kNoRead = -1;  // the poll must not read the key
constexpr int kReadFails = -2;

struct Step {
    SnapShotPollState state;
    int value;          // what the key reads, or kNoRead / kReadFails
    std::int32_t flag;  // the button flag before the poll
    bool capture;
};

struct Scenario {
    const char *name;
    std::vector<Step> steps;
};

}  // namespace

TEST(SnapShotPoll, CapturesOncePerPressWhileLive)
{
    const Scenario scenarios[] = {
        {"0, 1, 1 captures at the second poll",
         {{kLiveShot, 0, 0, false}, {kLiveShot, 1, 0, true}, {kLiveShot, 1, 0, false}}},
        {"after the capture froze the picture, 0, 1 captures only once live again",
         {{kLiveShot, 1, 0, true},
          {kFrozenShot, 0, 0, false},
          {kFrozenShot, 1, 0, false},
          {kLiveShot, 1, 0, false},
          {kLiveShot, 0, 0, false},
          {kLiveShot, 1, 0, true}}},
        {"2 marks the edge seen and captures nothing",
         {{kLiveShot, 2, 0, false}, {kLiveShot, 1, 0, false}, {kLiveShot, 0, 0, false}, {kLiveShot, 2, 0, false}}},
        {"a failed read leaves the button to decide and keeps the edge",
         {{kLiveShot, 1, 0, true}, {kLiveShot, kReadFails, 1, true}, {kLiveShot, 1, 0, false}}},
        {"the key's camera drops a button press instead of keeping it",
         {{kLiveShot, 0, 1, false}, {kLiveShot, kReadFails, 0, false}}},
        {"button press while live captures, while frozen is dropped",
         {{kLivePlain, kNoRead, 1, true}, {kFrozenPlain, kNoRead, 1, false}, {kLivePlain, kNoRead, 0, false}}},
        {"no camera open: the key is not read, the press is consumed",
         {{kClosed, kNoRead, 1, false}, {kLivePlain, kNoRead, 0, false}}},
    };
    for (const auto &scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        SnapShotPoll poll;
        int index = 0;
        for (const auto &step : scenario.steps) {
            SCOPED_TRACE(index++);
            bool read = false;
            std::int32_t flag = step.flag;
            const bool capture = poll.Poll(
                step.state,
                [&]() -> std::optional<std::uint32_t> {
                    read = true;
                    if (step.value < 0)
                        return std::nullopt;
                    return static_cast<std::uint32_t>(step.value);
                },
                flag);
            EXPECT_EQ(capture, step.capture);
            EXPECT_EQ(read, step.value != kNoRead);
            EXPECT_EQ(flag, 0);
        }
    }
}

TEST(SnapShotPoll, TwoPressesWithinOnePollMakeOneCapture)
{
    std::int32_t flag = 0;
    HiddenButtonWindow window;
    window.setFlag(&flag);
    QCoreApplication::postEvent(&window, new QEvent(ButtonPressedMessage));
    QCoreApplication::postEvent(&window, new QEvent(ButtonPressedMessage));
    QCoreApplication::sendPostedEvents(&window);

    SnapShotPoll poll;
    const auto noKey = []() -> std::optional<std::uint32_t> { return std::nullopt; };
    EXPECT_TRUE(poll.Poll(kLivePlain, noKey, flag));
    EXPECT_FALSE(poll.Poll(kLivePlain, noKey, flag));
}

// libFuzzer target: the reassembler fed with a sequence of reads.
//
// Input: records of one operation byte and a 16-bit length (little endian).
// Operation % 4: 0 a datagram of that many following bytes (fewer when the
// input ends), 1 a read that returned nothing, 2 display off, 3 display on.
#include "capture/wireless/wireless_protocol.h"
#include "capture/wireless/wireless_reassembler.h"

#include <cstdlib>

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

// A completed frame ends with FF D9 before any zero padding and fits L.
void CheckFrame(const std::vector<std::uint8_t> &frame)
{
    Check(frame.size() >= 2 && frame.size() <= orv::kMaxWirelessFrameBytes);
    std::size_t i = frame.size();
    while (i > 0 && frame[i - 1] == 0)
        --i;
    Check(i >= 2 && frame[i - 1] == 0xD9 && frame[i - 2] == 0xFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    orv::WirelessReassembler r;
    std::size_t at = 0;
    while (at + 3 <= size) {
        const std::uint8_t op = data[at];
        const std::size_t length = data[at + 1] | (std::size_t(data[at + 2]) << 8);
        at += 3;
        orv::ReadOutcome outcome;
        switch (op % 4) {
        case 0: {
            const std::size_t n = std::min(length, size - at);
            outcome = r.Feed({data + at, n});
            at += n;
            break;
        }
        case 1:
            outcome = r.OnEmptyRead();
            break;
        case 2:
            r.SetDisplayOn(false);
            break;
        default:
            r.SetDisplayOn(true);
            break;
        }
        if (outcome.frameComplete)
            CheckFrame(r.TakeFrame());
        if (outcome.buttonMessage)
            Check(*outcome.buttonMessage == 0 || *outcome.buttonMessage == 1);
        Check(r.frameCapacity() <= orv::kMaxWirelessFrameBytes);
        if (r.inFrame()) {
            Check(r.frameBytesHeld() <= r.frameLength());
            Check(r.frameLength() <= orv::kMaxWirelessFrameBytes);
        }
    }
    return 0;
}

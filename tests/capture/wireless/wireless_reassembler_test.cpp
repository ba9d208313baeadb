// Frame reassembly of the wireless stream, fed datagram by datagram.
#include "capture/wireless/wireless_presence.h"
#include "capture/wireless/wireless_protocol.h"
#include "capture/wireless/wireless_reassembler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace orv {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A frame body of n bytes: SOI, filler, then the given tail.
Bytes Body(std::size_t n, const Bytes &tail = {0xFF, 0xD9})
{
    Bytes b(n, 0x5A);
    b[0] = 0xFF;
    b[1] = 0xD8;
    std::copy(tail.begin(), tail.end(), b.end() - static_cast<std::ptrdiff_t>(tail.size()));
    return b;
}

Bytes Header(const std::string &marker, std::uint32_t length, const Bytes &first = {})
{
    Bytes d(marker.begin(), marker.end());
    for (int shift : {24, 16, 8, 0})
        d.push_back(std::uint8_t(length >> shift));
    d.insert(d.end(), first.begin(), first.end());
    return d;
}

Bytes FlagsHeader(std::uint8_t flags, std::uint32_t length, const Bytes &first = {})
{
    return Header(std::string("JPG") + char(flags), length, first);
}

// Header datagram with the first 1452 bytes, 1460-byte pieces, a short last one.
std::vector<Bytes> Split(const Bytes &body, const std::string &marker = "JPEG", std::uint32_t length = 0)
{
    const std::size_t first = std::min<std::size_t>(1452, body.size());
    std::vector<Bytes> out{Header(marker, length ? length : std::uint32_t(body.size()),
                                  Bytes(body.begin(), body.begin() + std::ptrdiff_t(first)))};
    for (std::size_t at = first; at < body.size(); at += 1460)
        out.emplace_back(body.begin() + std::ptrdiff_t(at),
                         body.begin() + std::ptrdiff_t(std::min(body.size(), at + 1460)));
    return out;
}

struct Fed {
    int frames = 0;
    std::vector<int> buttonMessages;
    int resets = 0;
    Bytes lastFrame;
};

Fed FeedAll(WirelessReassembler &r, const std::vector<Bytes> &datagrams)
{
    Fed fed;
    for (const Bytes &d : datagrams) {
        const ReadOutcome o = r.Feed(d);
        if (o.buttonMessage)
            fed.buttonMessages.push_back(*o.buttonMessage);
        fed.resets += o.buttonReset ? 1 : 0;
        if (o.frameComplete) {
            ++fed.frames;
            fed.lastFrame = r.TakeFrame();
        }
    }
    return fed;
}

TEST(WirelessReassembler, FrameFromHeaderPiecesAndShortLastPiece)
{
    const Bytes body = Body(1452 + 3 * 1460 + 700);
    WirelessReassembler r;
    const Fed fed = FeedAll(r, Split(body));
    EXPECT_EQ(fed.frames, 1);
    EXPECT_EQ(fed.lastFrame, body);
    EXPECT_EQ(r.received(), body.size());
    EXPECT_EQ(r.state(), WirelessReassembler::State::AwaitingHeader);
}

TEST(WirelessReassembler, FramesEndingAndLostPieces)
{
    struct Case {
        const char *name;
        Bytes tail;
        int dropPiece;  // index of a datagram lost on the way, -1 for none
        int frames;
    } cases[] = {
        {"end marker", {0xFF, 0xD9}, -1, 1},
        {"zero padding after the end marker", {0xFF, 0xD9, 0, 0}, -1, 1},
        {"no end marker", {0xFF, 0xD8, 0x12, 0}, -1, 0},
        {"end marker bytes reversed", {0xD9, 0xFF}, -1, 0},
        {"end byte after other data", {0x12, 0xD9}, -1, 0},
        {"end byte after a zero, then padding", {0x00, 0xD9, 0, 0}, -1, 0},
        {"lost middle piece", {0xFF, 0xD9}, 2, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes good = Body(5000);
        WirelessReassembler r;
        ASSERT_EQ(FeedAll(r, Split(good)).frames, 1);  // the picture before
        std::vector<Bytes> datagrams = Split(Body(1452 + 3 * 1460 + 700, c.tail));
        if (c.dropPiece >= 0)
            datagrams.erase(datagrams.begin() + c.dropPiece);
        const Fed fed = FeedAll(r, datagrams);
        EXPECT_EQ(fed.frames, c.frames);
        EXPECT_EQ(r.state(), WirelessReassembler::State::AwaitingHeader);
        // The next frame is received whole whatever happened before.
        EXPECT_EQ(FeedAll(r, Split(good)).frames, 1);
    }
}

TEST(WirelessReassembler, TinyFramesNeedTheWholeEndMarker)
{
    struct Case {
        const char *name;
        Bytes data;
        int frames;
    } cases[] = {
        {"the marker alone", {0xFF, 0xD9}, 1},
        {"its last byte alone", {0xD9}, 0},
        {"its last byte, then padding", {0xD9, 0, 0}, 0},
        {"padding only", {0, 0, 0}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WirelessReassembler r;
        const Fed fed = FeedAll(r, {Header("JPEG", std::uint32_t(c.data.size()), c.data)});
        EXPECT_EQ(fed.frames, c.frames);
        EXPECT_EQ(r.state(), WirelessReassembler::State::AwaitingHeader);
    }
}

TEST(WirelessReassembler, FramesUpToFourBytesShortOfTheirLengthAreShown)
{
    const Bytes body = Body(1452 + 2 * 1460 + 300);
    for (std::uint32_t missing : {0u, 1u, 4u, 5u}) {
        SCOPED_TRACE(missing);
        const std::uint32_t length = std::uint32_t(body.size()) + missing;
        const int shown = missing <= 4 ? 1 : 0;
        // Ended by its short last piece ...
        WirelessReassembler pieces;
        const Fed fed = FeedAll(pieces, Split(body, "JPEG", length));
        EXPECT_EQ(fed.frames, shown);
        if (shown) {
            EXPECT_EQ(fed.lastFrame, body);
        }
        // ... or by the data in its header datagram.
        const Bytes small = Body(600);
        WirelessReassembler header;
        EXPECT_EQ(FeedAll(header, {Header("JPEG", std::uint32_t(small.size()) + missing, small)}).frames, shown);
    }
}

TEST(WirelessReassembler, ButtonMessagesOncePerPressSequence)
{
    struct Case {
        const char *name;
        std::vector<std::uint8_t> flags;
        std::vector<int> messages;
    } cases[] = {
        {"press repeated, reset, press again", {2, 2, 2, 1, 2}, {1, 1}},
        {"not pressed after a reset", {1, 0, 0}, {0}},
        {"other bits carry no meaning", {0x82, 0xFE, 0x81, 0x80}, {1, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WirelessReassembler r;
        std::vector<Bytes> datagrams;
        for (std::uint8_t f : c.flags) {
            const auto frame = Split(Body(3000), std::string("JPG") + char(f));
            datagrams.insert(datagrams.end(), frame.begin(), frame.end());
        }
        const Fed fed = FeedAll(r, datagrams);
        EXPECT_EQ(fed.buttonMessages, c.messages);
        EXPECT_EQ(fed.frames, int(c.flags.size()));  // frames with either marker are shown alike
    }
}

TEST(WirelessReassembler, ResetReportsWhetherTheButtonWasHeld)
{
    WirelessReassembler r;
    ReadOutcome o = r.Feed(FlagsHeader(2, 100));
    EXPECT_TRUE(r.buttonPressed());
    o = r.Feed(FlagsHeader(1, 100));  // a new header ends the frame in progress
    EXPECT_TRUE(o.buttonReset);
    EXPECT_TRUE(o.heldAtReset);
    EXPECT_FALSE(r.buttonPressed());
}

TEST(WirelessReassembler, FlagsHeaderInsideAFrameStartsOver)
{
    const Bytes body = Body(1452 + 2 * 1460 + 100);
    auto first = Split(Body(1452 + 5 * 1460 + 100));
    first.resize(3);  // the frame is cut off after two pieces
    auto second = Split(body, std::string("JPG") + char(2));
    first.insert(first.end(), second.begin(), second.end());
    WirelessReassembler r;
    const Fed fed = FeedAll(r, first);
    EXPECT_EQ(fed.frames, 1);
    EXPECT_EQ(fed.lastFrame, body);
    EXPECT_EQ(fed.buttonMessages, std::vector<int>{1});
}

TEST(WirelessReassembler, SixthEmptyReadEndsTheFrame)
{
    const Bytes body = Body(1452 + 1460 + 500);
    auto datagrams = Split(body);
    for (int empties : {5, 6}) {
        SCOPED_TRACE(empties);
        WirelessReassembler r;
        FeedAll(r, {datagrams[0], datagrams[1]});
        for (int i = 0; i < empties; ++i)
            r.OnEmptyRead();
        const Fed fed = FeedAll(r, {datagrams[2]});
        EXPECT_EQ(fed.frames, empties < 6 ? 1 : 0);
    }
}

TEST(WirelessReassembler, LengthInTheNextDatagramAndShortDatagramsIgnored)
{
    const Bytes body = Body(800);
    Bytes lengthAndData = Header("", std::uint32_t(body.size()), body);
    WirelessReassembler r;
    // Too short to be headers, or not starting with a marker: ignored.
    const Fed ignored = FeedAll(r, {Bytes{'J', 'P', 'E', 'G'}, Bytes{'X', 'J', 'P', 'E', 'G', 0, 0, 1}, Body(900)});
    EXPECT_EQ(r.state(), WirelessReassembler::State::AwaitingHeader);
    EXPECT_EQ(ignored.frames, 0);
    // A header whose length is not in it: the next datagram starts with L.
    const Fed fed = FeedAll(r, {Bytes{'J', 'P', 'E', 'G', 0, 0}, lengthAndData});
    EXPECT_EQ(fed.frames, 1);
    EXPECT_EQ(fed.lastFrame, body);
}

TEST(WirelessReassembler, DisplayOffReadsFramesWithoutKeepingThem)
{
    const auto datagrams = Split(Body(1452 + 2 * 1460 + 10));
    WirelessReassembler r;
    r.SetDisplayOn(false);
    EXPECT_EQ(FeedAll(r, datagrams).frames, 0);
    EXPECT_EQ(r.frameBytesHeld(), 0u);
    EXPECT_EQ(r.state(), WirelessReassembler::State::AwaitingHeader);
    r.SetDisplayOn(true);
    EXPECT_EQ(FeedAll(r, datagrams).frames, 1);
    // Switched off while the frame arrives: not shown.
    FeedAll(r, {datagrams[0]});
    r.SetDisplayOn(false);
    EXPECT_EQ(FeedAll(r, {datagrams.begin() + 1, datagrams.end()}).frames, 0);
}

TEST(WirelessReassembler, HostileLengthsStayInsideTheBuffer)
{
    const Bytes small = Body(40);
    struct Case {
        const char *name;
        std::uint32_t length;
        WirelessReassembler::State after;
        int frames;
    } cases[] = {
        {"zero", 0, WirelessReassembler::State::AwaitingHeader, 0},
        {"one past the bound", kMaxWirelessFrameBytes + 1, WirelessReassembler::State::AwaitingHeader, 0},
        {"largest", 0xFFFFFFFFu, WirelessReassembler::State::AwaitingHeader, 0},
        {"the bound itself", kMaxWirelessFrameBytes, WirelessReassembler::State::ReceivingData, 0},
        // L smaller than the data in the header datagram: only L bytes are
        // stored; the first 40 end with FF D9, so they make a frame.
        {"smaller than the header's data", 40, WirelessReassembler::State::AwaitingHeader, 1},
        {"tiny", 1, WirelessReassembler::State::AwaitingHeader, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Bytes data = small;
        data.resize(1452, 0x77);
        WirelessReassembler r;
        const Fed fed = FeedAll(r, {Header("JPEG", c.length, data)});
        EXPECT_EQ(r.state(), c.after);
        EXPECT_EQ(fed.frames, c.frames);
        EXPECT_LE(r.frameBytesHeld(), std::size_t(c.length));
        if (c.frames) {
            EXPECT_EQ(fed.lastFrame, small);
        }
        // Memory follows the data that arrived, not the announced length.
        EXPECT_LE(r.frameCapacity(), std::size_t(64 * 1024));
    }
}

TEST(WirelessReassembler, OversizedDatagramsAndHeaderFloodsAreBounded)
{
    WirelessReassembler r;
    // A 64 KiB datagram while awaiting a header is read as 4096 bytes.
    EXPECT_EQ(r.PrepareRead().size(), kDatagramBufferBytes);
    r.OnEmptyRead();
    Bytes huge = Header("JPEG", kMaxWirelessFrameBytes, Bytes(65536 - 8, 0x11));
    r.Feed(huge);
    EXPECT_EQ(r.frameBytesHeld(), kDatagramBufferBytes - 8);
    // Inside a frame every read takes at most one piece.
    for (int i = 0; i < 50; ++i) {
        r.Feed(Bytes(65536, 0x22));
        EXPECT_LE(r.frameBytesHeld(), kDatagramBufferBytes - 8 + std::size_t(i + 1) * kWirelessPieceBytes);
    }
    // A flood of headers announcing the largest frame, interleaved "JPG"
    // headers: the buffer never grows past what arrived.
    for (int i = 0; i < 2000; ++i) {
        r.Feed(i % 2 ? Header("JPEG", kMaxWirelessFrameBytes, Bytes(1452, 0x33))
                     : FlagsHeader(std::uint8_t(i), kMaxWirelessFrameBytes - std::uint32_t(i), Bytes(100, 0x44)));
        EXPECT_LE(r.frameCapacity(), std::size_t(128 * 1024));
    }
    // And a good frame afterwards is still received.
    r.OnEmptyRead();
    EXPECT_EQ(FeedAll(r, Split(Body(3000), "JPG\x01")).frames, 1);
}

TEST(StreamPresence, StartsOnDataAndIsLostAfterTheTimeOut)
{
    StreamPresence p(1000);
    EXPECT_EQ(p.Update(false, 0), 0);  // silent from the start: nothing to lose
    EXPECT_EQ(p.Update(true, 10), 4);
    EXPECT_EQ(p.Update(true, 20), 0);
    EXPECT_EQ(p.Update(false, 100), 0);   // silence starts
    EXPECT_EQ(p.Update(false, 1100), 0);  // exactly the time-out
    EXPECT_EQ(p.Update(false, 1101), 8);
    EXPECT_FALSE(p.receiving());
    EXPECT_EQ(p.Update(false, 5000), 0);
    EXPECT_EQ(p.Update(true, 5001), 4);
    EXPECT_EQ(p.Update(false, 5002), 0);
    EXPECT_EQ(p.Update(true, 7000), 0);  // data again clears the silence
    EXPECT_EQ(p.Update(false, 7001), 0);
    EXPECT_EQ(p.Update(false, 7500), 0);
}

// The wait the receive loop takes between updates: forever without a
// stream, and while one is present never past the moment it would be lost.
TEST(StreamPresence, WaitEndsWhenTheSilenceWouldBeALoss)
{
    StreamPresence p(1000);
    struct Step {
        bool data;
        std::int64_t now;
        int event;  // what Update says
        int wait;   // then WaitMs(now)
    };
    const Step steps[] = {
        {false, 0, 0, -1},     {true, 10, 4, 0},     {false, 10, 0, 1001}, {false, 400, 0, 611}, {true, 450, 0, 0},
        {false, 460, 0, 1001}, {false, 1461, 8, -1}, {false, 9000, 0, -1}, {true, 9001, 4, 0},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.now);
        EXPECT_EQ(p.Update(step.data, step.now), step.event);
        EXPECT_EQ(p.WaitMs(step.now), step.wait);
    }
    // A late look (a busy loop) waits no more.
    p.Update(false, 9002);
    EXPECT_EQ(p.WaitMs(20000), 0);
}

}  // namespace
}  // namespace orv

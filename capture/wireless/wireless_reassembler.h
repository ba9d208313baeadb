#pragma once
// Frame reassembly of the wireless microscope's stream, without a socket: the
// receiver thread hands it every read (a datagram, or a read that returned
// nothing) and it keeps the parse state across them. Reads into a kept frame
// go straight into the frame buffer (PrepareRead gives the place).
//
// Owned and used by one thread only.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orv {

// What one read produced.
struct ReadOutcome {
    bool frameComplete = false;        // a complete frame waits in TakeFrame()
    std::optional<int> buttonMessage;  // lParam of a button message (1 pressed, 0 not)
    bool buttonReset = false;          // a release report arrived
    bool heldAtReset = false;          // ... while the button was reported pressed
};

class WirelessReassembler {
public:
    enum class State { AwaitingHeader = 0, AwaitingLength = 1, ReceivingData = 2 };

    // Whether frames are kept: read when a frame's length arrives and again
    // when it completes (a frame finished after display off is dropped).
    void SetDisplayOn(bool on) { displayOn_ = on; }

    // The place for the next read, sized to what that read may take: the
    // datagram buffer while awaiting a header or length (4096 bytes), the
    // frame buffer at its end while receiving a kept frame (at most 1460).
    // Must be followed by OnRead or OnEmptyRead before the next call.
    std::span<std::uint8_t> PrepareRead();
    // n bytes (1 .. PrepareRead().size()) were received into that place.
    ReadOutcome OnRead(std::size_t n);
    // The read returned nothing (time-out or error).
    ReadOutcome OnEmptyRead();

    // One datagram as a read gets it (cut to the size the read asks for; an
    // empty datagram counts as an empty read). For tests and the fuzzer.
    ReadOutcome Feed(std::span<const std::uint8_t> datagram);

    // The completed frame's bytes (as many as were received); empty when
    // there is none. Afterwards the reassembler holds no frame.
    std::vector<std::uint8_t> TakeFrame();

    State state() const { return state_; }
    bool inFrame() const { return state_ == State::ReceivingData; }
    bool buttonPressed() const { return buttonState_; }
    // Frame in progress: announced length, bytes received, bytes held.
    std::uint32_t frameLength() const { return length_; }
    std::uint64_t received() const { return received_; }
    std::size_t frameBytesHeld() const { return frame_.size(); }
    std::size_t frameCapacity() const { return frame_.capacity(); }

private:
    void ParseDatagram(std::span<const std::uint8_t> data, ReadOutcome &out);
    void ParseHeader(std::span<const std::uint8_t> data, ReadOutcome &out);
    void BeginFrame(std::uint32_t length, std::span<const std::uint8_t> firstBytes, ReadOutcome &out);
    void ReceiveData(std::size_t n, ReadOutcome &out);
    void HandleFlags(std::uint8_t flags, ReadOutcome &out);
    void EndFrame(ReadOutcome &out);
    void DropFrame();
    bool FrameDone() const;
    void Reserve(std::size_t bytes);

    State state_ = State::AwaitingHeader;
    bool displayOn_ = true;
    bool buttonState_ = false;
    int flagsHeaders_ = 0;  // flags-marker headers since the last reset

    // Frame in progress.
    std::uint32_t length_ = 0;
    std::uint64_t received_ = 0;
    bool keep_ = false;
    int emptyReads_ = 0;
    std::vector<std::uint8_t> frame_;  // the kept frame's received bytes (size <= length_)
    bool complete_ = false;

    std::vector<std::uint8_t> datagram_ = std::vector<std::uint8_t>(4096);
    std::size_t pendingRead_ = 0;  // bytes PrepareRead added to frame_
    bool readIntoFrame_ = false;
};

}  // namespace orv

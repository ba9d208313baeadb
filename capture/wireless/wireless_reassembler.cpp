#include "capture/wireless/wireless_reassembler.h"

#include "capture/wireless/wireless_protocol.h"

#include <algorithm>
#include <cstring>

namespace orv {
namespace {

// First reservation of a kept frame; it grows by doubling up to L.
constexpr std::size_t kInitialFrameReserve = 64 * 1024;

bool StartsWith(std::span<const std::uint8_t> data, const char *marker, std::size_t n)
{
    return data.size() >= n && std::memcmp(data.data(), marker, n) == 0;
}

std::uint32_t ReadBigEndian32(std::span<const std::uint8_t> d)
{
    return (std::uint32_t(d[0]) << 24) | (std::uint32_t(d[1]) << 16) | (std::uint32_t(d[2]) << 8) | std::uint32_t(d[3]);
}

}  // namespace

std::span<std::uint8_t> WirelessReassembler::PrepareRead()
{
    pendingRead_ = 0;
    readIntoFrame_ = false;
    if (state_ != State::ReceivingData)
        return {datagram_.data(), kDatagramBufferBytes};

    const std::uint64_t left = length_ > received_ ? length_ - received_ : 0;
    if (keep_) {
        const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(left, kWirelessPieceBytes));
        Reserve(frame_.size() + size);
        frame_.resize(frame_.size() + size);
        pendingRead_ = size;
        readIntoFrame_ = true;
        return {frame_.data() + frame_.size() - size, size};
    }
    // A discarded frame's read asks for up to 4096 bytes; any other request
    // than exactly 4096 is capped at one piece.
    auto size = static_cast<std::size_t>(std::min<std::uint64_t>(left, kDatagramBufferBytes));
    if (size != kDatagramBufferBytes)
        size = std::min(size, kWirelessPieceBytes);
    return {datagram_.data(), size};
}

ReadOutcome WirelessReassembler::OnRead(std::size_t n)
{
    ReadOutcome out;
    if (readIntoFrame_) {
        n = std::min(n, pendingRead_);
        frame_.resize(frame_.size() - pendingRead_ + n);
        pendingRead_ = 0;
        readIntoFrame_ = false;
        const std::span<const std::uint8_t> got(frame_.data() + frame_.size() - n, n);
        if (StartsWith(got, kFlagsMarker, 3)) {
            // A new header in the middle of a frame: the frame is abandoned.
            std::copy(got.begin(), got.end(), datagram_.begin());
            DropFrame();
            state_ = State::AwaitingHeader;
            ParseDatagram({datagram_.data(), n}, out);
            return out;
        }
        ReceiveData(n, out);
        return out;
    }
    n = std::min(n, datagram_.size());
    if (state_ == State::ReceivingData)
        ReceiveData(n, out);
    else
        ParseDatagram({datagram_.data(), n}, out);
    return out;
}

ReadOutcome WirelessReassembler::OnEmptyRead()
{
    ReadOutcome out;
    if (readIntoFrame_) {
        frame_.resize(frame_.size() - pendingRead_);
        pendingRead_ = 0;
        readIntoFrame_ = false;
    }
    if (state_ == State::ReceivingData && ++emptyReads_ >= kMaxEmptyReadsInFrame)
        EndFrame(out);
    return out;
}

ReadOutcome WirelessReassembler::Feed(std::span<const std::uint8_t> datagram)
{
    const std::span<std::uint8_t> place = PrepareRead();
    const std::size_t n = std::min(place.size(), datagram.size());
    if (n == 0)
        return OnEmptyRead();
    std::copy_n(datagram.begin(), n, place.begin());
    return OnRead(n);
}

std::vector<std::uint8_t> WirelessReassembler::TakeFrame()
{
    if (!complete_)
        return {};
    complete_ = false;
    std::vector<std::uint8_t> frame = std::move(frame_);
    frame_ = {};
    return frame;
}

void WirelessReassembler::ParseDatagram(std::span<const std::uint8_t> data, ReadOutcome &out)
{
    if (state_ == State::AwaitingHeader) {
        ParseHeader(data, out);
        return;
    }
    // Awaiting the length: the datagram starts with it.
    if (data.size() < kLengthBytes)
        return;
    const std::uint32_t length = ReadBigEndian32(data);
    if (length == 0 || length > kMaxWirelessFrameBytes) {
        state_ = State::AwaitingHeader;
        return;
    }
    BeginFrame(length, data.subspan(kLengthBytes), out);
}

void WirelessReassembler::ParseHeader(std::span<const std::uint8_t> data, ReadOutcome &out)
{
    if (data.size() <= kMarkerBytes)
        return;
    if (StartsWith(data, kDataMarker, 4)) {
        // no flags
    } else if (StartsWith(data, kFlagsMarker, 3)) {
        HandleFlags(data[3], out);
    } else {
        return;
    }
    state_ = State::AwaitingLength;
    const auto rest = data.subspan(kMarkerBytes);
    if (rest.size() < kLengthBytes)
        return;  // the next datagram starts with the length
    ParseDatagram(rest, out);
}

void WirelessReassembler::BeginFrame(std::uint32_t length, std::span<const std::uint8_t> firstBytes, ReadOutcome &out)
{
    DropFrame();
    length_ = length;
    keep_ = displayOn_;
    emptyReads_ = 0;
    // Bytes beyond L have no place in the frame.
    const std::size_t n = std::min<std::size_t>(firstBytes.size(), length);
    if (keep_) {
        Reserve(n);
        frame_.assign(firstBytes.begin(), firstBytes.begin() + static_cast<std::ptrdiff_t>(n));
    }
    received_ = n;
    state_ = State::ReceivingData;
    if (FrameDone())
        EndFrame(out);
}

void WirelessReassembler::ReceiveData(std::size_t n, ReadOutcome &out)
{
    received_ += n;
    // A short read was the frame's last piece.
    if (n < kWirelessPieceBytes || FrameDone()) {
        EndFrame(out);
        return;
    }
    emptyReads_ = 0;
}

void WirelessReassembler::HandleFlags(std::uint8_t flags, ReadOutcome &out)
{
    if (flags & kFlagReset) {
        out.buttonReset = true;
        out.heldAtReset = buttonState_;
        buttonState_ = false;
        flagsHeaders_ = 0;
        return;
    }
    buttonState_ = (flags & kFlagPressed) != 0;
    if (flagsHeaders_ < 2)
        ++flagsHeaders_;  // only "first since the reset" matters; no overflow
    if (flagsHeaders_ == 1)
        out.buttonMessage = buttonState_ ? 1 : 0;
}

void WirelessReassembler::EndFrame(ReadOutcome &out)
{
    state_ = State::AwaitingHeader;
    if (!keep_)
        return;
    bool ok = received_ + 4 >= length_ && !frame_.empty();
    if (ok) {
        // The last non-zero byte must close an end-of-image marker FF D9;
        // zero bytes after it are padding.
        auto last = std::find_if(frame_.rbegin(), frame_.rend(), [](std::uint8_t b) { return b != 0; });
        ok = last != frame_.rend() && *last == 0xD9 && std::next(last) != frame_.rend() && *std::next(last) == 0xFF;
    }
    if (ok && displayOn_) {
        complete_ = true;
        out.frameComplete = true;
        return;
    }
    DropFrame();
}

void WirelessReassembler::DropFrame()
{
    frame_.clear();
    complete_ = false;
}

bool WirelessReassembler::FrameDone() const
{
    return received_ + 4 >= length_;
}

void WirelessReassembler::Reserve(std::size_t bytes)
{
    if (bytes <= frame_.capacity())
        return;
    const std::size_t grown = std::max(frame_.capacity() * 2, kInitialFrameReserve);
    frame_.reserve(std::max(bytes, std::min<std::size_t>(grown, length_)));
}

}  // namespace orv

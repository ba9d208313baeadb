#pragma once
// The wireless microscope's UDP stream: markers, sizes and time-outs. The
// stream is receive-only; these numbers are what the microscope sends.

#include <cstddef>
#include <cstdint>

namespace orv {

inline constexpr std::uint16_t kWirelessPort = 8255;

// The camera name of the wireless microscope's stills (its toggle's caption).
inline constexpr char kWirelessCameraName[] = "Nimbra";

// Header datagrams start with one of these at offset 0. The flags marker is
// followed by the flags byte, so both headers are 4 bytes before L.
inline constexpr char kDataMarker[] = "JPEG";
inline constexpr char kFlagsMarker[] = "JPG";
inline constexpr std::size_t kMarkerBytes = 4;
inline constexpr std::size_t kLengthBytes = 4;

// Every continuation datagram but the last carries this many bytes.
inline constexpr std::size_t kWirelessPieceBytes = 1460;
// Reads while awaiting a header take up to this much.
inline constexpr std::size_t kDatagramBufferBytes = 4096;

// Largest frame length L accepted from a header. The socket takes datagrams
// from anyone, so L is hostile input: a frame buffer grows only as data
// arrives, but never past L, and a live frame plus the last complete frame
// are at most two of these. The microscope's frames are 1280 x 960 JPEGs of
// well under 1 MiB; 16 MiB also holds a 4000 x 3000 JPEG at the highest
// quality, and a stream of 16 MiB frames would be beyond any Wi-Fi link.
inline constexpr std::uint32_t kMaxWirelessFrameBytes = 16u * 1024u * 1024u;

// A frame in progress ends at the sixth read in a row that returns nothing.
inline constexpr int kMaxEmptyReadsInFrame = 6;
// Reads of a frame's pieces wait this long (milliseconds); between frames the
// receiver waits for the next datagram without such a limit.
inline constexpr int kReadTimeoutMs = 1;
// No datagram for longer than this while the stream was present: stream lost.
inline constexpr int kSilenceTimeoutMs = 1000;
// A frame save request not served within this many milliseconds times out.
inline constexpr int kFrameSaveWaitMs = 80000;

// Flags byte of a flags-marker header.
inline constexpr std::uint8_t kFlagReset = 0x01;
inline constexpr std::uint8_t kFlagPressed = 0x02;

// Saving while the button is held waits for a frame of this decoded width.
inline constexpr int kButtonCaptureWidth = 1280;

// The notify mask the main window starts the receiver with: the button only.
inline constexpr int kMainWindowNotifyMask = 3;

// True when code (2, 4 or 8) is enabled by the notify mask.
constexpr bool NotifyMaskAllows(int mask, int code)
{
    return (mask & code) != 0;
}

}  // namespace orv

#pragma once
// Sending side of the wireless microscope's stream, for the simulator, the
// tests and the benchmark: frames cut into datagrams in the wire format, a
// UDP sender with pacing, and the impairments of a poor link.

#include <QByteArray>
#include <QSize>
#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace orv::sim {

struct FrameHeader {
    bool flagsMarker = false;  // "JPG" + flags instead of "JPEG"
    std::uint8_t flags = 0;
    std::optional<std::uint32_t> length;  // L as sent; the JPEG's size when empty
};

// The datagrams of one frame: the header datagram (marker, L most
// significant byte first, the first 1452 bytes), then 1460-byte pieces and a
// shorter last one.
std::vector<QByteArray> SplitFrame(const QByteArray &jpeg, const FrameHeader &header);

// A generated test picture (gradient, grid and the frame number) as a JPEG
// of the given quality.
QByteArray MakeTestFrame(QSize size, int index, int quality);
// Any image file as JPEG bytes: JPEG files as they are, others encoded.
// Empty when the file cannot be read or decoded.
QByteArray LoadFrameFile(const QString &path, int quality);

// Impairments of a poor link, each a probability per datagram.
struct Impairments {
    double loss = 0;     // the datagram is not sent
    double reorder = 0;  // swapped with the next one
    double garbage = 0;  // a datagram of random bytes is sent before it
};
void Impair(std::vector<QByteArray> &datagrams, const Impairments &impairments, std::mt19937 &random);

// The flags byte a button script gives a frame: frames inside a press
// [pressFrame, releaseFrame) carry "pressed", the release frame carries the
// reset, all others carry a plain "JPEG" header (nullopt).
struct ButtonPress {
    int pressFrame = 0;
    int releaseFrame = 0;
};
std::optional<std::uint8_t> ButtonFlagsFor(const std::vector<ButtonPress> &script, int frame);
// "10-40,100-130" -> presses; nullopt on a malformed script.
std::optional<std::vector<ButtonPress>> ParseButtonScript(const QString &text);

class UdpSender {
public:
    // A UDP socket sending to host:port (an IPv4 address or a host name).
    static std::unique_ptr<UdpSender> Open(const QString &host, std::uint16_t port, QString *error);
    ~UdpSender();
    UdpSender(const UdpSender &) = delete;
    UdpSender &operator=(const UdpSender &) = delete;

    bool Send(const QByteArray &datagram);
    // Sends the datagrams spread evenly over `spread` (all at once for 0).
    // Returns how many were sent.
    int SendSpread(const std::vector<QByteArray> &datagrams, std::chrono::microseconds spread);

private:
    explicit UdpSender(int fd) : fd_(fd) {}
    int fd_;
};

}  // namespace orv::sim

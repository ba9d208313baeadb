#pragma once
// The receiver's UDP socket: bound to a port on any local address, read with
// a bounded wait. POSIX; closed by the destructor.

#include <QString>

#include <cstdint>
#include <memory>
#include <span>

namespace orv {

class ReceiverSocket {
public:
    // Binds a UDP socket to port (0: any free port) on every local address.
    // Null with a reason in *error when that fails.
    static std::unique_ptr<ReceiverSocket> Bind(std::uint16_t port, QString *error);
    ~ReceiverSocket();
    ReceiverSocket(const ReceiverSocket &) = delete;
    ReceiverSocket &operator=(const ReceiverSocket &) = delete;

    std::uint16_t port() const { return port_; }

    // Waits at most timeoutMs for a datagram and receives up to into.size()
    // bytes of it (the rest of a longer datagram is discarded, as UDP does).
    // Returns the byte count, 0 when nothing came, -1 on an error.
    long ReceiveDatagram(std::span<std::uint8_t> into, int timeoutMs);

private:
    ReceiverSocket(int fd, std::uint16_t port) : fd_(fd), port_(port) {}
    int fd_;
    std::uint16_t port_;
};

}  // namespace orv

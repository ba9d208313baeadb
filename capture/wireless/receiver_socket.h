#pragma once
// The receiver's UDP socket: bound to a port on any local address, read with
// a bounded wait, or waited on until a datagram comes or another thread asks
// the reader to look up (Wake). POSIX; closed by the destructor.

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
    // As ReceiveDatagram, but a Wake() ends the wait too (returning 0), and a
    // negative timeoutMs waits without limit.
    long WaitDatagram(std::span<std::uint8_t> into, int timeoutMs);
    // Ends the current or the next WaitDatagram. Any thread may call it.
    void Wake();

private:
    ReceiverSocket(int fd, int wakeFd, std::uint16_t port) :
        fd_(fd),
        wakeFd_(wakeFd),
        port_(port)
    {
    }
    long Receive(std::span<std::uint8_t> into, int timeoutMs, bool wakeable);
    int fd_;
    int wakeFd_;  // an eventfd: readable while a wake is pending
    std::uint16_t port_;
};

}  // namespace orv

#include "capture/wireless/receiver_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orv {
namespace {

// A 1280 x 960 frame arrives as about a hundred datagrams in one burst; the
// default receive buffer holds fewer, so ask for room for several frames
// (the kernel caps it at its own maximum).
constexpr int kReceiveBufferBytes = 4 * 1024 * 1024;

QString ErrnoText(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace

std::unique_ptr<ReceiverSocket> ReceiverSocket::Bind(std::uint16_t port, QString *error)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        if (error)
            *error = ErrnoText("socket");
        return nullptr;
    }
    const int size = kReceiveBufferBytes;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);  // best effort
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    addr.sin_port = htons(port);
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof addr) != 0) {
        if (error)
            *error = ErrnoText("bind");
        ::close(fd);
        return nullptr;
    }
    socklen_t len = sizeof addr;
    if (::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len) != 0) {
        if (error)
            *error = ErrnoText("getsockname");
        ::close(fd);
        return nullptr;
    }
    const int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        if (error)
            *error = ErrnoText("eventfd");
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<ReceiverSocket>(new ReceiverSocket(fd, wakeFd, ntohs(addr.sin_port)));
}

ReceiverSocket::~ReceiverSocket()
{
    ::close(wakeFd_);
    ::close(fd_);
}

long ReceiverSocket::ReceiveDatagram(std::span<std::uint8_t> into, int timeoutMs)
{
    return Receive(into, timeoutMs, false);
}

long ReceiverSocket::WaitDatagram(std::span<std::uint8_t> into, int timeoutMs)
{
    return Receive(into, timeoutMs, true);
}

void ReceiverSocket::Wake()
{
    const std::uint64_t one = 1;
    // Only fails when the counter is full, and then a wake is pending anyway.
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

long ReceiverSocket::Receive(std::span<std::uint8_t> into, int timeoutMs, bool wakeable)
{
    // Inside a frame the next piece is usually queued already: try it first
    // and wait only when nothing is there.
    const ssize_t queued = ::recv(fd_, into.data(), into.size(), MSG_DONTWAIT);
    if (queued >= 0)
        return static_cast<long>(queued);
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
        return -1;
    pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    const int ready = ::poll(fds, wakeable ? 2 : 1, wakeable || timeoutMs >= 0 ? timeoutMs : 0);
    if (ready < 0)
        return errno == EINTR ? 0 : -1;
    if (wakeable && (fds[1].revents & POLLIN) != 0) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t drained = ::read(wakeFd_, &count, sizeof count);
    }
    // An error shows too: the receive below takes it off the socket.
    if (fds[0].revents == 0)
        return 0;
    const ssize_t n = ::recv(fd_, into.data(), into.size(), MSG_DONTWAIT);
    if (n < 0)
        return (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? 0 : -1;
    return static_cast<long>(n);
}

}  // namespace orv

#include "links/TcpSocket.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace almanac::net {
namespace {

constexpr std::uintptr_t kNoSocket = ~std::uintptr_t(0);

int MillisecondsLeft(Deadline deadline) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return int(std::clamp<decltype(left)>(left, 0, INT_MAX));
}

// True when the socket is ready for events (or has an error or a hang-up,
// which the next call reports) before the deadline.
bool WaitFor(int fd, short events, Deadline deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        int ready = poll(&entry, 1, MillisecondsLeft(deadline));
        if (ready > 0) return true;
        if (ready == 0 || errno != EINTR) return false;
    }
}

bool WouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK; }

}  // namespace

SocketLibrary::SocketLibrary() : started_(true) {}
SocketLibrary::~SocketLibrary() = default;

TcpSocket::TcpSocket() : handle_(kNoSocket) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd >= 0) handle_ = std::uintptr_t(fd);
}

TcpSocket::~TcpSocket() {
    if (IsOpen()) close(int(handle_));
}

bool TcpSocket::IsOpen() const { return handle_ != kNoSocket; }

bool TcpSocket::Connect(const Ipv4Address& address, std::uint16_t port, Deadline deadline) {
    int fd = int(handle_);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    std::memcpy(&target.sin_addr, address.bytes.data(), address.bytes.size());
    if (connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) return true;
    // An interrupted connect goes on in the background, like one in progress.
    if (errno != EINPROGRESS && errno != EINTR) return false;
    if (!WaitFor(fd, POLLOUT, deadline)) return false;
    int error = 0;
    socklen_t length = sizeof error;
    return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

bool TcpSocket::SendAll(std::string_view bytes, Deadline deadline) {
    int fd = int(handle_);
    while (!bytes.empty()) {
        // A peer that has gone must give an error here, not end the process.
        ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(std::size_t(sent));
        } else if (sent < 0 && WouldBlock(errno)) {
            if (!WaitFor(fd, POLLOUT, deadline)) return false;
        } else if (sent < 0 && errno != EINTR) {
            return false;
        }
    }
    return true;
}

std::ptrdiff_t TcpSocket::Receive(char* buffer, std::size_t capacity, Deadline deadline) {
    int fd = int(handle_);
    for (;;) {
        ssize_t got = recv(fd, buffer, capacity, 0);
        if (got >= 0) return got;
        if (WouldBlock(errno)) {
            if (!WaitFor(fd, POLLIN, deadline)) return -1;
        } else if (errno != EINTR) {
            return -1;
        }
    }
}

}  // namespace almanac::net

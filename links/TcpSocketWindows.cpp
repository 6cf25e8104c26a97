#include "links/TcpSocket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace almanac::net {
namespace {

enum class Readiness { Readable, Writable };

long MillisecondsLeft(Deadline deadline) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return long(std::clamp<decltype(left)>(left, 0, LONG_MAX));
}

// True when the socket is ready (or has failed, which the next call reports)
// before the deadline. A failed connect shows in the exception set only.
bool WaitFor(SOCKET handle, Readiness readiness, Deadline deadline) {
    long left = MillisecondsLeft(deadline);
    timeval wait{left / 1000, left % 1000 * 1000};
    fd_set watched, failed;
    FD_ZERO(&watched);
    FD_ZERO(&failed);
    FD_SET(handle, &watched);
    FD_SET(handle, &failed);
    int ready = readiness == Readiness::Readable ? select(0, &watched, nullptr, &failed, &wait)
                                                 : select(0, nullptr, &watched, &failed, &wait);
    return ready > 0;
}

}  // namespace

SocketLibrary::SocketLibrary() {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

SocketLibrary::~SocketLibrary() {
    if (started_) WSACleanup();
}

TcpSocket::TcpSocket() : handle_(INVALID_SOCKET) {
    SOCKET created = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (created == INVALID_SOCKET) return;
    u_long nonBlocking = 1;
    if (ioctlsocket(created, FIONBIO, &nonBlocking) != 0) {
        closesocket(created);
        return;
    }
    handle_ = created;
}

TcpSocket::~TcpSocket() {
    if (IsOpen()) closesocket(SOCKET(handle_));
}

bool TcpSocket::IsOpen() const { return handle_ != INVALID_SOCKET; }

bool TcpSocket::Connect(const Ipv4Address& address, std::uint16_t port, Deadline deadline) {
    SOCKET handle = SOCKET(handle_);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    std::memcpy(&target.sin_addr, address.bytes.data(), address.bytes.size());
    if (connect(handle, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) return true;
    if (WSAGetLastError() != WSAEWOULDBLOCK) return false;
    if (!WaitFor(handle, Readiness::Writable, deadline)) return false;
    int error = 0;
    int length = sizeof error;
    return getsockopt(handle, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) == 0 && error == 0;
}

bool TcpSocket::SendAll(std::string_view bytes, Deadline deadline) {
    SOCKET handle = SOCKET(handle_);
    while (!bytes.empty()) {
        int chunk = int(std::min<std::size_t>(bytes.size(), INT_MAX));
        int sent = send(handle, bytes.data(), chunk, 0);
        if (sent > 0) {
            bytes.remove_prefix(std::size_t(sent));
        } else if (sent == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
            if (!WaitFor(handle, Readiness::Writable, deadline)) return false;
        } else {
            return false;
        }
    }
    return true;
}

std::ptrdiff_t TcpSocket::Receive(char* buffer, std::size_t capacity, Deadline deadline) {
    SOCKET handle = SOCKET(handle_);
    int room = int(std::min<std::size_t>(capacity, INT_MAX));
    for (;;) {
        int got = recv(handle, buffer, room, 0);
        if (got >= 0) return got;
        if (WSAGetLastError() != WSAEWOULDBLOCK) return -1;
        if (!WaitFor(handle, Readiness::Readable, deadline)) return -1;
    }
}

}  // namespace almanac::net

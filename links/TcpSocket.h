// The few socket calls the link exchange needs, one file per platform (and
// one for the name lookup, which is the same call on both).
// Every wait ends at a deadline: the socket is non-blocking, so neither an
// unreachable server nor a silent one can hold the caller past it.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace almanac::net {

using Clock = std::chrono::steady_clock;
using Deadline = Clock::time_point;

struct Ipv4Address {
    std::array<unsigned char, 4> bytes{};  // in network order: 127, 0, 0, 1
};

// Windows Sockets 2.2, started while one of these lives: the program keeps
// one for the whole process. Elsewhere there is nothing to start.
class SocketLibrary {
public:
    SocketLibrary();
    // Cleans up after a start that succeeded, and only then.
    ~SocketLibrary();
    SocketLibrary(const SocketLibrary&) = delete;
    SocketLibrary& operator=(const SocketLibrary&) = delete;

    bool Started() const { return started_; }

private:
    bool started_ = false;
};

// The first IPv4 address of host, from getaddrinfo (safe on any thread).
// On Windows the caller has started Windows Sockets.
std::optional<Ipv4Address> ResolveIpv4(const std::string& host);

// An IPv4 stream socket, closed when it goes.
class TcpSocket {
public:
    TcpSocket();  // IsOpen() tells whether the system gave one
    ~TcpSocket();
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    bool IsOpen() const;

    // True once the connection stands; false when it was refused, failed or
    // did not stand by the deadline.
    bool Connect(const Ipv4Address& address, std::uint16_t port, Deadline deadline);

    // True when every byte went out by the deadline.
    bool SendAll(std::string_view bytes, Deadline deadline);

    // Waits for bytes until the deadline: the count received (at most
    // capacity, which is above 0), 0 when the peer has closed, -1 on an error
    // or when the deadline passed first.
    std::ptrdiff_t Receive(char* buffer, std::size_t capacity, Deadline deadline);

private:
    std::uintptr_t handle_;  // a file descriptor, or a Windows SOCKET
};

}  // namespace almanac::net

// A scripted HTTP server on 127.0.0.1 for the link tests: it reads each
// request up to its blank line, then answers with a list of steps (send these
// bytes, pause, stay silent) and closes. It talks to the operating system
// directly, so the client's socket layer is tested rather than trusted.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace almanac::testing {

#ifdef _WIN32
using RawSocket = SOCKET;
inline constexpr RawSocket kNoSocket = INVALID_SOCKET;
inline constexpr int kNoSignal = 0;
inline void CloseRawSocket(RawSocket socket) { closesocket(socket); }
#else
using RawSocket = int;
inline constexpr RawSocket kNoSocket = -1;
inline constexpr int kNoSignal = MSG_NOSIGNAL;  // a client that has gone must not end the test
inline void CloseRawSocket(RawSocket socket) { close(socket); }
#endif

class OwnedSocket {
public:
    explicit OwnedSocket(RawSocket socket = kNoSocket) : socket_(socket) {}
    ~OwnedSocket() {
        if (IsOpen()) CloseRawSocket(socket_);
    }
    OwnedSocket(OwnedSocket&& other) noexcept : socket_(other.socket_) { other.socket_ = kNoSocket; }
    OwnedSocket(const OwnedSocket&) = delete;
    OwnedSocket& operator=(const OwnedSocket&) = delete;
    bool IsOpen() const { return socket_ != kNoSocket; }
    RawSocket Get() const { return socket_; }

private:
    RawSocket socket_;
};

inline sockaddr_in LoopbackAddress(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A listening socket on 127.0.0.1 and a port the system chose.
inline OwnedSocket ListenOnLoopback(int backlog, std::uint16_t& port) {
    OwnedSocket listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = LoopbackAddress(0);
    socklen_t length = sizeof address;
    if (!listener.IsOpen() || bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener.Get(), backlog) != 0 ||
        getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("no loopback listener");
    port = ntohs(address.sin_port);
    return listener;
}

inline bool ConnectToLoopback(const OwnedSocket& socket, std::uint16_t port) {
    sockaddr_in address = LoopbackAddress(port);
    return connect(socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

// A port on which nothing listens (it did a moment ago), so a connection
// to it is refused.
inline std::uint16_t ClosedPort() {
    std::uint16_t port = 0;
    ListenOnLoopback(1, port);
    return port;
}

// A listener that never accepts and whose queue is already full: the system
// drops further connection requests unanswered, so a connect to it neither
// succeeds nor fails until the client gives up.
class UnansweredListener {
public:
    UnansweredListener() : listener_(ListenOnLoopback(0, port_)), queued_(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
        ConnectToLoopback(queued_, port_);
    }
    std::uint16_t Port() const { return port_; }

private:
    std::uint16_t port_ = 0;
    OwnedSocket listener_;
    OwnedSocket queued_;
};

// An HTTP response as the link server sends it: the status line, the body's
// length and the body.
inline std::string HttpAnswer(std::string_view body, std::string_view status = "200 OK") {
    return "HTTP/1.1 " + std::string(status) + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
           std::string(body);
}

struct Step {
    enum class Kind { Send, Pause, Stall };
    Kind kind;
    std::string bytes;
    std::chrono::milliseconds pause{0};
};

inline Step Send(std::string bytes) { return {Step::Kind::Send, std::move(bytes), {}}; }
inline Step Pause(int milliseconds) { return {Step::Kind::Pause, {}, std::chrono::milliseconds(milliseconds)}; }
// Silence until the client goes away or the server is released.
inline Step Stall() { return {Step::Kind::Stall, {}, {}}; }

class LoopbackServer {
public:
    explicit LoopbackServer(std::vector<Step> steps)
        : steps_(std::move(steps)), listener_(ListenOnLoopback(8, port_)), thread_([this] { Serve(); }) {}

    ~LoopbackServer() {
        stopping_ = true;
        // Wakes the accept with a connection of our own.
        OwnedSocket wake(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        ConnectToLoopback(wake, port_);
        thread_.join();
    }

    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::uint16_t Port() const { return port_; }

    // Ends every stall, the present one and those to come.
    void Release() { released_ = true; }

    // The bytes of each request so far, as they arrived.
    std::vector<std::string> Requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

    // Waits at most limit for the count-th request to have arrived.
    bool WaitForRequests(std::size_t count, std::chrono::milliseconds limit) const {
        std::unique_lock lock(mutex_);
        return requestArrived_.wait_for(lock, limit, [&] { return requests_.size() >= count; });
    }

private:
    void Serve() {
        for (;;) {
            OwnedSocket connection(accept(listener_.Get(), nullptr, nullptr));
            if (stopping_ || !connection.IsOpen()) return;
            int noDelay = 1;  // each step leaves as a segment of its own
            setsockopt(connection.Get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
                       sizeof noDelay);
            if (!ReadRequest(connection)) continue;
            Answer(connection);
#ifdef _WIN32
            shutdown(connection.Get(), SD_SEND);
#else
            shutdown(connection.Get(), SHUT_WR);
#endif
        }
    }

    // Waits for bytes or a close for a short while.
    static bool IsReadable(const OwnedSocket& connection) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(connection.Get(), &readable);
        timeval wait{0, 20000};
        return select(int(connection.Get()) + 1, &readable, nullptr, nullptr, &wait) > 0;
    }

    bool ReadRequest(const OwnedSocket& connection) {
        std::string request;
        while (request.find("\r\n\r\n") == std::string::npos) {
            if (stopping_) return false;
            if (!IsReadable(connection)) continue;
            char buffer[4096];
            int got = int(recv(connection.Get(), buffer, sizeof buffer, 0));
            if (got <= 0) break;
            request.append(buffer, std::size_t(got));
        }
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        requestArrived_.notify_all();
        return true;
    }

    void Answer(const OwnedSocket& connection) {
        for (const Step& step : steps_) {
            switch (step.kind) {
            case Step::Kind::Send:
                send(connection.Get(), step.bytes.data(), int(step.bytes.size()), kNoSignal);
                break;
            case Step::Kind::Pause: std::this_thread::sleep_for(step.pause); break;
            case Step::Kind::Stall: StallUntilClientGoes(connection); break;
            }
        }
    }

    void StallUntilClientGoes(const OwnedSocket& connection) {
        while (!released_ && !stopping_) {
            if (!IsReadable(connection)) continue;
            char buffer[256];
            if (recv(connection.Get(), buffer, sizeof buffer, 0) <= 0) return;
        }
    }

    std::vector<Step> steps_;
    std::uint16_t port_ = 0;
    OwnedSocket listener_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> released_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable requestArrived_;
    std::vector<std::string> requests_;
    std::thread thread_;  // last: it starts serving once everything else stands
};

}  // namespace almanac::testing

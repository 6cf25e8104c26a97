#include "links/HttpGet.h"

#include "links/TcpSocket.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <optional>
#include <string>

namespace almanac {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kHeaderEnd = "\r\n\r\n";

std::string RequestBytes(std::string_view host, std::string_view path, std::string_view version) {
    std::string request = "GET /";
    request.append(path).append(" HTTP/1.1\r\nHost:").append(host);
    request.append("\r\nVer:").append(version).append("\r\n\r\n");
    return request;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// Cuts the first line off text and returns it without its line end.
std::string_view TakeLine(std::string_view& text) {
    std::size_t end = std::min(text.find(kLineEnd), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + kLineEnd.size(), text.size()));
    return line;
}

// The first Content-Length of the header lines, when it is a plain decimal
// number. Anything else is ignored: the body then ends when the peer closes.
std::optional<std::size_t> ContentLength(std::string_view headers) {
    TakeLine(headers);  // the status line
    while (!headers.empty()) {
        std::string_view line = TakeLine(headers);
        std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || !EqualIgnoringCase(Trimmed(line.substr(0, colon)), "Content-Length"))
            continue;
        std::string_view value = Trimmed(line.substr(colon + 1));
        std::size_t length = 0;
        auto [stop, error] = std::from_chars(value.data(), value.data() + value.size(), length);
        if (value.empty() || error != std::errc() || stop != value.data() + value.size()) return std::nullopt;
        return length;
    }
    return std::nullopt;
}

// A response split at its blank line.
struct ResponseParts {
    std::string_view headers;  // the status line and the header lines, each with its line end
    std::string_view body;     // everything after the blank line
};

std::optional<ResponseParts> SplitResponse(std::string_view response) {
    std::size_t end = response.find(kHeaderEnd);
    if (end == std::string_view::npos) return std::nullopt;
    return ResponseParts{response.substr(0, end + kLineEnd.size()), response.substr(end + kHeaderEnd.size())};
}

bool HoldsWholeBodyByLength(std::string_view response) {
    std::optional<ResponseParts> parts = SplitResponse(response);
    if (!parts) return false;
    std::optional<std::size_t> length = ContentLength(parts->headers);
    return length && parts->body.size() >= *length;
}

enum class Ending { PeerClosed, LengthReached, LimitReached, FailedOrTimedOut };

struct Response {
    std::array<char, HTTP_RESPONSE_LIMIT> buffer;
    std::size_t size = 0;
    Ending ending = Ending::FailedOrTimedOut;

    std::string_view Bytes() const { return {buffer.data(), size}; }
};

// A server answering HTTP/1.1 keeps the connection open after the body, so
// its Content-Length, not the close, usually ends the response.
Response ReceiveResponse(net::TcpSocket& socket, net::Deadline deadline) {
    Response response;
    while (response.size < response.buffer.size()) {
        char* free = response.buffer.data() + response.size;
        std::ptrdiff_t got = socket.Receive(free, response.buffer.size() - response.size, deadline);
        if (got < 0) {
            response.ending = Ending::FailedOrTimedOut;
            return response;
        }
        if (got == 0) {
            response.ending = Ending::PeerClosed;
            return response;
        }
        response.size += std::size_t(got);
        if (HoldsWholeBodyByLength(response.Bytes())) {
            response.ending = Ending::LengthReached;
            return response;
        }
    }
    response.ending = Ending::LimitReached;
    return response;
}

// Whether body holds all the caller is to receive: the whole body, or, when
// the response limit cut it, at least capacity bytes of it.
bool BodyIsWhole(std::string_view body, std::optional<std::size_t> contentLength, Ending ending,
                 std::size_t capacity) {
    switch (ending) {
    case Ending::LengthReached: return true;
    case Ending::PeerClosed: return !contentLength || body.size() >= *contentLength;
    case Ending::LimitReached: return body.size() >= capacity;
    case Ending::FailedOrTimedOut: return false;
    }
    return false;
}

}  // namespace

int HttpGetBody(char* destination, std::size_t& capacity, std::string_view host, std::string_view path,
                std::string_view version, std::uint16_t port, std::chrono::milliseconds timeout) {
    std::optional<net::Ipv4Address> address = net::ResolveIpv4(std::string(host));
    if (!address) return HTTP_UNRESOLVED;
    net::TcpSocket socket;
    if (!socket.IsOpen()) return HTTP_NO_SOCKET;
    if (!socket.Connect(*address, port, net::Clock::now() + timeout)) return HTTP_NOT_CONNECTED;

    net::Deadline answerDeadline = net::Clock::now() + timeout;
    if (!socket.SendAll(RequestBytes(host, path, version), answerDeadline)) return HTTP_NOT_SENT;
    Response response = ReceiveResponse(socket, answerDeadline);
    if (response.ending == Ending::FailedOrTimedOut || response.size == 0) return HTTP_NO_ANSWER;

    std::optional<ResponseParts> parts = SplitResponse(response.Bytes());
    if (!parts) return HTTP_NO_HEADER_END;
    std::optional<std::size_t> contentLength = ContentLength(parts->headers);
    if (!BodyIsWhole(parts->body, contentLength, response.ending, capacity)) return HTTP_NO_ANSWER;

    // Bytes past the Content-Length belong to no answer of ours.
    std::size_t copied = std::min({parts->body.size(), contentLength.value_or(parts->body.size()), capacity});
    std::memcpy(destination, parts->body.data(), copied);
    destination[copied] = '\0';
    capacity = copied;
    return HTTP_OK;
}

}  // namespace almanac

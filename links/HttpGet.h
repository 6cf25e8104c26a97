// The one HTTP exchange of the link line: a GET on a fresh connection, whose
// response body the caller receives as a NUL-terminated text.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace almanac {

enum HttpGetResult {
    HTTP_OK = 0,
    HTTP_UNRESOLVED = -1,      // the host name did not resolve
    HTTP_NO_SOCKET = -2,       // the system gave no socket
    HTTP_NOT_CONNECTED = -3,   // refused, unreachable, or not connected within the time-out
    HTTP_NOT_SENT = -4,        // the request did not go out whole
    HTTP_NO_ANSWER = -5,       // nothing, an error, a cut body, or the time-out instead of a whole response
    HTTP_NO_HEADER_END = -6,   // the bytes received hold no "\r\n\r\n"
};

inline constexpr std::uint16_t HTTP_PORT = 80;
inline constexpr std::chrono::milliseconds HTTP_TIME_OUT{10000};

// The most response bytes received, status line and headers included; a
// longer response is cut here.
inline constexpr std::size_t HTTP_RESPONSE_LIMIT = 2047;

// Sends exactly "GET /<path> HTTP/1.1\r\nHost:<host>\r\nVer:<version>\r\n\r\n"
// to the given port of host, and reads the response until the peer closes,
// the body is complete by its Content-Length, HTTP_RESPONSE_LIMIT bytes have
// arrived, or the time-out passes. The time-out bounds the connect, and then
// again the request and the response together. The status is not examined.
//
// On HTTP_OK destination (capacity + 1 bytes) holds the body cut to capacity
// bytes and a NUL, and capacity holds the number of body bytes copied. A body
// shorter than its Content-Length is a failure, unless the response limit cut
// it at or beyond capacity. Any other result leaves both untouched.
//
// Blocks for as long as the name resolution and the time-out allow: call it
// off the user-interface thread. On Windows, Windows Sockets must be started.
int HttpGetBody(char* destination, std::size_t& capacity, std::string_view host, std::string_view path,
                std::string_view version, std::uint16_t port = HTTP_PORT,
                std::chrono::milliseconds timeout = HTTP_TIME_OUT);

}  // namespace almanac

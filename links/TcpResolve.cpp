// The name lookup of the socket layer. getaddrinfo is the same call on both
// platforms; only the headers that declare it differ.
#include "links/TcpSocket.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include <cstring>
#include <memory>

namespace almanac::net {
namespace {

struct AddressListDeleter {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

}  // namespace

std::optional<Ipv4Address> ResolveIpv4(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return std::nullopt;
    std::unique_ptr<addrinfo, AddressListDeleter> list(found);
    Ipv4Address address;
    const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(list->ai_addr);
    std::memcpy(address.bytes.data(), &ipv4->sin_addr, address.bytes.size());
    return address;
}

}  // namespace almanac::net

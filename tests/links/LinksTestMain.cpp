// The link tests open sockets; the program starts Windows Sockets once for
// the process, and so does this main.
#include "links/TcpSocket.h"

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Kept to the end: a fetch the tests abandoned may still be ending.
    static almanac::net::SocketLibrary sockets;
    if (!sockets.Started()) {
        std::fprintf(stderr, "Windows Sockets 2.2 did not start\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}

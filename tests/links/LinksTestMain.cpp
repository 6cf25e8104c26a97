// The link tests open sockets; on Windows the program starts Windows Sockets
// itself (the main window does), so this main does too.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <winsock2.h>

#include <cstdio>
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
#ifdef _WIN32
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        std::fprintf(stderr, "Windows Sockets 2.2 did not start\n");
        return 1;
    }
    // No WSACleanup: a fetch the tests abandoned may still be ending.
#endif
    return RUN_ALL_TESTS();
}

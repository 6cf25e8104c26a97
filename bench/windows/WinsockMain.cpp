// The benchmarks' main for programs that open sockets: Windows Sockets start
// first, as the program starts them.
#include "links/TcpSocket.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    static almanac::net::SocketLibrary sockets;
    if (!sockets.Started()) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The benchmarks' main for programs that open sockets: Windows Sockets start
// first, as the main window starts them in the program.
#include <benchmark/benchmark.h>
#include <winsock2.h>

int main(int argc, char** argv) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

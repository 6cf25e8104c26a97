// The application object: one copy per logon, then the main window for the
// whole life of the process.
#pragma once

#include "app/AppEnvironment.h"

namespace almanac {

class AlmanacApp {
public:
    explicit AlmanacApp(AppEnvironment environment) : environment_(std::move(environment)) {}

    static constexpr const char* INSTANCE_EVENT = "Kelvadar_zumbrik";
    static constexpr const char* REFUSAL = "同名程序已启动，请先关闭旧程序!\n";

    // The whole program: refuses a second copy, starts Windows Sockets, and
    // runs the main window until the exit prompt ends it. The process's
    // exit code.
    int Run();

private:
    AppEnvironment environment_;
};

}  // namespace almanac

// What the program takes from the world that a test cannot control: the
// local date and time, the documents folder, and where the link server is.
// The program uses the system's; the tests give their own.
#pragma once

#include "links/RemoteLink.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace almanac {

struct AppEnvironment {
    std::function<SYSTEMTIME()> localTime;
    std::function<std::optional<std::string>()> documentsFolder;
    LinkServer linkServer;

    // The system's clock and documents folder, and the configured link server.
    static AppEnvironment System();
};

}  // namespace almanac

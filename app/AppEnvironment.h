// What the program takes from the world that a test cannot control: the
// local date and time, the documents folder, where the link server is, and
// the message box that tells the user of a file in trouble. The program uses
// the system's; the tests give their own.
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
    // Shows a warning (GB18030 text) to the user, owned by owner.
    std::function<void(HWND owner, const std::string& message)> tellUser;

    // The system's clock and documents folder, and the configured link server.
    static AppEnvironment System();
};

}  // namespace almanac

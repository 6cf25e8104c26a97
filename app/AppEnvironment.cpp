#include "app/AppEnvironment.h"

#include "app/Settings.h"
#include "framework/Text.h"
#include "framework/Window.h"

namespace almanac {

AppEnvironment AppEnvironment::System() {
    AppEnvironment environment;
    environment.localTime = [] {
        SYSTEMTIME now;
        GetLocalTime(&now);
        return now;
    };
    environment.documentsFolder = ShellDocumentsFolder;
    environment.tellUser = [](HWND owner, const std::string& message) {
        MessageBoxW(owner, win::Wide(message).c_str(), win::Wide(win::ProgramTitle()).c_str(), MB_OK | MB_ICONWARNING);
    };
    return environment;
}

}  // namespace almanac

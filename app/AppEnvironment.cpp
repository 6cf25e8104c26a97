#include "app/AppEnvironment.h"

#include "app/Settings.h"
#include "base/Text.h"
#include "resources/Texts.h"

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
        MessageBoxW(owner, text::Wide(message).c_str(), text::Wide(PROGRAM_NAME).c_str(), MB_OK | MB_ICONWARNING);
    };
    return environment;
}

}  // namespace almanac

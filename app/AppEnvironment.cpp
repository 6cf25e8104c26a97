#include "app/AppEnvironment.h"

#include "app/Settings.h"

namespace almanac {

AppEnvironment AppEnvironment::System() {
    AppEnvironment environment;
    environment.localTime = [] {
        SYSTEMTIME now;
        GetLocalTime(&now);
        return now;
    };
    environment.documentsFolder = ShellDocumentsFolder;
    return environment;
}

}  // namespace almanac

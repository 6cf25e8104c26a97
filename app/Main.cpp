// almanac.exe: the Chinese lunar desktop calendar.
#include "app/AlmanacApp.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    almanac::AlmanacApp app(almanac::AppEnvironment::System());
    return app.Run();
}

// almanac.exe: the Chinese lunar desktop calendar.
#include "app/AlmanacApp.h"

#include <windows.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The grid hands screen readers a COM object, marshalled from the
    // window's thread: a single-threaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status;
    {
        almanac::AlmanacApp app(almanac::AppEnvironment::System());
        status = app.Run();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return status;
}

#include "framework/Application.h"

#include <windows.h>

namespace almanac::win {

int Application::Run() {
    if (!InitInstance()) return 0;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace almanac::win

#include "app/AlmanacApp.h"

#include "app/MainWindow.h"
#include "app/ShellWatcher.h"

namespace almanac {

bool AlmanacApp::InitInstance() {
    // The event lives in the logon's own namespace; its handle stays open
    // until the process ends, and only its existence matters.
    HANDLE instance = CreateEventW(nullptr, FALSE, FALSE, win::Wide(INSTANCE_EVENT).c_str());
    if (instance && GetLastError() == ERROR_ALREADY_EXISTS) {
        MessageBoxW(nullptr, win::Wide(REFUSAL).c_str(), win::Wide(win::ProgramTitle()).c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    // The main window runs until the exit prompt ends it. When the shell
    // takes it away instead, the program waits for the shell to be back and
    // makes it anew, on the same page.
    ShellWatcher watcher;
    StateAcrossWindows session;
    for (;;) {
        HWND formerView = nullptr;
        {
            MainWindow window(environment_, session);
            window.RunModal(nullptr);
            if (window.EndedByExitPrompt()) break;
            formerView = window.FormerParent();
        }
        if (!watcher.WaitForShell(formerView)) break;
    }
    return false;
}

}  // namespace almanac

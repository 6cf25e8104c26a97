#include "app/AlmanacApp.h"

#include "app/MainWindow.h"
#include "app/ShellWatcher.h"
#include "app/StartupFailure.h"
#include "links/TcpSocket.h"
#include "resources/Texts.h"

#include <new>

namespace almanac {

namespace {

// What a file far larger than any valid one once led to.
constexpr const char* kOutOfMemory = "内存不足，或有文件大得出奇：程序无法启动，现在结束。";

}  // namespace

std::string StartupFailureText(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const StartupFailure& startup) {
        return startup.what();
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    } catch (const std::length_error&) {
        return kOutOfMemory;
    } catch (const std::exception& other) {
        return std::string("程序无法启动，现在结束：") + other.what();
    } catch (...) {
        return "程序无法启动，现在结束。";
    }
}

int AlmanacApp::Run() {
    // The event lives in the logon's own namespace; its handle stays open
    // until the process ends, and only its existence matters.
    HANDLE instance = CreateEventW(nullptr, FALSE, FALSE, text::Wide(INSTANCE_EVENT).c_str());
    if (instance && GetLastError() == ERROR_ALREADY_EXISTS) {
        MessageBoxW(nullptr, text::Wide(REFUSAL).c_str(), text::Wide(PROGRAM_NAME).c_str(), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    // Once for the process, for the link line; without them the calendar
    // works on, without its link.
    const net::SocketLibrary sockets;
    if (!sockets.Started())
        MessageBoxW(nullptr, text::Wide("网络初始化失败，请报告管理员").c_str(), text::Wide("警告").c_str(), MB_OK);

    // The main window runs until the exit prompt ends it. When the shell
    // takes it away instead, the program waits for the shell to be back and
    // makes it anew, on the same page. A window that cannot start whole is
    // gone when RunModal throws; the user is told why, and the program ends.
    ShellWatcher watcher;
    StateAcrossWindows session;
    for (;;) {
        HWND formerView = nullptr;
        try {
            MainWindow window(environment_, session);
            window.RunModal(nullptr);
            if (window.EndedByExitPrompt()) break;
            formerView = window.FormerParent();
        } catch (...) {
            MessageBoxW(nullptr, text::Wide(StartupFailureText(std::current_exception())).c_str(),
                        text::Wide(PROGRAM_NAME).c_str(), MB_OK | MB_ICONERROR);
            break;
        }
        if (!watcher.WaitForShell(formerView)) break;
    }
    return 0;
}

}  // namespace almanac

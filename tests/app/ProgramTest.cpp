// The real almanac.exe, started as a user starts it, in a Wine prefix of its
// own: one copy per logon, and a calendar that survives the shell's restart.
// The program's path is the test program's argument.
#include "app/DesktopEmbedding.h"
#include "base/Text.h"
#include "resources/Texts.h"
#include "resources/resource.h"
#include "tests/app/ShellStandIns.h"
#include "tests/display/TestWindows.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace almanac {
namespace {

std::wstring programPath;
const std::wstring kTitle = text::Wide(PROGRAM_TITLE);

class Program {
public:
    Program() {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring command = L"\"" + programPath + L"\"";
        started_ = CreateProcessW(programPath.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &info_);
    }
    ~Program() {
        if (!started_) return;
        if (IsRunning()) TerminateProcess(info_.hProcess, 0);
        WaitForSingleObject(info_.hProcess, 5000);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return started_; }
    bool IsRunning() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    bool WaitForExit(DWORD milliseconds) const { return WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0; }
    DWORD Id() const { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// Keeps this thread's own windows (the stand-ins) answering while waiting.
void PumpFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(20);
    } while (GetTickCount() - start < milliseconds);
}

template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds = 15000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds) return false;
        PumpFor(50);
    }
    return true;
}

struct WindowSearch {
    DWORD process;
    const wchar_t* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (process == search->process && IsWindowVisible(window) && (!search->title || std::wstring(title) == search->title))
        search->found.push_back(window);
    return TRUE;
}

// The process's visible windows (of the title, when one is given), top-level
// or, since the calendar may live in a stand-in desktop view, below it.
std::vector<HWND> WindowsOf(const Program& program, const wchar_t* title = nullptr, HWND under = nullptr) {
    WindowSearch search{program.Id(), title, {}};
    if (under)
        EnumChildWindows(under, CollectWindow, reinterpret_cast<LPARAM>(&search));
    else
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits for the process's first window of the title (any title when none
// is given); null when none came.
HWND WaitForWindowOf(const Program& program, const wchar_t* title = nullptr) {
    HWND found = nullptr;
    WaitFor([&] {
        std::vector<HWND> windows = WindowsOf(program, title);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
    });
    return found;
}

BOOL CALLBACK FindRefusalText(HWND window, LPARAM found) {
    if (win::Window(window).Text().find("同名程序已启动，请先关闭旧程序!") != std::string::npos) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

TEST(ProgramTest, ASecondCopyIsRefusedAndTheFirstGoesOn) {
    Program first;
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(WaitFor([&] { return WindowsOf(first, kTitle.c_str()).size() == 1; }));

    Program second;
    ASSERT_TRUE(second.Started());
    HWND refusal = WaitForWindowOf(second);
    ASSERT_TRUE(refusal);
    // A message box captioned with the program's name (as the Start menu
    // shows it), and nothing else.
    EXPECT_EQ(win::Window(refusal).Text(), PROGRAM_NAME);
    bool saysIt = false;
    EnumChildWindows(refusal, FindRefusalText, reinterpret_cast<LPARAM>(&saysIt));
    EXPECT_TRUE(saysIt);
    EXPECT_EQ(WindowsOf(second).size(), 1u);
    EXPECT_TRUE(WindowsOf(second, kTitle.c_str()).empty());

    PostMessageW(refusal, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(second.WaitForExit(10000));
    EXPECT_TRUE(first.IsRunning());
    EXPECT_EQ(WindowsOf(first, kTitle.c_str()).size(), 1u);
}

TEST(ProgramTest, TheCalendarComesBackAfterTheShellRestarts) {
    auto shell = std::make_unique<testing::ShellStandIns>();
    Program program;
    ASSERT_TRUE(program.Started());
    HWND calendar = WaitForWindowOf(program, kTitle.c_str());
    ASSERT_TRUE(calendar);
    // The second tick embeds it in the desktop view.
    ASSERT_TRUE(WaitFor([&] { return ParentOf(calendar) == shell->View(); }));

    // The user goes to the next month.
    PostMessageW(GetDlgItem(calendar, IDC_NEXT_MONTH), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    PumpFor(500);
    const LRESULT month = SendMessageW(GetDlgItem(calendar, IDC_MONTH_SELECTOR), CB_GETCURSEL, 0, 0);
    const LRESULT year = SendMessageW(GetDlgItem(calendar, IDC_YEAR_SELECTOR), CB_GETCURSEL, 0, 0);

    // The shell ends: its windows go, and the calendar with them.
    shell.reset();
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(calendar); }));
    PumpFor(1500);
    EXPECT_TRUE(program.IsRunning());
    EXPECT_TRUE(WindowsOf(program, kTitle.c_str()).empty());

    // The shell comes back and says so.
    shell = std::make_unique<testing::ShellStandIns>();
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    HWND again = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        std::vector<HWND> windows = WindowsOf(program, kTitle.c_str());
        if (windows.empty()) windows = WindowsOf(program, kTitle.c_str(), shell->View());
        again = windows.empty() ? nullptr : windows.front();
        return again != nullptr;
    }));
    ASSERT_TRUE(WaitFor([&] { return ParentOf(again) == shell->View(); }));
    // On the same page.
    EXPECT_EQ(SendMessageW(GetDlgItem(again, IDC_MONTH_SELECTOR), CB_GETCURSEL, 0, 0), month);
    EXPECT_EQ(SendMessageW(GetDlgItem(again, IDC_YEAR_SELECTOR), CB_GETCURSEL, 0, 0), year);
}

std::wstring DocumentsFolder() {
    wchar_t path[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, TRUE);
    return path;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void WriteFileOf(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "x", 1, &written, nullptr);
    CloseHandle(file);
}

// A file where a folder of the notes belongs: the program names it. Without
// its notes folder it ends; without "日历" it comes up whole. Nothing is made
// in the documents folder or the folder it was started in.
struct OddFolder {
    const char* name;
    const wchar_t* file;  // under the documents folder
    bool runs;
};

class OddFolderTest : public ::testing::TestWithParam<OddFolder> {};

TEST_P(OddFolderTest, IsNamedAndNoNoteGoesElsewhere) {
    const OddFolder& odd = GetParam();
    const std::wstring documents = DocumentsFolder();
    wchar_t started[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, started);
    // The notes folder as the earlier starts left it goes first.
    std::filesystem::remove_all(std::filesystem::path(documents + L"\\我的记事"));
    if (std::wstring(odd.file) != L"我的记事") CreateDirectoryW((documents + L"\\我的记事").c_str(), nullptr);
    WriteFileOf(documents + L"\\" + odd.file);
    ASSERT_TRUE(Exists(documents + L"\\" + odd.file));

    Program program;
    ASSERT_TRUE(program.Started());
    HWND box = WaitForWindowOf(program, text::Wide(PROGRAM_NAME).c_str());
    ASSERT_TRUE(box);
    const std::string said = testing::DialogText(box);
    EXPECT_NE(said.find(text::Narrow(documents + L"\\" + odd.file)), std::string::npos) << said;
    EXPECT_NE(said.find("这是一个文件"), std::string::npos) << said;
    // A start that ends leaves nothing half made behind the message; one
    // that goes on tells of the folder from the whole window.
    EXPECT_EQ(WindowsOf(program, kTitle.c_str()).size(), odd.runs ? 1u : 0u);

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    if (odd.runs) {
        EXPECT_TRUE(WaitFor([&] { return WindowsOf(program, kTitle.c_str()).size() == 1; }));
        EXPECT_TRUE(Exists(documents + L"\\我的记事\\备忘"));
    } else {
        EXPECT_TRUE(program.WaitForExit(10000));
        EXPECT_TRUE(WindowsOf(program, kTitle.c_str()).empty());
    }
    for (const std::wstring& outside : {documents, std::wstring(started)}) {
        EXPECT_FALSE(Exists(outside + L"\\日历")) << text::Narrow(outside);
        EXPECT_FALSE(Exists(outside + L"\\备忘")) << text::Narrow(outside);
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, OddFolderTest,
                         ::testing::Values(OddFolder{"NotesFolder", L"我的记事", false},
                                           OddFolder{"CalendarFolder", L"我的记事\\日历", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace almanac

// The first argument is almanac.exe's path; a Linux path is given through
// Wine's drive Z:.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: program_tests PATH-OF-ALMANAC.EXE\n");
        return 2;
    }
    std::string path = argv[1];
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            if (c == '/') c = '\\';
        path = "Z:" + path;
    }
    almanac::programPath = std::wstring(path.begin(), path.end());
    return RUN_ALL_TESTS();
}

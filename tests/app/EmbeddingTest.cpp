#include "app/DesktopEmbedding.h"
#include "tests/app/ShellStandIns.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace almanac {
namespace {

using testing::StandIn;

// Builds the shell's windows of one arrangement; the last made is the
// topmost, so EnumWindows meets it first. Returns the view the calendar
// should land in, or null.
using Arrangement = std::function<HWND(std::vector<std::unique_ptr<StandIn>>&)>;

HWND Add(std::vector<std::unique_ptr<StandIn>>& windows, const wchar_t* className, HWND parent, bool visible = true) {
    windows.push_back(std::make_unique<StandIn>(className, parent, visible));
    return windows.back()->Get();
}

// A desktop window of the class with a view and an icon list.
HWND Desktop(std::vector<std::unique_ptr<StandIn>>& windows, const wchar_t* className, bool visible = true) {
    HWND desktop = Add(windows, className, nullptr, visible);
    HWND view = Add(windows, L"SHELLDLL_DefView", desktop);
    Add(windows, L"SysListView32", view);
    return view;
}

struct EmbeddingCase {
    const char* name;
    Arrangement arrange;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const EmbeddingCase& c, std::ostream* out) { *out << c.name; }

class EmbeddingTest : public ::testing::TestWithParam<EmbeddingCase> {};

TEST_P(EmbeddingTest, TheCalendarLandsInTheDesktopView) {
    std::vector<std::unique_ptr<StandIn>> shell;
    HWND expected = GetParam().arrange(shell);
    StandIn calendar(L"AlmanacStandInCalendar", nullptr);
    EXPECT_EQ(EmbedInDesktop(calendar.Get()), expected != nullptr);
    EXPECT_EQ(ParentOf(calendar.Get()), expected);
    EXPECT_EQ(FindDesktopView(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Arrangements, EmbeddingTest,
    ::testing::Values(
        EmbeddingCase{"UnderProgman", [](auto& w) { return Desktop(w, L"Progman"); }},
        EmbeddingCase{"UnderWorkerW", [](auto& w) { return Desktop(w, L"WorkerW"); }},
        EmbeddingCase{"ClassNameInOtherCase", [](auto& w) { return Desktop(w, L"PROGMAN"); }},
        EmbeddingCase{"HiddenCandidatePassedOver", [](auto& w) {
            Desktop(w, L"Progman", false);
            return HWND(nullptr);
        }},
        EmbeddingCase{"MinimisedCandidatePassedOver", [](auto& w) {
            HWND view = Desktop(w, L"WorkerW");
            ShowWindow(GetParent(view), SW_MINIMIZE);
            return HWND(nullptr);
        }},
        EmbeddingCase{"WorkerWithoutViewPassedOver", [](auto& w) {
            HWND view = Desktop(w, L"Progman");
            Add(w, L"WorkerW", nullptr);  // topmost, met first
            return view;
        }},
        EmbeddingCase{"ViewWithoutIconsPassedOver", [](auto& w) {
            HWND view = Desktop(w, L"Progman");
            HWND worker = Add(w, L"WorkerW", nullptr);
            Add(w, L"SHELLDLL_DefView", worker);
            return view;
        }},
        EmbeddingCase{"OtherClassPassedOver", [](auto& w) {
            Desktop(w, L"CabinetWClass");
            return HWND(nullptr);
        }},
        // Windows 11 24H2: the view sits directly under Progman, beside a WorkerW.
        EmbeddingCase{"Windows11Arrangement", [](auto& w) {
            HWND progman = Add(w, L"Progman", nullptr);
            HWND view = Add(w, L"SHELLDLL_DefView", progman);
            Add(w, L"SysListView32", view);
            Add(w, L"WorkerW", progman);
            return view;
        }}),
    [](const auto& info) { return std::string(info.param.name); });

int taskbarHeard = 0;

LRESULT CALLBACK TaskbarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY && wParam == 501 && lParam == 0) ++taskbarHeard;
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(TaskbarTest, TheTaskbarHearsOnce) {
    NotifyTaskbar();  // no taskbar: nothing
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = TaskbarProcedure;
    windowClass.hInstance = win::Instance();
    windowClass.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&windowClass);
    HWND taskbar = CreateWindowExW(0, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   win::Instance(), nullptr);
    NotifyTaskbar();
    EXPECT_EQ(taskbarHeard, 1);
    DestroyWindow(taskbar);
}

}  // namespace
}  // namespace almanac

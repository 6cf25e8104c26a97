#include "app/AlmanacApp.h"
#include "app/DesktopEmbedding.h"
#include "app/StartupFailure.h"
#include "resources/resource.h"
#include "tests/app/AppFixture.h"
#include "tests/app/ShellStandIns.h"
#include "tests/display/TestWindows.h"
#include "testkit/LoopbackServer.h"

#include "tests/app/AllocationCounter.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <stdexcept>
#include <thread>

namespace almanac {
namespace {

using testing::Date;
using testing::NoteFileBytes;
using testing::kRunKey;
using testing::kSettingsKey;
using testing::RegistryText;
using testing::Script;
using testing::ScratchFolder;
using testing::SetRegistryText;

class MainWindowTest : public testing::AppFixture {
protected:
    // What a click on a label does: the label posts its id to the window.
    static void Click(MainWindow* window, int labelId) {
        PostMessageW(GetDlgItem(window->Handle(), labelId), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    }
    // What choosing from a selector's list does.
    static void Choose(MainWindow* window, int selectorId, int index) {
        HWND selector = GetDlgItem(window->Handle(), selectorId);
        SendMessageW(selector, CB_SETCURSEL, WPARAM(index), 0);
        PostMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(selectorId, CBN_SELCHANGE), LPARAM(selector));
    }
    static int Selected(MainWindow* window, int selectorId) {
        return int(SendMessageW(GetDlgItem(window->Handle(), selectorId), CB_GETCURSEL, 0, 0));
    }
    static bool Shows(MainWindow* window, int year, int month) {
        const MonthPage& page = window->Grid().Page();
        return page.shownYear == year && page.shownMonth == month;
    }
    static bool ReturnButtonVisible(MainWindow* window) {
        return IsWindowVisible(GetDlgItem(window->Handle(), IDC_BACK_TO_TODAY));
    }
    // The tick as the one-second timer delivers it, with the real timer
    // stopped so that the test alone says when a second has passed.
    static void Tick(MainWindow* window, int count = 1) {
        KillTimer(window->Handle(), 1);
        for (int i = 0; i < count; ++i) SendMessageW(window->Handle(), WM_TIMER, 1, 0);
    }
    // The work area of the one screen the tests have.
    static RECT WorkArea() {
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        return work;
    }
    // A window meant for (x, y), pulled in from the work area's edges.
    static POINT ExpectedPlace(long long x, long long y, int width = MainWindow::WIDTH, int height = MainWindow::HEIGHT) {
        RECT work = WorkArea();
        x = std::max<long long>(std::min<long long>(x, work.right - width), work.left);
        y = std::max<long long>(std::min<long long>(y, work.bottom - height), work.top);
        return {LONG(x), LONG(y)};
    }
    static void ExpectWhollyOnTheWorkArea(const RECT& rect) {
        RECT work = WorkArea();
        EXPECT_GE(rect.left, work.left);
        EXPECT_GE(rect.top, work.top);
        EXPECT_LE(rect.right, work.right);
        EXPECT_LE(rect.bottom, work.bottom);
    }
    // The calendar's last page is December of the year selector's last year.
    static int LastYear(MainWindow* window) {
        return 1900 + int(SendMessageW(GetDlgItem(window->Handle(), IDC_YEAR_SELECTOR), CB_GETCOUNT, 0, 0)) - 1;
    }

    MainWindow* window = nullptr;
};

TEST_F(MainWindowTest, TheFirstStartOnAFreshAccount) {
    Script script;
    script.Do("check the start", [&] {
        RECT rect = window->WindowRect();
        POINT expected = ExpectedPlace(500, 300);
        EXPECT_EQ(rect.left, expected.x);
        EXPECT_EQ(rect.top, expected.y);
        EXPECT_EQ(rect.right - rect.left, 363);
        EXPECT_EQ(rect.bottom - rect.top, 280);
        EXPECT_EQ(window->Text(), "vo2.25");
        EXPECT_TRUE(GetWindowLongW(window->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

        EXPECT_EQ(RegistryText(kSettingsKey, L"MemoShow"), L"0");
        EXPECT_FALSE(RegistryText(kSettingsKey, L"PosX"));
        EXPECT_EQ(RegistryText(kRunKey, L"Kelvadar"), text::Wide(ExecutablePath()));
        EXPECT_EQ(text::Narrow(std::filesystem::current_path().wstring()), scratch.Path());  // left alone
        EXPECT_TRUE(ScratchFolder::Exists(InNotes("日历")));
        EXPECT_TRUE(ScratchFolder::Exists(InNotes("备忘")));

        EXPECT_FALSE(window->Memo().IsVisible());
        EXPECT_TRUE(window->Tab().IsVisible());
        EXPECT_TRUE(Shows(window, 2024, 2));
        EXPECT_EQ(window->Grid().Page().markedDay, 10);
        EXPECT_FALSE(ReturnButtonVisible(window));
        EXPECT_EQ(Selected(window, IDC_YEAR_SELECTOR), 2024 - 1900);
        EXPECT_EQ(Selected(window, IDC_MONTH_SELECTOR), 1);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(window->Handle(), IDC_REMOTE_LINK)));
    });
    script.Do("move it", [&] { window->Move(40, 50, 363, 280); });
    script.Do("check what the move saved", [&] {
        EXPECT_EQ(RegistryText(kSettingsKey, L"PosX"), L"40");
        EXPECT_EQ(RegistryText(kSettingsKey, L"PosY"), L"50");
        RECT main = window->WindowRect(), tab = window->Tab().WindowRect();
        EXPECT_EQ(tab.left, main.right + 10);
        EXPECT_EQ(tab.bottom, main.bottom);
        EXPECT_EQ(tab.right - tab.left, 26);
        EXPECT_EQ(tab.bottom - tab.top, 18);
    });
    Run(script, window);
}

struct StoredPlace {
    const char* name;
    const wchar_t* posX;  // null: not stored
    const wchar_t* posY;
    long long x, y;       // before the pull from the work area's edges
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const StoredPlace& place, std::ostream* out) { *out << place.name; }

class StoredPlaceTest : public MainWindowTest, public ::testing::WithParamInterface<StoredPlace> {};

TEST_P(StoredPlaceTest, TheWindowStartsWhereTheSettingsSay) {
    const StoredPlace& place = GetParam();
    if (place.posX) SetRegistryText(kSettingsKey, L"PosX", place.posX);
    if (place.posY) SetRegistryText(kSettingsKey, L"PosY", place.posY);
    Script script;
    script.Do("check the place", [&] {
        RECT rect = window->WindowRect();
        POINT expected = ExpectedPlace(place.x, place.y);
        EXPECT_EQ(rect.left, expected.x);
        EXPECT_EQ(rect.top, expected.y);
        EXPECT_EQ(rect.right - rect.left, MainWindow::WIDTH);
        EXPECT_EQ(rect.bottom - rect.top, MainWindow::HEIGHT);
        ExpectWhollyOnTheWorkArea(rect);
        // Starting is no move of the user's: the settings stay as they were.
        EXPECT_EQ(RegistryText(kSettingsKey, L"PosX"), place.posX ? std::optional<std::wstring>(place.posX) : std::nullopt);
    });
    Run(script, window);
}

const std::wstring kTooLong(255, L'7');

INSTANTIATE_TEST_SUITE_P(
    Settings, StoredPlaceTest,
    ::testing::Values(StoredPlace{"Both", L"120", L"80", 120, 80}, StoredPlace{"NegativeX", L"-20", L"80", 0, 80},
                      StoredPlace{"NegativeY", L"120", L"-5", 120, 0}, StoredPlace{"Letters", L"abc", L"80", 0, 80},
                      StoredPlace{"NoY", L"120", nullptr, 120, 300}, StoredPlace{"OnlyY", nullptr, L"80", 500, 300},
                      StoredPlace{"TooLong", kTooLong.c_str(), L"80", 500, 300},
                      StoredPlace{"OffTheScreen", L"5000", L"5000", 5000, 5000},
                      // Once x + 363 overflowed and left the window at (32767, 32767).
                      StoredPlace{"Largest", L"2147483647", L"2147483647", 2147483647, 2147483647},
                      StoredPlace{"Overflowing", L"99999999999", L"-99999999999", 2147483647, 0},
                      StoredPlace{"Smallest", L"-2147483648", L"-2147483648", 0, 0},
                      StoredPlace{"GoneMonitorRight", L"3000", L"100", 3000, 100},
                      StoredPlace{"GoneMonitorBelow", L"100", L"3000", 100, 3000}),
    [](const auto& info) { return std::string(info.param.name); });

class StoredMemoPlaceTest : public MainWindowTest, public ::testing::WithParamInterface<StoredPlace> {};

TEST_P(StoredMemoPlaceTest, ThePadStartsWhollyOnTheWorkArea) {
    const StoredPlace& place = GetParam();
    SetRegistryText(kSettingsKey, L"MemoShow", L"1");
    SetRegistryText(kSettingsKey, L"MemoX", place.posX);
    SetRegistryText(kSettingsKey, L"MemoY", place.posY);
    Script script;
    script.Do("check the pad", [&] {
        EXPECT_TRUE(window->Memo().IsVisible());
        RECT pad = window->Memo().WindowRect(), size = window->Memo().ClientRect();
        POINT expected = ExpectedPlace(place.x, place.y, size.right, size.bottom);
        EXPECT_EQ(pad.left, expected.x);
        EXPECT_EQ(pad.top, expected.y);
        ExpectWhollyOnTheWorkArea(pad);
    });
    Run(script, window);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StoredMemoPlaceTest,
    ::testing::Values(StoredPlace{"AsStored", L"120", L"80", 120, 80},
                      StoredPlace{"Largest", L"2147483647", L"2147483647", 2147483647, 2147483647},
                      StoredPlace{"Smallest", L"-2147483648", L"-2147483648", -2147483648LL, -2147483648LL},
                      StoredPlace{"Overflowing", L"99999999999", L"5", 2147483647, 5},
                      StoredPlace{"GoneMonitorLeft", L"-3000", L"80", -3000, 80},
                      StoredPlace{"GoneMonitorAbove", L"80", L"-3000", 80, -3000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, MemoShowDecidesBetweenPadAndTab) {
    for (auto [stored, shown] : {std::pair{L"01", true}, {L"1", true}, {L"2", false}, {L"x", false}}) {
        SetRegistryText(kSettingsKey, L"MemoShow", stored);
        Script script;
        script.Do("check the pad", [&] {
            EXPECT_EQ(window->Memo().IsVisible(), shown) << text::Narrow(stored);
            EXPECT_EQ(window->Tab().IsVisible(), !shown) << text::Narrow(stored);
            EXPECT_EQ(RegistryText(kSettingsKey, L"MemoShow"), shown ? L"1" : L"0");
        });
        Run(script, window);
    }
}

TEST_F(MainWindowTest, MemoTabAndPadButtonsShowAndHide) {
    Script script;
    script.Do("click 本", [&] { PostMessageW(window->Tab().Item(IDC_SHOW_MEMO), BM_CLICK, 0, 0); });
    script.Then("the pad shows", [&] { return window->Memo().IsVisible(); });
    script.Do("check", [&] {
        EXPECT_FALSE(window->Tab().IsVisible());
        EXPECT_EQ(RegistryText(kSettingsKey, L"MemoShow"), L"1");
    });
    script.Do("click -", [&] { PostMessageW(window->Memo().Item(IDC_HIDE_MEMO), BM_CLICK, 0, 0); });
    script.Then("the tab shows", [&] { return window->Tab().IsVisible(); });
    script.Do("check", [&] {
        EXPECT_FALSE(window->Memo().IsVisible());
        EXPECT_EQ(RegistryText(kSettingsKey, L"MemoShow"), L"0");
    });
    Run(script, window);
}

TEST_F(MainWindowTest, BrowsingStopsAtTheEndsOfTheRange) {
    Script script;
    // Choosing 1900 while January is selected switches to February.
    script.Do("choose January", [&] { Choose(window, IDC_MONTH_SELECTOR, 0); });
    script.Then("January 2024", [&] { return Shows(window, 2024, 1); });
    script.Do("choose 1900", [&] { Choose(window, IDC_YEAR_SELECTOR, 0); });
    script.Then("February 1900", [&] { return Shows(window, 1900, 2); });
    script.Do("check", [&] {
        EXPECT_EQ(Selected(window, IDC_MONTH_SELECTOR), 1);
        EXPECT_TRUE(ReturnButtonVisible(window));
    });
    script.Do("previous month", [&] { Click(window, IDC_PREVIOUS_MONTH); });
    script.Then("still February 1900", [&] { return Shows(window, 1900, 2); });
    script.Do("choose January again", [&] { Choose(window, IDC_MONTH_SELECTOR, 0); });
    script.Then("February 1900 again", [&] { return Shows(window, 1900, 2) && Selected(window, IDC_MONTH_SELECTOR) == 1; });

    script.Do("choose 2100", [&] { Choose(window, IDC_YEAR_SELECTOR, 2100 - 1900); });
    script.Do("choose December", [&] { Choose(window, IDC_MONTH_SELECTOR, 11); });
    script.Then("December 2100", [&] { return Shows(window, 2100, 12); });
    script.Do("check the last year", [&] {
        EXPECT_EQ(SendMessageW(GetDlgItem(window->Handle(), IDC_YEAR_SELECTOR), CB_GETCOUNT, 0, 0), 2100 - 1900 + 1);
    });
    script.Do("next month", [&] { Click(window, IDC_NEXT_MONTH); });
    script.Then("still December 2100", [&] { return Shows(window, 2100, 12); });
    script.Do("previous month", [&] { Click(window, IDC_PREVIOUS_MONTH); });
    script.Then("November 2100", [&] {
        return Shows(window, 2100, 11) && Selected(window, IDC_MONTH_SELECTOR) == 10 &&
               Selected(window, IDC_YEAR_SELECTOR) == 2100 - 1900;
    });

    script.Do("back to today", [&] { Click(window, IDC_BACK_TO_TODAY); });
    script.Then("February 2024", [&] { return Shows(window, 2024, 2); });
    script.Do("check", [&] { EXPECT_FALSE(ReturnButtonVisible(window)); });
    script.Do("next month", [&] { Click(window, IDC_NEXT_MONTH); });
    script.Then("March 2024", [&] { return Shows(window, 2024, 3) && ReturnButtonVisible(window); });
    script.Do("previous month", [&] { Click(window, IDC_PREVIOUS_MONTH); });
    script.Then("February 2024, today's", [&] { return Shows(window, 2024, 2) && !ReturnButtonVisible(window); });
    Run(script, window);
}

TEST_F(MainWindowTest, ANewDayBringsTodaysMonthBack) {
    today = Date(2024, 2, 29);
    Script script;
    script.Do("browse away", [&] { Choose(window, IDC_YEAR_SELECTOR, 2020 - 1900); });
    script.Then("February 2020", [&] { return Shows(window, 2020, 2); });
    script.Do("a tick the same day", [&] { Tick(window); });
    script.Do("check", [&] { EXPECT_TRUE(Shows(window, 2020, 2)); });
    script.Do("midnight", [&] {
        today = Date(2024, 3, 1);
        Tick(window);
    });
    script.Do("check", [&] {
        EXPECT_TRUE(Shows(window, 2024, 3));
        EXPECT_EQ(window->Grid().Page().markedDay, 1);
        EXPECT_EQ(Selected(window, IDC_MONTH_SELECTOR), 2);
        EXPECT_FALSE(ReturnButtonVisible(window));
    });
    Run(script, window);
}

TEST_F(MainWindowTest, EnterAndEscDoNotCloseIt) {
    Script script;
    script.Do("press Enter and Esc", [&] {
        PostMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        PostMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        PostMessageW(window->Memo().Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    int beats = 0;
    script.Then("a while later", [&] { return ++beats > 5; });
    script.Do("check", [&] { EXPECT_TRUE(window->Exists()); });
    Run(script, window);
    EXPECT_FALSE(session.shownYear == 0);
}

struct PromptCase {
    const char* name;
    std::function<void(HWND prompt)> answer;
    bool ends;
    bool autostartKept;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const PromptCase& c, std::ostream* out) { *out << c.name; }

class ExitPromptTest : public MainWindowTest, public ::testing::WithParamInterface<PromptCase> {};

TEST_P(ExitPromptTest, TheCloseButtonAsks) {
    const PromptCase& c = GetParam();
    HWND prompt = nullptr;
    Script script;
    script.Do("click ×", [&] { Click(window, IDC_CLOSE); });
    script.Then("the prompt opens", [&] { return (prompt = testing::FindDialog(L"提示")) != nullptr; });
    script.Do("check it", [&] {
        EXPECT_FALSE(IsWindowEnabled(window->Handle()));  // modal
        EXPECT_EQ(win::Window(GetDlgItem(prompt, IDC_END_PROGRAM)).Text(), "结束程序");
        EXPECT_EQ(win::Window(GetDlgItem(prompt, IDC_UNINSTALL)).Text(), "卸载");
    });
    script.Do("answer", [&] { c.answer(prompt); });
    if (!c.ends) {
        // The calendar goes on, enabled again.
        script.Then("the prompt closes", [&] { return !IsWindow(prompt); });
        script.Do("check", [&] { EXPECT_TRUE(IsWindowEnabled(window->Handle())); });
    }
    Run(script, window, [&](const MainWindow& main) { EXPECT_EQ(main.EndedByExitPrompt(), c.ends); });
    EXPECT_EQ(RegistryText(kRunKey, L"Kelvadar").has_value(), c.autostartKept);
    EXPECT_TRUE(RegistryText(kSettingsKey, L"MemoShow"));  // settings are left alone
    EXPECT_TRUE(ScratchFolder::Exists(InNotes("日历")));           // and so are the notes
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ExitPromptTest,
    ::testing::Values(
        PromptCase{"EndProgram", [](HWND p) { PostMessageW(GetDlgItem(p, IDC_END_PROGRAM), BM_CLICK, 0, 0); }, true, true},
        PromptCase{"Uninstall", [](HWND p) { PostMessageW(GetDlgItem(p, IDC_UNINSTALL), BM_CLICK, 0, 0); }, true, false},
        PromptCase{"Esc", [](HWND p) { PostMessageW(p, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }, false, true},
        PromptCase{"Enter", [](HWND p) { PostMessageW(p, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }, false, true},
        PromptCase{"CloseBox", [](HWND p) { PostMessageW(p, WM_SYSCOMMAND, SC_CLOSE, 0); }, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, TheTickScheduleOnceALinkHasCome) {
    testing::ShellStandIns shell;
    testing::LoopbackServer server({testing::Send(testing::HttpAnswer("*http://a.example/\t今日链接\r\n"))});
    environment.linkServer.port = server.Port();
    Script script;
    script.Do("tick 1", [&] {
        Tick(window);
        EXPECT_EQ(ParentOf(window->Handle()), nullptr);
    });
    script.Do("tick 2: embedded", [&] {
        Tick(window);
        EXPECT_EQ(ParentOf(window->Handle()), shell.View());
        EXPECT_TRUE(server.Requests().empty());
    });
    script.Do("tick 3: the first fetch", [&] { Tick(window); });
    script.Then("the link arrives", [&] { return !window->LinkCaption().empty(); });
    script.Do("check", [&] {
        EXPECT_EQ(server.Requests().size(), 1u);
        EXPECT_EQ(window->LinkTarget(), "http://a.example/");
        EXPECT_EQ(window->LinkCaption(), "今日链接\r\n");
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(window->Handle(), IDC_REMOTE_LINK)));
        Tick(window, 3599);  // counters 1 … 3599: no fetch with a caption known
    });
    int beats = 0;
    script.Then("a while later", [&] { return ++beats > 10; });
    script.Do("only one fetch; then the hour", [&] {
        EXPECT_EQ(server.Requests().size(), 1u);
        Tick(window);  // counter 3600
    });
    script.Then("the second fetch", [&] { return server.Requests().size() == 2; });
    Run(script, window);
}

TEST_F(MainWindowTest, TheTickScheduleWhileNoLinkHasCome) {
    testing::LoopbackServer server({testing::Send(testing::HttpAnswer("no link here"))});
    environment.linkServer.port = server.Port();
    Script script;
    script.Do("ticks 1 to 3", [&] { Tick(window, 3); });
    script.Then("the first fetch", [&] { return server.Requests().size() == 1; });
    // One fetch at a time: a tick while one is under way starts none.
    script.Then("the first fetch is over", [&] { return !window->IsFetchingLink(); });
    script.Do("ticks to counter 59", [&] { Tick(window, 59); });
    int beats = 0;
    script.Then("a while later", [&] { return ++beats > 10; });
    script.Do("check, then counter 60", [&] {
        EXPECT_EQ(server.Requests().size(), 1u);
        Tick(window);
    });
    script.Then("the second fetch", [&] { return server.Requests().size() == 2; });
    script.Then("the second fetch is over", [&] { return !window->IsFetchingLink(); });
    script.Do("counters 61 … 120", [&] { Tick(window, 60); });
    script.Then("the third fetch", [&] { return server.Requests().size() == 3; });
    script.Do("check", [&] {
        EXPECT_TRUE(window->LinkCaption().empty());
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(window->Handle(), IDC_REMOTE_LINK)));
    });
    Run(script, window);
}

TEST_F(MainWindowTest, TheWindowAnswersWhileTheLinkServerStalls) {
    testing::LoopbackServer server({testing::Stall()});
    environment.linkServer.port = server.Port();
    std::atomic<int> answered{0};
    std::atomic<bool> measured{false};
    std::thread user;
    Script script;
    // The tick that asks returns with the fetch under way: it does not wait
    // for a server that says nothing until it is released.
    script.Do("ticks to the first fetch", [&] {
        Tick(window, 3);
        EXPECT_TRUE(window->IsFetchingLink());
    });
    script.Then("the server holds the request", [&] { return server.Requests().size() == 1; });
    script.Do("messages from another thread", [&] {
        HWND target = window->Handle();
        user = std::thread([&, target] {
            for (int i = 0; i < 20; ++i) {
                DWORD_PTR result;
                if (SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &result)) ++answered;
            }
            measured = true;
        });
    });
    script.Then("all answered", [&] { return measured.load(); });
    script.Do("check", [&] {
        user.join();
        EXPECT_EQ(answered, 20);
        EXPECT_TRUE(window->IsFetchingLink());  // all while the server still held the request
        EXPECT_TRUE(window->LinkCaption().empty());
        server.Release();
    });
    Run(script, window);
    if (user.joinable()) user.join();
}

TEST_F(MainWindowTest, AnIdleTickAllocatesNothing) {
    Script script;
    script.Do("tick past the first fetch", [&] { Tick(window, 3); });
    script.Do("idle ticks", [&] {
        long before = testing::Allocations();
        Tick(window, 50);  // counters 1 … 50: no fetch due, the same day
        EXPECT_EQ(testing::Allocations() - before, 0);
    });
    Run(script, window);
}

// A clock outside the calendar's range shows the nearest page, marks no day
// of it as today, and offers the way back (which leads to the same page).
struct OutOfRangeClock {
    const char* name;
    SYSTEMTIME today;
    bool pastTheEnd;  // else before the start
};

class OutOfRangeClockTest : public MainWindowTest, public ::testing::WithParamInterface<OutOfRangeClock> {};

TEST_P(OutOfRangeClockTest, ShowsTheNearestPage) {
    const OutOfRangeClock& clock = GetParam();
    today = clock.today;
    Script script;
    auto check = [&](const char* when) {
        const int year = clock.pastTheEnd ? LastYear(window) : 1900, month = clock.pastTheEnd ? 12 : 2;
        const MonthPage& page = window->Grid().Page();
        EXPECT_TRUE(Shows(window, year, month)) << when << ": " << page.shownYear << '-' << page.shownMonth;
        EXPECT_EQ(Selected(window, IDC_YEAR_SELECTOR), year - 1900) << when;
        EXPECT_EQ(Selected(window, IDC_MONTH_SELECTOR), month - 1) << when;
        EXPECT_FALSE(page.ShowsMarkedMonth()) << when;  // no day of this page is today
        EXPECT_EQ(page.markedYear, clock.today.wYear) << when;
        EXPECT_TRUE(ReturnButtonVisible(window)) << when;
        // Every day of the page is one the tables cover.
        for (int d = 1; d <= page.daysInMonth; ++d) EXPECT_GT(page.cells[d].lunar.year, 0) << when << ' ' << d;
    };
    script.Do("check the start", [&] { check("start"); });
    script.Do("back to today", [&] { Click(window, IDC_BACK_TO_TODAY); });
    int beats = 0;
    script.Then("a while later", [&] { return ++beats > 5; });
    script.Do("check again", [&] { check("back to today"); });
    Run(script, window);
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, OutOfRangeClockTest,
    ::testing::Values(OutOfRangeClock{"FarFuture", Date(2200, 3, 1), true},
                      OutOfRangeClock{"LastPossible", Date(30827, 12, 31), true},
                      OutOfRangeClock{"January1900", Date(1900, 1, 15), false},
                      OutOfRangeClock{"LongBefore", Date(1601, 1, 1), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, MidnightPastTheLastPageTakesTodaysRingAway) {
    Script script;
    int last = 0;
    script.Do("the last day of the last page", [&] {
        last = LastYear(window);
        today = Date(last, 12, 31);
        Tick(window);
    });
    script.Do("check", [&] {
        EXPECT_TRUE(Shows(window, last, 12));
        EXPECT_TRUE(window->Grid().Page().ShowsMarkedMonth());
        EXPECT_EQ(window->Grid().Page().markedDay, 31);
    });
    script.Do("midnight", [&] {
        today = Date(last + 1, 1, 1);
        Tick(window);
    });
    script.Do("check", [&] {
        EXPECT_TRUE(Shows(window, last, 12));
        EXPECT_FALSE(window->Grid().Page().ShowsMarkedMonth());
        EXPECT_EQ(window->Grid().Page().markedYear, last + 1);
        EXPECT_TRUE(ReturnButtonVisible(window));
    });
    Run(script, window);
}

BOOL CALLBACK CountVisible(HWND window, LPARAM counter) {
    if (IsWindowVisible(window)) ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

// The visible top-level windows of this thread.
int ThreadWindowCount() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountVisible, reinterpret_cast<LPARAM>(&count));
    return count;
}

// A start that cannot complete (today a file far too large threw in the
// middle of it) never leaves a half made window: the window goes and the
// exception comes out of the modal run.
TEST_F(MainWindowTest, AStartThatThrowsLeavesNoWindow) {
    const int before = ThreadWindowCount();
    {
        // A notes folder that cannot be entered ends the start, in words.
        ScratchFolder::WriteBytes("文档\\我的记事", "a file, not a folder");
        MainWindow main(environment, session);
        try {
            main.RunModal(nullptr);
            ADD_FAILURE() << "the start went on";
        } catch (const StartupFailure& failure) {
            EXPECT_NE(std::string(failure.what()).find(documents + "\\我的记事"), std::string::npos) << failure.what();
        }
        EXPECT_FALSE(main.Exists());
        EXPECT_EQ(ThreadWindowCount(), before);
        EXPECT_FALSE(ScratchFolder::Exists("日历"));
        EXPECT_FALSE(ScratchFolder::Exists("文档\\日历"));
    }
    {
        environment.documentsFolder = []() -> std::optional<std::string> { throw std::bad_alloc(); };
        MainWindow main(environment, session);
        EXPECT_THROW(main.RunModal(nullptr), std::bad_alloc);
        EXPECT_FALSE(main.Exists());
        EXPECT_EQ(ThreadWindowCount(), before);
    }
    {
        // Late in the start: after the memo pad, its tab, the buttons and the grid.
        ScratchFolder::MakeFolder("文档2");
        const std::string otherDocuments = text::Narrow(std::filesystem::current_path().wstring()) + "\\文档2";
        environment.documentsFolder = [otherDocuments] { return std::optional(otherDocuments); };
        environment.localTime = []() -> SYSTEMTIME { throw std::length_error("too long"); };
        MainWindow main(environment, session);
        EXPECT_THROW(main.RunModal(nullptr), std::length_error);
        EXPECT_FALSE(main.Exists());
        EXPECT_EQ(ThreadWindowCount(), before);
    }
}

TEST_F(MainWindowTest, ACalendarFolderThatIsAFileIsToldOf) {
    ScratchFolder::MakeFolder("文档\\我的记事");
    ScratchFolder::WriteBytes("文档\\我的记事\\日历", "a file, not a folder");
    std::string said;
    Script script;
    script.Then("the message", [&] { return !toldUser.empty(); });
    script.Do("read it", [&] { said = toldUser.front(); });
    script.Then("the calendar comes up whole", [&] { return window->Exists() && window->IsVisible(); });
    script.Do("check, and try to save a note", [&] {
        EXPECT_TRUE(Shows(window, 2024, 2));
        EXPECT_EQ(window->Text(), PROGRAM_TITLE);
        EXPECT_EQ(text::Narrow(std::filesystem::current_path().wstring()), scratch.Path());
        EXPECT_TRUE(ScratchFolder::Exists(InNotes("备忘")));
        MonthNotes::DayNoteResults saved =
            window->Grid().Notes().SaveDayNotes(15, MonthNotes::NoteEdit{"会议", 0}, std::nullopt, std::nullopt);
        EXPECT_NE(saved.oneOff, NOTE_OK);  // refused: it has no folder to go to
    });
    Run(script, window);
    EXPECT_EQ(toldUser.size(), 1u);
    EXPECT_NE(said.find(documents + "\\我的记事\\日历"), std::string::npos) << said;
    EXPECT_NE(said.find("这是一个文件"), std::string::npos) << said;
    // Nothing of the calendar's notes lands beside their folder.
    for (const std::string& folder : {documents, documents + "\\我的记事"}) {
        EXPECT_FALSE(ScratchFolder::Exists(folder + "\\202402")) << folder;
        EXPECT_FALSE(ScratchFolder::Exists(folder + "\\日历\\202402")) << folder;
    }
    EXPECT_FALSE(ScratchFolder::Exists(documents + "\\日历"));
}

// Whatever changes the process's current directory (a file dialog, a
// library), the notes go on to their own folder.
TEST_F(MainWindowTest, NotesStayInTheirFolderWhateverTheCurrentDirectoryBecomes) {
    ScratchFolder::MakeFolder("elsewhere");
    ScratchFolder::MakeFolder("elsewhere\\日历");
    ScratchFolder::MakeFolder("elsewhere\\备忘");
    const auto start = std::filesystem::current_path();
    Script script;
    script.Do("move the current directory, then save a note and the memo", [&] {
        std::filesystem::current_path(start / "elsewhere");
        MonthNotes::DayNoteResults saved =
            window->Grid().Notes().SaveDayNotes(15, MonthNotes::NoteEdit{"会议", 0}, std::nullopt, std::nullopt);
        EXPECT_TRUE(saved.AllSaved());
        window->ShowMemo();
        for (wchar_t c : std::wstring(L"备忘")) SendMessageW(window->Memo().Item(IDC_MEMO_TEXT), WM_CHAR, c, 0);
    });
    Run(script, window);
    std::filesystem::current_path(start);
    EXPECT_EQ(ScratchFolder::ReadBytes(InNotes("日历\\202402")), NoteFileBytes({{15, "会议"}}));
    EXPECT_EQ(ScratchFolder::ReadBytes(InNotes("备忘\\default")), "备忘");
    EXPECT_TRUE(ScratchFolder::List("elsewhere\\日历").empty());
    EXPECT_TRUE(ScratchFolder::List("elsewhere\\备忘").empty());
}

// The one test that runs the application object in this process: its
// single-instance event stays until the process ends.
TEST_F(MainWindowTest, TheApplicationSaysWhyItCannotStartAndEnds) {
    environment.localTime = []() -> SYSTEMTIME { throw std::bad_alloc(); };
    AlmanacApp app(environment);
    const std::wstring title = text::Wide(PROGRAM_NAME);  // as the Start menu names it
    HWND box = nullptr;
    std::string said;
    int windowsWhileTold = -1;
    Script script;
    script.Then("the message", [&] { return (box = testing::FindDialog(title.c_str())) != nullptr; });
    script.Do("read it and close it", [&] {
        said = testing::DialogText(box);
        windowsWhileTold = ThreadWindowCount();
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    script.Start([] {});
    EXPECT_EQ(app.Run(), 0);
    EXPECT_TRUE(script.Completed()) << script.Failure();
    EXPECT_NE(said.find("内存不足"), std::string::npos) << said;
    EXPECT_EQ(windowsWhileTold, 1);  // the message alone: no calendar behind it
    EXPECT_EQ(ThreadWindowCount(), 0);
}

}  // namespace
}  // namespace almanac

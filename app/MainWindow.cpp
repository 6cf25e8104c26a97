#include "app/MainWindow.h"

#include "app/DesktopEmbedding.h"
#include "app/ExitPrompt.h"
#include "app/Settings.h"
#include "dialogs/NoteEntryDialog.h"
#include "dialogs/WeeklyNoteDialog.h"
#include "engine/PageRange.h"
#include "links/LinkSettings.h"
#include "links/WebAddress.h"
#include "store/HolidayFile.h"
#include "resources/resource.h"

#include <shellapi.h>
#include <winsock2.h>

#include <algorithm>

namespace almanac {
namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMilliseconds = 1000;
constexpr int kTopStripHeight = 25;

constexpr COLORREF kLinkTextColour = RGB(0, 0, 208);

struct TopButton {
    LinkLabel MainWindow::*label;
    int id;
    RECT rect;
    const char* caption;
    bool shown;
};

}  // namespace

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

MainWindow::MainWindow(AppEnvironment environment, SessionState& session)
    : Dialog(IDD_MAIN),
      environment_(std::move(environment)),
      session_(session),
      icon_(LoadIconW(win::Instance(), MAKEINTRESOURCEW(IDI_ALMANAC))) {}

MainWindow::~MainWindow() = default;

// The order matters: the memo pad finds its default place from the window's
// final position, the grid shows today through the return button, and moves
// count only once everything stands.
BOOL MainWindow::OnInitDialog() {
    Dialog::OnInitDialog();
    yearSelector_ = Item(IDC_YEAR_SELECTOR);
    monthSelector_ = Item(IDC_MONTH_SELECTOR);
    StartSockets();
    PlaceWindow();
    SetText(TITLE);
    autostartRegistered_ = CheckAutostart();
    EnterNotesFolder(environment_.documentsFolder);

    memoTab_ = std::make_unique<MemoTab>(*this);
    memoTab_->CreateModeless(hwnd_);
    PlaceTabs();
    CreateMemo();
    if (ReadNumberSetting("MemoShow") == 1)
        ShowMemo();
    else
        HideMemo();

    CreateTopButtons();
    grid_ = std::make_unique<MonthView>(this);
    grid_->Create({0, 22, WIDTH, 22 + GRID_HEIGHT}, hwnd_, IDC_MONTH_GRID);
    grid_->SetHolidays(holidays_);
    LoadHolidays();
    FillSelectors();
    ShowToday();
    if (session_.shownYear) ApplyMonth(session_.shownYear, session_.shownMonth);

    remoteLink_.Create({2, 261, 280, 281}, hwnd_, IDC_REMOTE_LINK, GetSysColor(COLOR_BTNFACE), kLinkTextColour, 100,
                       "宋体");
    if (!session_.linkCaption.empty()) {
        linkTarget_ = session_.linkTarget;
        linkCaption_ = session_.linkCaption;
        remoteLink_.SetCaption(linkCaption_, true);
    }
    fetcher_ = std::make_unique<LinkFetcher>(environment_.linkServer);

    savingPosition_ = true;
    SetTimer(hwnd_, kTickTimer, kTickMilliseconds, nullptr);
    SetWindowLongW(hwnd_, GWL_EXSTYLE, GetWindowLongW(hwnd_, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    NotifyTaskbar();
    return TRUE;
}

void MainWindow::StartSockets() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) == 0) {
        socketsStarted_ = true;
        return;
    }
    WSACleanup();
    MessageBoxW(hwnd_, win::Wide("网络初始化失败，请报告管理员").c_str(), win::Wide("警告").c_str(), MB_OK);
}

// The stored place, or (500, 300); pulled in so that the grid stays on the
// screen (the test uses the grid's height, not the window's).
void MainWindow::PlaceWindow() {
    int x = 500, y = 300;
    if (std::optional<int> storedX = ReadNumberSetting("PosX")) {
        x = std::max(*storedX, 0);
        if (std::optional<int> storedY = ReadNumberSetting("PosY")) y = std::max(*storedY, 0);
    }
    const int screenWidth = GetSystemMetrics(SM_CXFULLSCREEN), screenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
    if (x + WIDTH > screenWidth) x = screenWidth - WIDTH;
    if (y + GRID_HEIGHT > screenHeight) y = screenHeight - GRID_HEIGHT;
    Move(x, y, WIDTH, HEIGHT, true);
}

void MainWindow::CreateMemo() {
    memoPad_ = std::make_unique<MemoPad>(*this);
    RECT window = WindowRect();
    memoPad_->defaultX = window.left;
    memoPad_->defaultY = window.bottom + 10;
    memoPad_->CreateModeless(hwnd_);
}

void MainWindow::CreateTopButtons() {
    static const TopButton buttons[] = {
        {&MainWindow::previousMonth_, IDC_PREVIOUS_MONTH, {190, 3, 220, 20}, "上月", true},
        {&MainWindow::nextMonth_, IDC_NEXT_MONTH, {231, 3, 261, 20}, "下月", true},
        {&MainWindow::backToToday_, IDC_BACK_TO_TODAY, {272, 3, 302, 20}, "返回", false},
        {&MainWindow::close_, IDC_CLOSE, {338, 3, 363, 20}, "×", true},
    };
    for (const TopButton& button : buttons) {
        LinkLabel& label = this->*button.label;
        label.Create(button.rect, hwnd_, button.id, TOP_COLOUR, TOP_TEXT_COLOUR, 100, "楷体_gb2312");
        label.SetCaption(button.caption, button.shown);
    }
}

void MainWindow::FillSelectors() {
    for (int month = 1; month <= 12; ++month)
        monthSelector_.Send(CB_ADDSTRING, 0, LPARAM(win::Wide(std::to_string(month) + "月").c_str()));
    for (int year = FIRST_PAGE.year; year <= LAST_PAGE.year; ++year)
        yearSelector_.Send(CB_ADDSTRING, 0, LPARAM(win::Wide(std::to_string(year) + "年").c_str()));
}

void MainWindow::ShowToday() {
    SYSTEMTIME now = environment_.localTime();
    todayDay_ = now.wDay;
    todayMonth_ = now.wMonth;
    todayYear_ = now.wYear;
    const MonthPage& page = grid_->Page();
    if (page.shownYear == todayYear_ && page.shownMonth == todayMonth_ && page.markedYear == todayYear_ &&
        page.markedMonth == todayMonth_ && page.markedDay == todayDay_)
        return;
    grid_->ShowMonth(todayYear_, todayMonth_, todayDay_);
    SelectMonth(todayYear_, todayMonth_);
}

// The file is only read. A problem is told once, and again only when it
// changes (the file was mended, or broke in another way).
void MainWindow::LoadHolidays() {
    HolidayFileReading reading = ReadHolidayFile(HOLIDAY_FILE_NAME);
    holidays_ = HolidayCalendar();
    if (reading.status == HolidayFileReading::Status::Read) holidays_.ReplaceYears(reading.text.days);
    std::string problem = HolidayFileProblem(reading, HOLIDAY_FILE_NAME);
    if (problem == holidayProblemTold_) return;
    holidayProblemTold_ = problem;
    if (!problem.empty())
        MessageBoxW(hwnd_, win::Wide(problem).c_str(), win::Wide(TITLE).c_str(), MB_OK | MB_ICONWARNING);
}

void MainWindow::ApplyMonth(int year, int month) {
    grid_->ShowMonth(year, month, 0);
    SelectMonth(year, month);
}

void MainWindow::SelectMonth(int year, int month) {
    yearSelector_.Send(CB_SETCURSEL, WPARAM(year - FIRST_PAGE.year));
    monthSelector_.Send(CB_SETCURSEL, WPARAM(month - 1));
}

void MainWindow::ShowMemo() {
    memoPad_->Show(SW_SHOW);
    memoTab_->Show(SW_HIDE);
    WriteSetting(SETTINGS_KEY, "MemoShow", "1");
}

void MainWindow::HideMemo() {
    memoPad_->Show(SW_HIDE);
    memoTab_->Show(SW_SHOW);
    WriteSetting(SETTINGS_KEY, "MemoShow", "0");
}

void MainWindow::PlaceTabs() {
    if (!memoTab_) return;
    RECT window = WindowRect();
    memoTab_->Move(window.right + 10, window.bottom - 18, 26, 18, true);
}

void MainWindow::ShowReturnButton(bool show) { backToToday_.Show(show ? SW_SHOW : SW_HIDE); }

void MainWindow::EditDayNotes(MonthView& view) {
    NoteEntryDialog dialog(view);
    dialog.RunModal(view.Handle());
}

void MainWindow::EditWeekdayNote(MonthView& view) {
    WeeklyNoteDialog dialog(view);
    dialog.RunModal(view.Handle());
}

void MainWindow::OpenSite() { OpenWebAddress(SITE_URL); }

bool MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr win::MessageEntry<MainWindow> table[] = {
        win::OnMessage(WM_PAINT, &MainWindow::OnPaint),
        win::OnMessage(WM_QUERYDRAGICON, &MainWindow::OnQueryDragIcon),
        win::OnCommand(IDC_YEAR_SELECTOR, CBN_SELCHANGE, &MainWindow::OnSelectorChanged),
        win::OnCommand(IDC_MONTH_SELECTOR, CBN_SELCHANGE, &MainWindow::OnSelectorChanged),
        win::OnMessage(WM_MOVE, &MainWindow::OnMove),
        win::OnMessage(WM_LBUTTONDOWN, &MainWindow::OnLeftButtonDown),
        win::OnMessage(WM_LINK_CLICKED, &MainWindow::OnLinkClicked),
        win::OnMessage(WM_TIMER, &MainWindow::OnTimer),
        win::OnMessage(WM_LINK_FETCHED, &MainWindow::OnLinkFetched),
        win::OnMessage(WM_DESTROY, &MainWindow::OnDestroy),
    };
    return win::Dispatch(*this, table, message, wParam, lParam, result);
}

LRESULT MainWindow::OnPaint(WPARAM, LPARAM) {
    win::PaintContext paint(hwnd_);
    win::FillSolid(paint.Get(), {0, 0, WIDTH, kTopStripHeight}, TOP_COLOUR);
    return 0;
}

LRESULT MainWindow::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(icon_); }

// Only a choice from the lists changes the month; a month of the first year
// before the first page (January 1900) becomes the first page.
LRESULT MainWindow::OnSelectorChanged(WPARAM, LPARAM) {
    if (yearSelector_.Send(CB_GETCURSEL) == 0 && monthSelector_.Send(CB_GETCURSEL) < FIRST_PAGE.month - 1)
        monthSelector_.Send(CB_SETCURSEL, FIRST_PAGE.month - 1);
    int yearIndex = int(yearSelector_.Send(CB_GETCURSEL)), monthIndex = int(monthSelector_.Send(CB_GETCURSEL));
    if (yearIndex >= 0 && monthIndex >= 0) grid_->ShowMonth(FIRST_PAGE.year + yearIndex, 1 + monthIndex, 0);
    return 0;
}

LRESULT MainWindow::OnMove(WPARAM, LPARAM lParam) {
    if (savingPosition_) WritePositionSettings("PosX", "PosY", win::PointOf(lParam));
    PlaceTabs();
    return 0;
}

LRESULT MainWindow::OnLeftButtonDown(WPARAM, LPARAM lParam) {
    win::DragAsCaption(hwnd_, lParam);
    return 0;
}

LRESULT MainWindow::OnLinkClicked(WPARAM id, LPARAM) {
    const MonthPage& page = grid_->Page();
    switch (id) {
        case IDC_PREVIOUS_MONTH: {
            auto [year, month] = PreviousPage({page.shownYear, page.shownMonth});
            ApplyMonth(year, month);
            break;
        }
        case IDC_NEXT_MONTH: {
            auto [year, month] = NextPage({page.shownYear, page.shownMonth});
            ApplyMonth(year, month);
            break;
        }
        case IDC_BACK_TO_TODAY:
            ShowToday();
            break;
        case IDC_REMOTE_LINK:
            if (!linkTarget_.empty()) OpenWebAddress(linkTarget_);
            break;
        case IDC_CLOSE:
            RunExitPrompt();
            break;
    }
    return 0;
}

// Tick 2 embeds the window and pops up today's notes; from tick 3 the link is
// asked for every minute until it has come, then every hour; every tick
// follows the date.
LRESULT MainWindow::OnTimer(WPARAM, LPARAM) {
    const int tick = tickCounter_;
    if (tick == -1) {
        if (EmbedInDesktop(hwnd_)) embeddedIn_ = ParentOf(hwnd_);
        grid_->PopUpTodayNotes();
    } else if (tick % 60 == 0 && (linkCaption_.empty() || tick % 3600 == 0)) {
        FetchRemoteLink();
    }
    SYSTEMTIME now = environment_.localTime();
    if (now.wDay != todayDay_ || now.wMonth != todayMonth_ || now.wYear != todayYear_) {
        LoadHolidays();  // a year added to the file shows from the next day on
        ShowToday();
    }
    ++tickCounter_;
    return 0;
}

// One fetch at a time, off this thread; the result comes back as a message.
void MainWindow::FetchRemoteLink() {
    fetcher_->Start([window = hwnd_, mailbox = mailbox_](std::optional<RemoteLink> link) {
        if (!link) return;
        {
            std::lock_guard lock(mailbox->mutex);
            mailbox->link = std::move(link);
        }
        PostMessageW(window, WM_LINK_FETCHED, 0, 0);
    });
}

LRESULT MainWindow::OnLinkFetched(WPARAM, LPARAM) {
    std::optional<RemoteLink> link;
    {
        std::lock_guard lock(mailbox_->mutex);
        link.swap(mailbox_->link);
    }
    if (!link) return 0;
    linkTarget_ = std::move(link->target);
    linkCaption_ = std::move(link->caption);
    remoteLink_.SetCaption(linkCaption_, true);
    return 0;
}

void MainWindow::RunExitPrompt() {
    ExitPrompt prompt;
    prompt.RunModal(hwnd_);
    switch (prompt.GetChoice()) {
        case ExitPrompt::UNINSTALL:
            SetAutostart(false, AUTOSTART_VALUE);
            [[fallthrough]];
        case ExitPrompt::END_PROGRAM:
            endedByExitPrompt_ = true;
            Dialog::EndDialog(IDCANCEL);
            break;
        case ExitPrompt::STAY:
            break;
    }
}

// Whoever ends the window, what the next one needs is kept.
LRESULT MainWindow::OnDestroy(WPARAM, LPARAM) {
    KillTimer(hwnd_, kTickTimer);
    session_.shownYear = grid_->Page().shownYear;
    session_.shownMonth = grid_->Page().shownMonth;
    session_.linkTarget = linkTarget_;
    session_.linkCaption = linkCaption_;
    return 0;
}

}  // namespace almanac

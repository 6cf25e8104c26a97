#include "app/MainWindow.h"

#include "app/DesktopEmbedding.h"
#include "app/ExitPrompt.h"
#include "app/PanelMenu.h"
#include "app/Settings.h"
#include "app/StartupFailure.h"
#include "dialogs/NoteEntryDialog.h"
#include "dialogs/WeeklyNoteDialog.h"
#include "display/Contrast.h"
#include "engine/PageRange.h"
#include "links/LinkSettings.h"
#include "links/WebAddress.h"
#include "resources/resource.h"
#include "store/FileTroubleText.h"
#include "store/HolidayFile.h"

#include <algorithm>

namespace almanac {
namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMilliseconds = 1000;
constexpr UINT_PTR kOutsideChangeTimer = 2;
constexpr int kSelectorFontHeight = 13;  // the template's 宋体 10 points at 96 dpi

// The page nearest to a month: the month itself when there is a page for it.
YearMonth NearestPage(int year, int month) {
    const int wanted = MonthIndex({year, month});
    if (wanted < MonthIndex(FIRST_PAGE)) return FIRST_PAGE;
    if (wanted > MonthIndex(LAST_PAGE)) return LAST_PAGE;
    return {year, month};
}

struct TopButton {
    LinkLabel MainWindow::*label;
    int id;
    RECT rect;
    const char* caption;
    bool shown;
    // The small "×" answers in all of its rectangle, where a user aims.
    bool keepsRectangle;
};

// The page keys typed into a selector's field while its list is closed turn
// the month as they do on the grid: the field's own window procedure, with
// the keys sent on to the grid, is put in front of the edit control's.
constexpr wchar_t kEditProcedure[] = L"AlmanacEditProcedure";
constexpr wchar_t kPageKeysTarget[] = L"AlmanacPageKeysTarget";

LRESULT CALLBACK SelectorFieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto editProcedure = reinterpret_cast<WNDPROC>(GetPropW(field, kEditProcedure));
    const bool pageKey = wParam == VK_PRIOR || wParam == VK_NEXT || wParam == VK_HOME;
    if (message == WM_KEYDOWN && pageKey && !SendMessageW(GetParent(field), CB_GETDROPPEDSTATE, 0, 0))
        return SendMessageW(static_cast<HWND>(GetPropW(field, kPageKeysTarget)), WM_KEYDOWN, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProcedure));
        RemovePropW(field, kEditProcedure);
        RemovePropW(field, kPageKeysTarget);
    }
    return CallWindowProcW(editProcedure, field, message, wParam, lParam);
}

void SendPageKeysOn(HWND selector, HWND grid) {
    HWND field = FindWindowExW(selector, nullptr, L"Edit", nullptr);
    if (!field || GetPropW(field, kEditProcedure)) return;
    SetPropW(field, kPageKeysTarget, grid);
    SetPropW(field, kEditProcedure, reinterpret_cast<HANDLE>(GetWindowLongPtrW(field, GWLP_WNDPROC)));
    SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SelectorFieldProcedure));
}

}  // namespace

MainWindow::MainWindow(AppEnvironment environment, StateAcrossWindows& session)
    : PanelDialog(IDD_MAIN),
      environment_(std::move(environment)),
      session_(session),
      icon_(LoadIconW(win::Instance(), MAKEINTRESOURCEW(IDI_ALMANAC))),
      messages_(environment_.tellUser, session.filesToldOf) {}

MainWindow::~MainWindow() = default;

// The order matters: the memo pad finds its default place from the window's
// final position, the grid shows today through the return button, and moves
// count only once everything stands. Whatever cannot be made throws, and the
// window goes without showing (the application says why).
BOOL MainWindow::OnInitDialog() {
    PanelDialog::OnInitDialog();
    win::LayOutOwnDpiChanges(hwnd_);
    yearSelector_ = Item(IDC_YEAR_SELECTOR);
    monthSelector_ = Item(IDC_MONTH_SELECTOR);
    PlaceWindow();
    PlaceSelectors();
    SetText(TITLE);
    CheckAutostart();
    PrepareNotes();

    memoTab_ = std::make_unique<MemoTab>(*this);
    if (!memoTab_->CreateModeless(hwnd_)) throw StartupFailure("记事小本的按钮无法创建：程序无法启动，现在结束。");
    PlaceTab();
    CreateMemo();
    if (ReadNumberSetting("MemoShow") == 1)
        ShowMemo();
    else
        HideMemo();

    highContrast_ = HighContrastIsOn();
    PlaceTopButtons(true);
    grid_ = std::make_unique<MonthView>(this, *notesFolder_);
    if (!grid_->Create(scale_(GRID_DESIGN), hwnd_, IDC_MONTH_GRID, scale_))
        throw StartupFailure("月历无法创建：程序无法启动，现在结束。");
    grid_->SetHolidays(holidays_.Calendar());
    SendPageKeysOn(yearSelector_, grid_->Handle());
    SendPageKeysOn(monthSelector_, grid_->Handle());
    LoadHolidays();
    FillSelectors();
    ShowToday();
    if (session_.shownYear) ApplyMonth(session_.shownYear, session_.shownMonth);

    linkLine_ = std::make_unique<LinkLine>(environment_.linkServer, hwnd_, WM_LINK_FETCHED);
    linkLine_->Create(scale_(REMOTE_LINK_DESIGN), IDC_REMOTE_LINK, scale_, session_.linkTarget, session_.linkCaption);
    // The keyboard starts on the grid, where the page keys work; posted, so
    // that the dialog manager keeps it there when the window shows.
    Post(WM_NEXTDLGCTL, WPARAM(grid_->Handle()), TRUE);

    WatchNotesFolder();
    savingPosition_ = true;
    SetTimer(hwnd_, kTickTimer, kTickMilliseconds, nullptr);
    SetWindowLongW(hwnd_, GWL_EXSTYLE, GetWindowLongW(hwnd_, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    NotifyTaskbar();
    return TRUE;
}

// The stored place, or (500, 300), with negative values at 0; then the
// whole window onto a monitor's work area, whatever was stored, in the size
// of the dpi there. (Moved onto a monitor of another dpi, the window may
// have heard of it already; where it has not, it finds out after the move.)
void MainWindow::PlaceWindow() {
    int x = 500, y = 300;
    if (std::optional<int> storedX = ReadNumberSetting("PosX")) {
        x = std::max(*storedX, 0);
        if (std::optional<int> storedY = ReadNumberSetting("PosY")) y = std::max(*storedY, 0);
    }
    scale_ = win::DpiScale(win::DpiOf(hwnd_));
    POINT place = PlaceOnWorkArea(x, y, scale_(WIDTH), scale_(HEIGHT));
    Move(place.x, place.y, scale_(WIDTH), scale_(HEIGHT), true);
    const win::DpiScale there(win::DpiOf(hwnd_));
    if (there == scale_) return;
    scale_ = there;
    place = PlaceOnWorkArea(place.x, place.y, scale_(WIDTH), scale_(HEIGHT));
    Move(place.x, place.y, scale_(WIDTH), scale_(HEIGHT), true);
}

// The selectors keep the template's font, made at the scale, and their
// lists drop below them. The font they had goes once they have the new one.
void MainWindow::PlaceSelectors() {
    win::Font font = win::CreateCharacterFont("宋体", scale_(kSelectorFontHeight));
    const std::pair<win::Window, RECT> selectors[] = {{yearSelector_, YEAR_SELECTOR_DESIGN},
                                                      {monthSelector_, MONTH_SELECTOR_DESIGN}};
    for (const auto& [selector, design] : selectors) {
        const RECT place = scale_(design);
        selector.Send(WM_SETFONT, WPARAM(font.Get()), TRUE);
        selector.Move(place.left, place.top, place.right - place.left, place.bottom - place.top, true);
    }
    selectorFont_ = std::move(font);
}

void MainWindow::ApplyScale(const win::DpiScale& scale) {
    scale_ = scale;
    SetWindowPos(hwnd_, nullptr, 0, 0, scale_(WIDTH), scale_(HEIGHT), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!grid_ || !linkLine_) return;  // the start lays out the rest at this scale
    PlaceSelectors();
    PlaceTopButtons(false);
    grid_->Rescale(scale_(GRID_DESIGN), scale_);
    linkLine_->Rescale(scale_(REMOTE_LINK_DESIGN), scale_);
    PlaceTab();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Dragged onto a monitor of another dpi: the panel keeps its top-left
// corner and takes the size of the new dpi (not the rectangle the system
// suggests, which keeps the pointer's place on the panel instead).
LRESULT MainWindow::OnDpiChanged(WPARAM wParam, LPARAM) {
    ApplyScale(win::ScaleOfDpiChange(wParam));
    return 0;
}

// The notes folder must be there to use, or notes would be stored beside
// it: the start ends when it cannot be made or entered. A subfolder that
// cannot be is told of, and its notes fail to open and to save where they
// are.
void MainWindow::PrepareNotes() {
    NotesFolderCheck check = PrepareNotesFolder(environment_.documentsFolder);
    if (check.notesFolder)
        throw StartupFailure("记事文件夹无法进入：\n" + check.notesFolder->path + "\n" + check.notesFolder->reason +
                             "\n为免记事存到别处，程序现在结束。");
    notesFolder_ = check.folder;
    if (check.subfolders.empty()) return;
    std::string text;
    for (const FolderProblem& problem : check.subfolders)
        text += "记事文件夹无法进入：\n" + problem.path + "\n" + problem.reason + "\n其中的记事无法读出，也无法保存。\n\n";
    text.resize(text.size() - 2);
    TellOnce("我的记事", text);
}

// The pad places itself from its stored place; it comes whole onto a
// monitor's work area here (and, moved, stores the place it came to).
void MainWindow::CreateMemo() {
    memoPad_ = std::make_unique<MemoPad>(*this, notesFolder_->MemoFile());
    RECT window = WindowRect();
    memoPad_->defaultX = window.left;
    memoPad_->defaultY = window.bottom + scale_(MEMO_GAP);
    if (!memoPad_->CreateModeless(hwnd_)) throw StartupFailure("记事小本无法创建：程序无法启动，现在结束。");
    const RECT pad = memoPad_->WindowRect(), size = memoPad_->ClientRect();
    POINT place = PlaceOnWorkArea(pad.left, pad.top, size.right, size.bottom);
    if (place.x != pad.left || place.y != pad.top)
        SetWindowPos(memoPad_->Handle(), nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::PlaceTopButtons(bool create) {
    static const TopButton buttons[] = {
        {&MainWindow::previousMonth_, IDC_PREVIOUS_MONTH, {190, 3, 220, 20}, "上月", true, false},
        {&MainWindow::nextMonth_, IDC_NEXT_MONTH, {231, 3, 261, 20}, "下月", true, false},
        {&MainWindow::backToToday_, IDC_BACK_TO_TODAY, {272, 3, 302, 20}, "返回", false, false},
        {&MainWindow::close_, IDC_CLOSE, {338, 3, 363, 20}, "×", true, true},
    };
    for (const TopButton& button : buttons) {
        LinkLabel& label = this->*button.label;
        if (!create) {
            label.Rescale(scale_(button.rect), scale_);
            continue;
        }
        label.Create(scale_(button.rect), hwnd_, button.id, TopColour(), TopTextColour(), 100, "楷体_gb2312", scale_);
        if (button.keepsRectangle) label.KeepCreationRectangle();
        label.SetCaption(button.caption, button.shown);
    }
}

void MainWindow::FillSelectors() {
    for (int month = 1; month <= 12; ++month)
        monthSelector_.Send(CB_ADDSTRING, 0, LPARAM(text::Wide(std::to_string(month) + "月").c_str()));
    for (int year = FIRST_PAGE.year; year <= LAST_PAGE.year; ++year)
        yearSelector_.Send(CB_ADDSTRING, 0, LPARAM(text::Wide(std::to_string(year) + "年").c_str()));
}

// A clock outside the calendar's range shows the page nearest to today,
// with today still the marked date, off that page: no day of it carries
// today's ring, and the return button stays.
void MainWindow::ShowToday() {
    if (memoPad_) memoPad_->RetryRead();
    SYSTEMTIME now = environment_.localTime();
    todayDay_ = now.wDay;
    todayMonth_ = now.wMonth;
    todayYear_ = now.wYear;
    const MonthPage& page = grid_->Page();
    if (page.shownYear == todayYear_ && page.shownMonth == todayMonth_ && page.markedYear == todayYear_ &&
        page.markedMonth == todayMonth_ && page.markedDay == todayDay_)
        return;
    grid_->ShowMonth(todayYear_, todayMonth_, todayDay_);
    const YearMonth shown = NearestPage(todayYear_, todayMonth_);
    if (shown.year != todayYear_ || shown.month != todayMonth_) grid_->ShowMonth(shown.year, shown.month, 0);
    SelectMonth(shown.year, shown.month);
}

void MainWindow::TurnMonths(int months) {
    const MonthPage& page = grid_->Page();
    YearMonth shown{page.shownYear, page.shownMonth};
    for (; months < 0; ++months) shown = PreviousPage(shown);
    for (; months > 0; --months) shown = NextPage(shown);
    ApplyMonth(shown.year, shown.month);
}

// The file is only read. A problem is told once, and again only when it
// changes (the file was mended, or broke in another way).
void MainWindow::LoadHolidays() {
    if (std::string problem = holidays_.Reload(*notesFolder_); !problem.empty())
        messages_.Tell(hwnd_, WM_TELL_USER, std::move(problem));
}

// A sync service or a second PC may write the notes folder at any moment:
// what they write shows within a second, without a look at every file.
void MainWindow::WatchNotesFolder() {
    const NotesFolder& notes = *notesFolder_;
    folderWatch_.Start({notes.Path(), notes.PathOf(NotesFolder::CALENDAR_FOLDER), notes.PathOf(NotesFolder::MEMO_FOLDER)},
                       hwnd_, WM_NOTES_FOLDER_CHANGED);
}

// Many changes close together (a write and its rename, a sync of several
// files) make one look, OUTSIDE_CHANGE_DELAY_MS after the first.
LRESULT MainWindow::OnNotesFolderChanged(WPARAM ended, LPARAM) {
    folderWatch_.Acknowledge();
    if (ended == win::FolderWatch::WATCH_ENDED) folderWatch_.Stop();
    if (!outsideChangeDue_) {
        outsideChangeDue_ = true;
        SetTimer(hwnd_, kOutsideChangeTimer, OUTSIDE_CHANGE_DELAY_MS, nullptr);
    }
    return 0;
}

// This program's own saves come back here too: their files read as they
// were written, and nothing changes on screen. A file another program holds
// at the moment is looked at again a little later.
void MainWindow::TakeOutsideChanges() {
    KillTimer(hwnd_, kOutsideChangeTimer);
    outsideChangeDue_ = false;
    if (!grid_) return;
    LoadHolidays();
    bool held = grid_->TakeOutsideChanges(holidays_.DaysChanged());
    if (memoPad_ && !memoPad_->TakeOutsideChange()) held = true;
    if (held) {
        outsideChangeDue_ = true;
        SetTimer(hwnd_, kOutsideChangeTimer, LOOK_AGAIN_MS, nullptr);
    }
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
    memoPad_->FocusText();
    WriteSetting(SETTINGS_KEY, "MemoShow", "1");
}

void MainWindow::ReadMemoPosition(int& x, int& y) {
    if (std::optional<int> storedX = ReadNumberSetting("MemoX")) {
        x = *storedX;
        if (std::optional<int> storedY = ReadNumberSetting("MemoY")) y = *storedY;
    }
}

void MainWindow::StoreMemoPosition(POINT position) { WritePositionSettings("MemoX", "MemoY", position); }

void MainWindow::TellOnce(const std::string& file, const std::string& message) {
    messages_.TellOnce(hwnd_, WM_TELL_USER, file, message);
}

LRESULT MainWindow::OnTellUser(WPARAM, LPARAM) {
    messages_.ShowNext(hwnd_);
    return 0;
}

void MainWindow::NoteFileTrouble(const NoteTable& table) { TellOnce(table.Path(), NoteFileTroubleText(table)); }

void MainWindow::HideMemo() {
    memoPad_->SaveNow();
    memoPad_->Show(SW_HIDE);
    memoTab_->Show(SW_SHOW);
    WriteSetting(SETTINGS_KEY, "MemoShow", "0");
}

void MainWindow::PlaceTab() {
    if (!memoTab_) return;
    const RECT window = WindowRect(), tab = memoTab_->WindowRect();
    SetWindowPos(memoTab_->Handle(), nullptr, window.right + scale_(MEMO_GAP), window.bottom - (tab.bottom - tab.top), 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::ShowReturnButton(bool show) { backToToday_.Show(show ? SW_SHOW : SW_HIDE); }

// The dialogs run with the grid as parent; whatever they saved, the grid
// then shows its files again (also when the date turned meanwhile).
void MainWindow::EditDayNotes(int day) {
    NoteEntryDialog dialog(grid_->Page(), grid_->Notes(), day);
    dialog.RunModal(grid_->Handle());
    AfterNoteDialog();
}

void MainWindow::EditWeekdayNote(int weekday) {
    WeeklyNoteDialog dialog(grid_->Notes(), weekday);
    dialog.RunModal(grid_->Handle());
    AfterNoteDialog();
}

void MainWindow::AfterNoteDialog() {
    if (grid_) grid_->ReloadNotes();
}

void MainWindow::OpenSite() { OpenWebAddress(SITE_URL); }

bool MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr win::MessageEntry<MainWindow> table[] = {
        win::OnMessage(WM_PAINT, &MainWindow::OnPaint),
        win::OnMessage(WM_PRINTCLIENT, &MainWindow::OnPaint),
        win::OnMessage(WM_QUERYDRAGICON, &MainWindow::OnQueryDragIcon),
        win::OnCommand(IDC_YEAR_SELECTOR, CBN_SELCHANGE, &MainWindow::OnSelectorChanged),
        win::OnCommand(IDC_MONTH_SELECTOR, CBN_SELCHANGE, &MainWindow::OnSelectorChanged),
        win::OnCommand(IDC_YEAR_SELECTOR, CBN_KILLFOCUS, &MainWindow::OnSelectorLeft),
        win::OnCommand(IDC_MONTH_SELECTOR, CBN_KILLFOCUS, &MainWindow::OnSelectorLeft),
        win::OnCommand(IDC_YEAR_SELECTOR, CBN_CLOSEUP, &MainWindow::OnSelectorClosed),
        win::OnCommand(IDC_MONTH_SELECTOR, CBN_CLOSEUP, &MainWindow::OnSelectorClosed),
        win::OnMessage(WM_MOVE, &MainWindow::OnMove),
        win::OnMessage(WM_LBUTTONDOWN, &MainWindow::OnLeftButtonDown),
        win::OnMessage(WM_LINK_CLICKED, &MainWindow::OnLinkClicked),
        win::OnMessage(WM_TIMER, &MainWindow::OnTimer),
        win::OnMessage(WM_LINK_FETCHED, &MainWindow::OnLinkFetched),
        win::OnMessage(WM_TELL_USER, &MainWindow::OnTellUser),
        win::OnMessage(WM_NOTES_FOLDER_CHANGED, &MainWindow::OnNotesFolderChanged),
        win::OnMessage(WM_DESTROY, &MainWindow::OnDestroy),
        win::OnMessage(WM_QUERYENDSESSION, &MainWindow::OnQueryEndSession),
        win::OnMessage(WM_CONTEXTMENU, &MainWindow::OnContextMenu),
        win::OnMessage(WM_ENDSESSION, &MainWindow::OnEndSession),
        win::OnMessage(WM_DPICHANGED, &MainWindow::OnDpiChanged),
        win::OnMessage(WM_SYSCOLORCHANGE, &MainWindow::OnColoursChanged),
        win::OnMessage(WM_SETTINGCHANGE, &MainWindow::OnColoursChanged),
    };
    return win::Dispatch(*this, table, message, wParam, lParam, result);
}

LRESULT MainWindow::OnPaint(WPARAM dc, LPARAM) {
    return win::PaintMessage(hwnd_, dc, [this](HDC context) {
        win::FillSolid(context, {0, 0, scale_(WIDTH), scale_(TOP_STRIP_HEIGHT)}, TopColour());
    });
}

COLORREF MainWindow::TopColour() const { return highContrast_ ? GetSysColor(COLOR_BTNFACE) : TOP_COLOUR; }
COLORREF MainWindow::TopTextColour() const { return highContrast_ ? GetSysColor(COLOR_BTNTEXT) : TOP_TEXT_COLOUR; }

// High contrast turned on or off, or the system's colours changed: read
// again. (Other settings pass on as before.)
LRESULT MainWindow::OnColoursChanged(WPARAM, LPARAM) {
    ApplyContrast();
    return 0;
}

void MainWindow::ApplyContrast() {
    highContrast_ = HighContrastIsOn();
    for (LinkLabel* label : {&previousMonth_, &nextMonth_, &backToToday_, &close_})
        label->SetColours(TopColour(), TopTextColour());
    if (grid_) grid_->UsePalette(highContrast_ ? MonthView::SystemPalette() : MonthView::OwnPalette());
    Invalidate(false);
}

LRESULT MainWindow::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(icon_); }

// Only a choice from the lists changes the month; a month before the first
// page (January 1900) becomes the first page. A selector whose field
// holds typed text (no item chosen) counts as showing the page's year or
// month, and both selectors show the page again.
LRESULT MainWindow::OnSelectorChanged(WPARAM, LPARAM) {
    const MonthPage& page = grid_->Page();
    const int yearIndex = int(yearSelector_.Send(CB_GETCURSEL)), monthIndex = int(monthSelector_.Send(CB_GETCURSEL));
    const int year = yearIndex >= 0 ? FIRST_PAGE.year + yearIndex : page.shownYear;
    const int month = monthIndex >= 0 ? 1 + monthIndex : page.shownMonth;
    const YearMonth shown = NearestPage(year, month);  // January 1900 becomes February
    ApplyMonth(shown.year, shown.month);
    return 0;
}

// Typed text has no effect: leaving a selector shows the page in it again.
LRESULT MainWindow::OnSelectorLeft(WPARAM, LPARAM) {
    const MonthPage& page = grid_->Page();
    SelectMonth(page.shownYear, page.shownMonth);
    return 0;
}

// In the desktop the panel is a child window, which hears of no change of
// dpi: moved onto another monitor, it looks for itself.
// A drag writes its end only, not each step of the way.
LRESULT MainWindow::OnMove(WPARAM, LPARAM lParam) {
    if (drag_.Moved(lParam) && savingPosition_) WritePositionSettings("PosX", "PosY", drag_.Place());
    if (embeddedIn_) FollowMonitorDpi();
    PlaceTab();
    return 0;
}

void MainWindow::FollowMonitorDpi() {
    const win::DpiScale here(win::DpiOf(hwnd_));
    if (here != scale_) ApplyScale(here);
}

// A press on the panel's blank drags it; the keyboard then goes to the grid,
// where the page keys turn the month.
LRESULT MainWindow::OnLeftButtonDown(WPARAM, LPARAM lParam) {
    if (drag_.Drag(hwnd_, lParam) && savingPosition_) WritePositionSettings("PosX", "PosY", drag_.Place());
    FocusGrid();
    return 0;
}

void MainWindow::FocusGrid() {
    if (grid_) Send(WM_NEXTDLGCTL, WPARAM(grid_->Handle()), TRUE);
}

// Once a selector's list has closed, chosen from or not, the keyboard goes
// back to the grid (posted: the selector is still closing its list).
LRESULT MainWindow::OnSelectorClosed(WPARAM, LPARAM) {
    if (grid_) Post(WM_NEXTDLGCTL, WPARAM(grid_->Handle()), TRUE);
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
            linkLine_->Open();
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
LRESULT MainWindow::OnTimer(WPARAM id, LPARAM) {
    if (id == kOutsideChangeTimer) {
        TakeOutsideChanges();
        return 0;
    }
    const int tick = tickCounter_;
    if (tick == -1) {
        if (EmbedInDesktop(hwnd_)) {
            embeddedIn_ = ParentOf(hwnd_);
            FollowMonitorDpi();
        }
        // Not over a dialog or the prompt (they disable the window).
        if (IsWindowEnabled(hwnd_)) grid_->PopUpTodayNotes();
    } else {
        linkLine_->OnTick(tick);
    }
    if (memoPad_) memoPad_->RetryRead();
    // Without a watch (the folder was taken away and came back, a share
    // that cannot be watched), the watch is tried again and, meanwhile,
    // the files on show are looked at every other second.
    if (!folderWatch_.Watching() && tick % 2 == 0) {
        WatchNotesFolder();
        TakeOutsideChanges();
    }
    SYSTEMTIME now = environment_.localTime();
    if (now.wDay != todayDay_ || now.wMonth != todayMonth_ || now.wYear != todayYear_) {
        LoadHolidays();  // a year added to the file shows from the next day on
        ShowToday();
    }
    ++tickCounter_;
    return 0;
}

LRESULT MainWindow::OnLinkFetched(WPARAM, LPARAM) {
    linkLine_->TakeFetchedLink();
    return 0;
}

void MainWindow::RunExitPrompt() {
    grid_->HidePopup();
    ExitPrompt prompt;
    prompt.RunModal(hwnd_);
    switch (prompt.GetChoice()) {
        case ExitPrompt::UNINSTALL:
            SetAutostart(false, AUTOSTART_VALUE);
            [[fallthrough]];
        case ExitPrompt::END_PROGRAM:
            endedByExitPrompt_ = true;
            EndDialog(IDCANCEL);
            break;
        case ExitPrompt::STAY:
            break;
    }
}

// A right-click on the panel, or the menu key or Shift+F10 on the grid (no
// point then: the menu opens over the grid's corner).
LRESULT MainWindow::OnContextMenu(WPARAM, LPARAM lParam) {
    if (!grid_) return 0;
    POINT at = win::PointOf(lParam);
    if (at.x == -1 && at.y == -1) {
        const RECT grid = grid_->WindowRect();
        at = {grid.left + scale_(20), grid.top + scale_(30)};
    }
    grid_->HidePopup();
    switch (RunPanelMenu(hwnd_, at)) {
        case PANEL_EXPORT_NOTES: ExportNotes(); break;
        case PANEL_OPEN_NOTES_FOLDER: OpenNotesFolder(hwnd_, *notesFolder_); break;
        case PANEL_SHOW_TODAY: ShowToday(); break;
        case PANEL_SHOW_MEMO: ShowMemo(); break;
        case PANEL_END: RunExitPrompt(); break;
    }
    return 0;
}

// To the file the user names in the Save As dialog, whole or not at all.
void MainWindow::ExportNotes() {
    std::optional<ExportTarget> target = AskWhereToExport(hwnd_, environment_.documentsFolder());
    if (!target) return;
    if (std::string problem = ExportNotesTo(*notesFolder_, *target, todayYear_); !problem.empty())
        messages_.Tell(hwnd_, WM_TELL_USER, std::move(problem));
}

// Logoff or shutdown: the memo's last typing goes to its file before the
// session may end (the process may be ended without another message).
LRESULT MainWindow::OnQueryEndSession(WPARAM, LPARAM) {
    if (memoPad_) memoPad_->SaveNow();
    return TRUE;
}

LRESULT MainWindow::OnEndSession(WPARAM ending, LPARAM) {
    if (ending && memoPad_) memoPad_->SaveNow();
    return 0;
}

// Whoever ends the window, what the next one needs is kept.
LRESULT MainWindow::OnDestroy(WPARAM, LPARAM) {
    KillTimer(hwnd_, kTickTimer);
    KillTimer(hwnd_, kOutsideChangeTimer);
    folderWatch_.Stop();
    if (memoPad_) memoPad_->SaveNow();
    if (!grid_ || !linkLine_) return 0;  // the start did not come this far
    session_.shownYear = grid_->Page().shownYear;
    session_.shownMonth = grid_->Page().shownMonth;
    session_.linkTarget = linkLine_->Target();
    session_.linkCaption = linkLine_->Caption();
    return 0;
}

}  // namespace almanac

// The program's only top-level window: a borderless 363 × 280 panel with the
// year and month selectors and four text buttons on a dark strip, the month
// grid, and the link line at the bottom. It lays these out, turns the page,
// owns the memo pad and its tab, saves its position, and runs the
// one-second tick that embeds it in the desktop, pops up today's notes,
// asks for the link and follows the date.
#pragma once

#include "app/AppEnvironment.h"
#include "app/LinkLine.h"
#include "app/MessagesForUser.h"
#include "dialogs/MemoPad.h"
#include "display/Labels.h"
#include "display/MemoTab.h"
#include "display/MonthView.h"
#include "framework/Dialog.h"
#include "framework/FolderWatch.h"
#include "resources/Texts.h"
#include "store/HolidayFile.h"
#include "store/NotesFolder.h"

#include <memory>
#include <optional>
#include <set>
#include <string>

namespace almanac {

// The program's state carried across main windows: what outlives one when
// the shell takes it away and the program makes it anew (the month on show
// and the link).
struct StateAcrossWindows {
    int shownYear = 0;
    int shownMonth = 0;
    std::string linkTarget;
    std::string linkCaption;
    // The files the user was told of: each only once.
    std::set<std::string> filesToldOf;
};

class MainWindow : public win::PanelDialog, public MemoHost, public MonthViewOwner {
public:
    // The design, in pixels at 96 dpi; on screen scaled by the dpi of the
    // monitor the panel is on.
    static constexpr int WIDTH = 363;
    static constexpr int HEIGHT = 280;
    static constexpr int GRID_HEIGHT = 238;
    static constexpr RECT GRID_DESIGN = {0, 22, WIDTH, 22 + GRID_HEIGHT};
    static constexpr int TOP_STRIP_HEIGHT = 25;
    static constexpr RECT YEAR_SELECTOR_DESIGN = {2, 0, 70, 135};  // with its list
    static constexpr RECT MONTH_SELECTOR_DESIGN = {74, 0, 127, 128};
    static constexpr RECT REMOTE_LINK_DESIGN = {2, 261, 280, 281};
    // The memo tab stands this far right of the panel; the pad first comes
    // this far below it.
    static constexpr int MEMO_GAP = 10;
    static constexpr COLORREF TOP_COLOUR = RGB(50, 80, 90);
    static constexpr COLORREF TOP_TEXT_COLOUR = RGB(189, 183, 107);
    static constexpr const char* TITLE = PROGRAM_TITLE;

    MainWindow(AppEnvironment environment, StateAcrossWindows& session);
    ~MainWindow() override;

    void ShowToday() override;
    void ShowMemo() override;
    void HideMemo() override;
    void ReadMemoPosition(int& x, int& y) override;
    void StoreMemoPosition(POINT position) override;
    void TellOnce(const std::string& file, const std::string& message) override;
    void NoteFileTrouble(const NoteTable& table) override;
    // The memo tab: MEMO_GAP right of the window, its bottom on the window's
    // bottom (screen coordinates).
    void PlaceTab();
    const win::DpiScale& Scale() const { return scale_; }
    void ShowReturnButton(bool show) override;
    void EditDayNotes(int day) override;
    void EditWeekdayNote(int weekday) override;
    void OpenSite() override;
    // Moves the page by months (< 0 earlier), stopping at the first and the
    // last month the selectors offer.
    void TurnMonths(int months) override;

    // The dialog ended through the exit prompt (not by the shell's hand).
    bool EndedByExitPrompt() const { return endedByExitPrompt_; }
    MonthView& Grid() { return *grid_; }
    MemoPad& Memo() { return *memoPad_; }
    MemoTab& Tab() { return *memoTab_; }
    // The desktop view the window was embedded in, if it was.
    HWND FormerParent() const { return embeddedIn_; }
    const std::string& LinkCaption() const { return linkLine_->Caption(); }
    const std::string& LinkTarget() const { return linkLine_->Target(); }
    // A fetch of the link is under way (a tick meanwhile starts none).
    bool IsFetchingLink() const { return linkLine_ && linkLine_->IsFetching(); }

    // A fetched link reaches the window as this message; the fetching thread
    // leaves the link in the link line's mailbox.
    static constexpr UINT WM_LINK_FETCHED = WM_APP + 1;
    // A message for the user waits in the queue: shown from the message loop,
    // not from inside whatever found the trouble.
    static constexpr UINT WM_TELL_USER = WM_APP + 2;
    // Something in the notes folder changed (the folder watch's thread posts
    // it; wParam FolderWatch::WATCH_ENDED when the watch ended).
    static constexpr UINT WM_NOTES_FOLDER_CHANGED = WM_APP + 3;
    // A change in the notes folder shows this long after it is noticed at
    // the latest: a sync service's write (a temporary file, then a rename)
    // is one look, not several.
    static constexpr UINT OUTSIDE_CHANGE_DELAY_MS = 300;
    // A file another program held at a look is looked at again this long after.
    static constexpr UINT LOOK_AGAIN_MS = 2000;

    // Reads again what the panel shows of the notes folder (the page's note
    // files, the week file, the holiday file, the memo) and shows what
    // another writer changed; the memo only while it holds nothing unsaved.
    void TakeOutsideChanges();
    // The notes folder is watched for changes (else every other tick looks).
    bool WatchesNotesFolder() const { return folderWatch_.Watching(); }

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Reads 节假日安排.txt from the notes folder into holidays_, and tells
    // the user about a file that could not be used or held bad lines (again
    // only when what is wrong with it changes).
    void LoadHolidays();

    LRESULT OnPaint(WPARAM dc, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnSelectorChanged(WPARAM, LPARAM);
    LRESULT OnSelectorLeft(WPARAM, LPARAM);
    LRESULT OnSelectorClosed(WPARAM, LPARAM);
    LRESULT OnMove(WPARAM, LPARAM);
    LRESULT OnLeftButtonDown(WPARAM, LPARAM);
    LRESULT OnLinkClicked(WPARAM id, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnLinkFetched(WPARAM, LPARAM);
    LRESULT OnTellUser(WPARAM, LPARAM);
    LRESULT OnNotesFolderChanged(WPARAM, LPARAM);
    void WatchNotesFolder();
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    LRESULT OnContextMenu(WPARAM, LPARAM);
    void ExportNotes();
    LRESULT OnEndSession(WPARAM ending, LPARAM);
    LRESULT OnDpiChanged(WPARAM, LPARAM);
    LRESULT OnColoursChanged(WPARAM, LPARAM);
    // The top strip and the grid in their own colours, or in the system's
    // while high contrast is on.
    void ApplyContrast();
    COLORREF TopColour() const;
    COLORREF TopTextColour() const;

    void PlaceWindow();
    void PrepareNotes();
    void CreateMemo();
    // The top strip's text buttons: made (create) or laid out again.
    void PlaceTopButtons(bool create);
    void PlaceSelectors();
    // The keyboard to the grid, where the page keys turn the month.
    void FocusGrid();
    // Lays the whole panel out at the scale, its top-left corner where it is.
    void ApplyScale(const win::DpiScale& scale);
    // The scale of the monitor the panel is on, when it is not the panel's.
    void FollowMonitorDpi();
    void FillSelectors();
    void ApplyMonth(int year, int month);
    void SelectMonth(int year, int month);
    void RunExitPrompt();
    // Whatever the page before showed, the grid shows its files again.
    void AfterNoteDialog();

    AppEnvironment environment_;
    StateAcrossWindows& session_;
    LinkLabel previousMonth_, nextMonth_, backToToday_, close_;
    win::Window yearSelector_, monthSelector_;
    win::DpiScale scale_;
    win::Font selectorFont_;
    HICON icon_;
    MessagesForUser messages_;
    std::optional<NotesFolder> notesFolder_;
    std::unique_ptr<MonthView> grid_;
    UserHolidays holidays_;
    bool savingPosition_ = false;
    win::CaptionDrag drag_;
    int todayDay_ = 0, todayMonth_ = 0, todayYear_ = 0;
    std::unique_ptr<LinkLine> linkLine_;
    std::unique_ptr<MemoPad> memoPad_;
    std::unique_ptr<MemoTab> memoTab_;
    win::FolderWatch folderWatch_;
    bool outsideChangeDue_ = false;
    int tickCounter_ = -2;
    bool endedByExitPrompt_ = false;
    bool highContrast_ = false;
    HWND embeddedIn_ = nullptr;
};

}  // namespace almanac

// Writing notes as a user does: clicks on the grid open the real dialogs,
// which the script fills and confirms; the note files are checked byte for
// byte afterwards.
#include "resources/resource.h"
#include "tests/app/AppFixture.h"
#include "tests/display/TestWindows.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace almanac {
namespace {

using testing::Date;
using testing::DialogText;
using testing::FindDialog;
using testing::kSettingsKey;
using testing::NoteFileBytes;
using testing::RegistryText;
using testing::Script;
using testing::ScratchFolder;
using testing::SetRegistryText;

const std::wstring kNoteDialog = text::Wide(std::string("输入记事 - ") + PROGRAM_TITLE);
const wchar_t kWeeklyDialog[] = L"每周提示";
const wchar_t kUnsaved[] = L"记事没有保存";

void SetEdit(HWND dialog, int id, std::string_view text) { SetDlgItemTextW(dialog, id, text::Wide(text).c_str()); }
std::string EditText(HWND dialog, int id) { return win::Window(GetDlgItem(dialog, id)).Text(); }
void Press(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

class NotesTest : public testing::AppFixture {
protected:
    // The notes folder as the program makes it, before the program starts.
    void WriteNoteFile(std::string_view name, const std::string& bytes) {
        ScratchFolder::MakeFolder("文档\\我的记事");
        ScratchFolder::MakeFolder("文档\\我的记事\\日历");
        ScratchFolder::WriteBytes("文档\\我的记事\\日历\\" + std::string(name), bytes);
    }
    // A note file as it is now.
    static std::optional<std::string> NoteFile(std::string_view name) {
        return ScratchFolder::ReadBytes(InNotes("日历\\") + std::string(name));
    }

    void ClickDay(int day) {
        POINT p = window->Grid().CellOrigin(day);
        PostMessageW(window->Grid().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x + 20, p.y + 10));
    }
    void ClickHeader(int column) {
        PostMessageW(window->Grid().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(column * 52 + 20, 10));
    }
    // Waits for the dialog and keeps it in `dialog`.
    Script::Step Opens(const wchar_t* title) {
        return [this, title] { return (dialog = FindDialog(title)) != nullptr; };
    }
    Script::Step Closes() {
        return [this] { return !IsWindow(dialog); };
    }

    MainWindow* window = nullptr;
    HWND dialog = nullptr;
};

TEST_F(NotesTest, ADaysThreeNotesAreWrittenWithoutLeadingBlanks) {
    Script script;
    script.Do("click February 14", [&] { ClickDay(14); });
    script.Then("the note dialog", Opens(kNoteDialog.c_str()));
    // Activation reaches a new dialog a moment after it shows, later on a busy machine.
    // Typing goes at once into the note for the date.
    script.Then("the focus in the one-off note", [&] { return GetFocus() == GetDlgItem(dialog, IDC_ONE_OFF_NOTE); });
    script.Do("check it", [&] {
        EXPECT_EQ(EditText(dialog, IDC_NOTE_HEADER), "2024年2月14日星期三农历正月初五");
        EXPECT_EQ(EditText(dialog, IDC_GREGORIAN_LABEL), "阳历每年2月14日");
        EXPECT_EQ(EditText(dialog, IDC_LUNAR_LABEL), "农历每年正月初五");
        EXPECT_EQ(EditText(dialog, IDC_ONE_OFF_NOTE), "");
        // The labels sit beside their edits, the colour buttons end where the edits begin.
        RECT label, edit, button;
        GetWindowRect(GetDlgItem(dialog, IDC_GREGORIAN_LABEL), &label);
        GetWindowRect(GetDlgItem(dialog, IDC_GREGORIAN_NOTE), &edit);
        GetWindowRect(GetDlgItem(dialog, IDC_GREGORIAN_COLOUR), &button);
        EXPECT_LT(std::abs((label.top + label.bottom) / 2 - (edit.top + edit.bottom) / 2), (edit.bottom - edit.top));
        EXPECT_LE(button.right, edit.left + 2);
        SetEdit(dialog, IDC_ONE_OFF_NOTE, "  交报告\r\n第二行  ");
        SetEdit(dialog, IDC_GREGORIAN_NOTE, "情人节");
        SetEdit(dialog, IDC_LUNAR_NOTE, " 灯会");
        Press(dialog, IDOK);
    });
    script.Then("it closes", Closes());
    script.Do("check the files", [&] {
        EXPECT_EQ(NoteFile("202402"), NoteFileBytes({{14, "交报告\r\n第二行  "}}));
        EXPECT_EQ(NoteFile("102"), NoteFileBytes({{14, "情人节"}}));
        EXPECT_EQ(NoteFile("001"), NoteFileBytes({{5, "灯会"}}));
        EXPECT_EQ(window->Grid().Notes().ComposeDayNotes(14), "交报告\r\n第二行  \r\n情人节\r\n灯会");
    });
    Run(script, window);
}

// One visit to the note dialog: the files before, a click on a day, what is
// done in the dialog (its checks, the edits, the button that closes it) and
// the files after.
struct DialogCase {
    const char* name;
    SYSTEMTIME today;
    std::vector<std::pair<const char*, std::string>> filesBefore;
    int day;
    std::function<void(HWND dialog)> fill;
    std::vector<std::pair<const char*, std::optional<std::string>>> filesAfter;  // nothing: no such file
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const DialogCase& c, std::ostream* out) { *out << c.name; }

class NoteDialogTest : public NotesTest, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(NoteDialogTest, WhatIsDoneInTheDialogReachesTheFiles) {
    const DialogCase& c = GetParam();
    today = c.today;
    for (const auto& [name, bytes] : c.filesBefore) WriteNoteFile(name, bytes);
    Script script;
    script.Do("click the day", [&] { ClickDay(c.day); });
    script.Then("the note dialog", Opens(kNoteDialog.c_str()));
    script.Do("fill it and press a button", [&] { c.fill(dialog); });
    script.Then("it closes", Closes());
    script.Do("check the files", [&] {
        for (const auto& [name, bytes] : c.filesAfter) EXPECT_EQ(NoteFile(name), bytes) << "the file " << name;
    });
    Run(script, window);
}

const std::uint32_t kGreen = NOTE_CUSTOM_COLOUR | RGB(0, 160, 0);

// 32767 two-byte characters: 65534 bytes, one byte short of the limit.
const std::string kAlmostFull = [] {
    std::string text;
    for (int i = 0; i < 32767; ++i) text += "字";
    return text;
}();

const DialogCase kDialogCases[] = {
    {"AnEmptiedNoteGoesAndAnEmptyOneWithItsColourStays",
     Date(2024, 2, 10),
     {{"202402", NoteFileBytes({{14, "old", kGreen}, {20, "other"}})}, {"102", NoteFileBytes({{14, "yearly"}})}},
     14,
     [](HWND dialog) {
         EXPECT_EQ(EditText(dialog, IDC_ONE_OFF_NOTE), "old");
         EXPECT_EQ(EditText(dialog, IDC_GREGORIAN_NOTE), "yearly");
         SetEdit(dialog, IDC_ONE_OFF_NOTE, "");
         SetEdit(dialog, IDC_GREGORIAN_NOTE, "   ");
         Press(dialog, IDOK);
     },
     {{"202402", NoteFileBytes({{14, "", kGreen}, {20, "other"}})}, {"102", std::nullopt}}},
    {"CancelStoresNothing",
     Date(2024, 2, 10),
     {{"202402", NoteFileBytes({{14, "old"}})}},
     14,
     [](HWND dialog) {
         SetEdit(dialog, IDC_ONE_OFF_NOTE, "new");
         SetEdit(dialog, IDC_LUNAR_NOTE, "new");
         Press(dialog, IDCANCEL);
     },
     {{"202402", NoteFileBytes({{14, "old"}})}, {"001", std::nullopt}}},
    {"ALeapMonthsDayIsFiledUnderItsOrdinaryMonth",
     Date(2023, 3, 22),  // the first of the leap 2nd month
     {},
     22,
     [](HWND dialog) {
         EXPECT_EQ(EditText(dialog, IDC_NOTE_HEADER), "2023年3月22日星期三农历二月初一");
         EXPECT_EQ(EditText(dialog, IDC_LUNAR_LABEL), "农历每年二月初一");
         SetEdit(dialog, IDC_LUNAR_NOTE, "second month");
         Press(dialog, IDOK);
     },
     {{"002", NoteFileBytes({{1, "second month"}})}}},
    {"AMiddleLunarMonthsDayIsFiledUnderItsOwnMonth",
     Date(2000, 7, 15),  // July 2000: lunar months 5, 6 and 7
     {},
     3,
     [](HWND dialog) {
         EXPECT_EQ(EditText(dialog, IDC_LUNAR_LABEL), "农历每年六月初二");
         SetEdit(dialog, IDC_LUNAR_NOTE, "six-two");
         Press(dialog, IDOK);
     },
     {{"006", NoteFileBytes({{2, "six-two"}})}, {"005", std::nullopt}, {"007", std::nullopt}}},
    {"TheEditsRefuseMoreThanANoteCanHold",
     Date(2024, 2, 10),
     {},
     14,
     [](HWND dialog) {
         HWND edit = GetDlgItem(dialog, IDC_GREGORIAN_NOTE);
         SetEdit(dialog, IDC_GREGORIAN_NOTE, kAlmostFull);
         EXPECT_EQ(EditText(dialog, IDC_GREGORIAN_NOTE).size(), 65534u);  // the edit's own limit is lifted
         SendMessageW(edit, EM_SETSEL, 65534, 65534);
         SendMessageW(edit, WM_CHAR, L'a', 0);    // fits: 65535 bytes
         SendMessageW(edit, WM_CHAR, L'b', 0);    // would not
         SendMessageW(edit, WM_CHAR, 0x5B57, 0);  // nor would a character of two bytes
         EXPECT_EQ(EditText(dialog, IDC_GREGORIAN_NOTE), kAlmostFull + "a");
         Press(dialog, IDOK);
     },
     {{"102", NoteFileBytes({{14, kAlmostFull + "a"}})}}},
};

INSTANTIATE_TEST_SUITE_P(Visits, NoteDialogTest, ::testing::ValuesIn(kDialogCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NotesTest, TheHeaderOpensTheWeekdaysReminder) {
    Script script;
    script.Do("click the header above Wednesday", [&] { ClickHeader(3); });
    script.Then("the weekly dialog", Opens(kWeeklyDialog));
    // Typing goes at once into the reminder.
    script.Then("the focus in the reminder", [&] { return GetFocus() == GetDlgItem(dialog, IDC_WEEKLY_NOTE); });
    script.Do("write", [&] {
        SetEdit(dialog, IDC_WEEKLY_NOTE, "  例会");
        Press(dialog, IDOK);
    });
    script.Then("it closes", Closes());
    script.Do("check the file", [&] {
        EXPECT_EQ(NoteFile("week"), NoteFileBytes({{3, "例会"}}));
        EXPECT_EQ(window->Grid().Notes().ComposeDayNotes(7), "例会");
        ClickHeader(0);
    });
    script.Then("the weekly dialog for Sunday", Opens(kWeeklyDialog));
    script.Do("Sunday's reminder stays empty", [&] {
        bool sunday = false;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            sunday = sunday || win::Window(child).Text() == "每周日";
        EXPECT_TRUE(sunday);
        Press(dialog, IDOK);  // nothing to store: the file keeps Wednesday's
    });
    script.Then("it closes", Closes());
    script.Do("check the file", [&] { EXPECT_EQ(NoteFile("week"), NoteFileBytes({{3, "例会"}})); });
    Run(script, window);
}

TEST_F(NotesTest, ANoteThatCannotBeSavedIsReportedAndStaysInTheDialog) {
    WriteNoteFile("202402", NoteFileBytes({{14, "old"}}));
    HANDLE held = INVALID_HANDLE_VALUE;
    HWND message = nullptr;
    Script script;
    script.Do("click February 14", [&] { ClickDay(14); });
    script.Then("the note dialog", Opens(kNoteDialog.c_str()));
    script.Do("another program holds the file; OK", [&] {
        held = CreateFileW(text::Wide(InNotes("日历\\202402")).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        SetEdit(dialog, IDC_ONE_OFF_NOTE, "new text");
        SetEdit(dialog, IDC_GREGORIAN_NOTE, "yearly");
        Press(dialog, IDOK);
    });
    script.Then("the report", [&] { return (message = FindDialog(kUnsaved)) != nullptr; });
    script.Do("read it and close it", [&] {
        std::string text;
        for (HWND child = GetWindow(message, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            text += win::Window(child).Text();
        EXPECT_NE(text.find("2024年2月14日的记事"), std::string::npos) << text;
        EXPECT_NE(text.find("日历\\202402"), std::string::npos) << text;
        EXPECT_EQ(text.find("阳历每年"), std::string::npos) << text;  // that one was saved
        PostMessageW(message, WM_COMMAND, IDOK, 0);
    });
    script.Then("the report closes", [&] { return !IsWindow(message); });
    script.Do("the dialog and its text are still there", [&] {
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_EQ(EditText(dialog, IDC_ONE_OFF_NOTE), "new text");
        CloseHandle(held);
        EXPECT_EQ(NoteFile("202402"), NoteFileBytes({{14, "old"}}));
        EXPECT_EQ(NoteFile("102"), NoteFileBytes({{14, "yearly"}}));
        Press(dialog, IDOK);  // again, now that the file is free
    });
    script.Then("it closes", Closes());
    script.Do("check the file", [&] { EXPECT_EQ(NoteFile("202402"), NoteFileBytes({{14, "new text"}})); });
    Run(script, window);
}

TEST_F(NotesTest, AChosenColourIsStoredOnOkOnly) {
    HWND chooser = nullptr;
    Script script;
    script.Do("click February 14", [&] { ClickDay(14); });
    script.Then("the note dialog", Opens(kNoteDialog.c_str()));
    script.Do("the lunar note's colour button", [&] {
        SetEdit(dialog, IDC_LUNAR_NOTE, "coloured");
        PostMessageW(GetDlgItem(dialog, IDC_LUNAR_COLOUR), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    });
    script.Then("the colour chooser", [&] {
        chooser = nullptr;
        for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            if (IsWindowVisible(w) && GetWindow(w, GW_OWNER) == dialog) chooser = w;
        return chooser != nullptr;
    });
    script.Do("choose red 10, green 20, blue 200", [&] {
        // The chooser's own edits for red, green and blue (ids 706 … 708).
        SetDlgItemTextW(chooser, 706, L"10");
        SetDlgItemTextW(chooser, 707, L"20");
        SetDlgItemTextW(chooser, 708, L"200");
        PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(chooser, IDOK)));
    });
    script.Then("the chooser closes", [&] { return !IsWindow(chooser); });
    script.Do("OK", [&] { Press(dialog, IDOK); });
    script.Then("it closes", Closes());
    script.Do("check the file", [&] {
        EXPECT_EQ(NoteFile("001"), NoteFileBytes({{5, "coloured", NOTE_CUSTOM_COLOUR | RGB(10, 20, 200)}}));
    });
    Run(script, window);
}

// Another writer (a sync service, a second PC) replaces the month's file
// while the dialog of day 15 is open: its note of another day stays, and
// its text of the same day stays beside the user's, who is told.
TEST_F(NotesTest, AnotherWritersChangeWhileTheDialogIsOpenIsKept) {
    WriteNoteFile("202402", NoteFileBytes({{15, "原来"}}));
    HWND told = nullptr;
    Script script;
    script.Do("click February 15", [&] { ClickDay(15); });
    script.Then("the note dialog", Opens(kNoteDialog.c_str()));
    script.Do("another writer replaces the file; the user writes and presses OK", [&] {
        ScratchFolder::WriteBytes(InNotes("日历\\202402"), NoteFileBytes({{3, "三日"}, {15, "他的"}}));
        SetEdit(dialog, IDC_ONE_OFF_NOTE, "我的");
        Press(dialog, IDOK);
    });
    script.Then("the user is told", [&] { return (told = FindDialog(text::Wide(PROGRAM_NAME).c_str())) != nullptr; });
    script.Do("read it and close it", [&] {
        EXPECT_NE(DialogText(told).find("另一处"), std::string::npos);
        PostMessageW(told, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    script.Then("the dialog closes", Closes());
    script.Do("check the file and the grid", [&] {
        const std::string both = "我的" + std::string(NOTE_FROM_ELSEWHERE) + "他的";
        EXPECT_EQ(NoteFile("202402"), NoteFileBytes({{3, "三日"}, {15, both}}));
        EXPECT_EQ(window->Grid().Notes().oneOffNotes.Slot(3).text, "三日");
    });
    Run(script, window);
}

// Another writer replaces the memo's file. While the pad holds typing not
// yet saved, the other text is kept as a file beside the memo and the user
// is told where; with nothing unsaved, the pad takes the new text.
TEST_F(NotesTest, AnotherWritersMemoIsKeptOrTaken) {
    SetRegistryText(testing::kSettingsKey, L"MemoShow", L"1");
    ScratchFolder::MakeFolder("文档\\我的记事");
    ScratchFolder::MakeFolder("文档\\我的记事\\备忘");
    ScratchFolder::WriteBytes(InNotes("备忘\\default"), "原来");
    auto memo = [] { return ScratchFolder::ReadBytes(InNotes("备忘\\default")); };
    Script script;
    script.Do("type, and another writer replaces the file", [&] {
        SendMessageW(window->Memo().Item(IDC_MEMO_TEXT), WM_CHAR, L'x', 0);
        ScratchFolder::WriteBytes(InNotes("备忘\\default"), "他的");
        window->HideMemo();  // saves at once
    });
    script.Then("the user is told", [&] { return toldUser.size() == 1; });
    script.Do("both texts are kept", [&] {
        EXPECT_EQ(memo(), "原来x");
        std::vector<std::string> copies;
        for (const std::string& name : ScratchFolder::List(InNotes("备忘")))
            if (name.rfind("另一处的备忘 ", 0) == 0) copies.push_back(name);
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_EQ(ScratchFolder::ReadBytes(InNotes("备忘\\" + copies[0])), "他的");
        ASSERT_EQ(toldUser.size(), 1u);
        EXPECT_NE(toldUser[0].find(documents + "\\我的记事\\备忘\\" + copies[0]), std::string::npos) << toldUser[0];
    });
    script.Do("with nothing unsaved, the pad takes another writer's text", [&] {
        ScratchFolder::WriteBytes(InNotes("备忘\\default"), "新的");
        window->ShowMemo();  // the keyboard goes to the pad
        EXPECT_EQ(win::Window(window->Memo().Item(IDC_MEMO_TEXT)).Text(), "新的");
        EXPECT_EQ(memo(), "新的");
    });
    Run(script, window);
}

// Writes a file as a sync service delivers another computer's version: a
// temporary file of its own beside it, renamed over it.
void ReplaceAsSyncServiceDoes(const std::string& path, const std::string& bytes) {
    const std::string incoming = path + ".~sync";
    ScratchFolder::WriteBytes(incoming, bytes);
    MoveFileExW(text::Wide(incoming).c_str(), text::Wide(path).c_str(), MOVEFILE_REPLACE_EXISTING);
}

// While the panel shows February 2024, with day 14's notes in the pop-up
// and the pad's text in view, another writer changes the page's month
// file, the week file, the holiday file and the memo: each shows without
// a page turn or a click. The pad's unsaved typing is never replaced.
TEST_F(NotesTest, WhatAnotherWriterPutsInTheFolderShows) {
    SetRegistryText(testing::kSettingsKey, L"MemoShow", L"1");
    WriteNoteFile("202402", NoteFileBytes({{14, "原来"}}));
    ScratchFolder::MakeFolder("文档\\我的记事\\备忘");
    ScratchFolder::WriteBytes(InNotes("备忘\\default"), "第一行\r\n第二行");
    HWND edit = nullptr;
    auto memoShows = [&] { return win::Window(edit).Text(); };
    Script script;
    script.Do("the pointer rests on day 14", [&] {
        ASSERT_TRUE(window->WatchesNotesFolder());
        edit = window->Memo().Item(IDC_MEMO_TEXT);
        POINT p = window->Grid().CellOrigin(14);
        SendMessageW(window->Grid().Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x + 20, p.y + 10));
        ASSERT_TRUE(window->Grid().Popup().IsVisible());
        EXPECT_EQ(window->Grid().Popup().Text(), "原来");
    });
    script.Do("another writer adds to day 14 and writes day 20", [&] {
        ReplaceAsSyncServiceDoes(InNotes("日历\\202402"), NoteFileBytes({{14, "原来\r\n追加"}, {20, "二十日"}}));
    });
    script.Then("the grid and the pop-up show it", [&] {
        return window->Grid().Notes().oneOffNotes.Slot(20).text == "二十日" &&
               window->Grid().Popup().Text() == "原来\r\n追加";
    });
    script.Do("a weekday's reminder comes", [&] {
        ReplaceAsSyncServiceDoes(InNotes("日历\\week"), NoteFileBytes({{1, "周一提醒"}}));
    });
    script.Then("the grid has it", [&] { return window->Grid().Notes().weeklyNotes.Slot(1).text == "周一提醒"; });
    script.Do("a rest day comes", [&] {
        EXPECT_EQ(window->Grid().Page().cells[19].dayMark, DayMark::None);  // a Monday at work
        ReplaceAsSyncServiceDoes(InNotes("节假日安排.txt"), "2024-02-19 休 补休\r\n");
    });
    script.Then("the grid marks it", [&] { return window->Grid().Page().cells[19].dayMark == DayMark::Rest; });
    script.Do("the memo changes while the caret is in its second line", [&] {
        window->Memo().FocusText();
        SendMessageW(edit, EM_SETSEL, 7, 7);  // between 二 and 行
        ReplaceAsSyncServiceDoes(InNotes("备忘\\default"), "第一行\r\n第二行\r\n第三行");
    });
    script.Then("the pad shows it", [&] { return memoShows() == "第一行\r\n第二行\r\n第三行"; });
    script.Do("the caret stayed; the user types", [&] {
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
        EXPECT_EQ(start, 7u);
        EXPECT_EQ(GetFocus(), edit);
        SendMessageW(edit, WM_CHAR, L'x', 0);
        ReplaceAsSyncServiceDoes(InNotes("备忘\\default"), "他处");
    });
    script.Then("the change is looked at", [&] {
        return ScratchFolder::List(InNotes("备忘")).size() > 1;  // the save kept the other text beside the memo
    });
    script.Do("nothing typed was lost", [&] {
        EXPECT_EQ(memoShows(), "第一行\r\n第二x行\r\n第三行");
        EXPECT_EQ(ScratchFolder::ReadBytes(InNotes("备忘\\default")), "第一行\r\n第二x行\r\n第三行");
        EXPECT_EQ(toldUser.size(), 1u);
    });
    Run(script, window);
}

// A look at the folder while another program holds the month's file (a
// sync client writing it) keeps showing what the file held: the marks do
// not go, nobody is told, and a look after it lets go reads it again.
TEST_F(NotesTest, AFileHeldAtALookKeepsItsNotesOnShow) {
    WriteNoteFile("202402", NoteFileBytes({{14, "原来"}}));
    HANDLE held = INVALID_HANDLE_VALUE;
    Script script;
    script.Do("another program holds the file; another file changes", [&] {
        ASSERT_EQ(window->Grid().Notes().oneOffNotes.Slot(14).text, "原来");
        held = CreateFileW(text::Wide(InNotes("日历\\202402")).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                           nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        ReplaceAsSyncServiceDoes(InNotes("日历\\week"), NoteFileBytes({{1, "周一提醒"}}));
    });
    script.Then("the look comes", [&] { return window->Grid().Notes().weeklyNotes.Slot(1).text == "周一提醒"; });
    script.Do("day 14 still shows; let go, and the file changes", [&] {
        EXPECT_EQ(window->Grid().Notes().oneOffNotes.Slot(14).text, "原来");
        EXPECT_EQ(toldUser, std::vector<std::string>{});
        CloseHandle(held);
        ReplaceAsSyncServiceDoes(InNotes("日历\\202402"), NoteFileBytes({{14, "原来"}, {20, "二十日"}}));
    });
    script.Then("it shows", [&] { return window->Grid().Notes().oneOffNotes.Slot(20).text == "二十日"; });
    Run(script, window);
}

// Typing is saved off the keystroke: not by the keystroke itself, but
// after a pause in typing, and at once when the pad is hidden.
TEST_F(NotesTest, TheMemoPadKeepsItsTextAndPlace) {
    SetRegistryText(testing::kSettingsKey, L"MemoShow", L"1");
    auto memo = [] { return ScratchFolder::ReadBytes(InNotes("备忘\\default")); };
    auto type = [&](const std::wstring& text) {
        for (wchar_t c : text) SendMessageW(window->Memo().Item(IDC_MEMO_TEXT), WM_CHAR, c, 0);
    };
    Script script;
    script.Do("type", [&] {
        type(L"备忘");
        type(L"\r");  // Enter: a new line, and the pad stays
        type(L"x");
        EXPECT_FALSE(memo());  // not yet: the keystroke only notes the change
        EXPECT_TRUE(window->Memo().HasUnsavedText());
    });
    script.Then("saved after a pause", [&] { return memo() == "备忘\r\nx"; });
    script.Do("check", [&] {
        EXPECT_FALSE(window->Memo().HasUnsavedText());
        EXPECT_TRUE(window->Memo().IsVisible());
    });
    script.Do("a save that fails shows", [&] {
        ScratchFolder::MarkReadOnly(InNotes("备忘\\default"));  // the user forbids changes
        type(L"y");
    });
    script.Then("the failed save shows", [&] { return window->Memo().SaveFailed(); });
    script.Do("the next change tries again", [&] {
        EXPECT_EQ(memo(), "备忘\r\nx");
        ScratchFolder::MarkReadOnly(InNotes("备忘\\default"), false);
        type(L"z");
    });
    script.Then("saved", [&] { return memo() == "备忘\r\nxyz"; });
    script.Do("check", [&] { EXPECT_FALSE(window->Memo().SaveFailed()); });
    script.Do("type and hide the pad at once", [&] {
        type(L"w");
        SendMessageW(window->Memo().Handle(), WM_COMMAND, MAKEWPARAM(IDC_HIDE_MEMO, BN_CLICKED),
                     LPARAM(window->Memo().Item(IDC_HIDE_MEMO).Handle()));
        EXPECT_EQ(memo(), "备忘\r\nxyzw");  // hiding saves at once
        window->ShowMemo();
    });
    script.Do("type as the user logs off", [&] {
        type(L"v");
        EXPECT_EQ(SendMessageW(window->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
        EXPECT_EQ(memo(), "备忘\r\nxyzwv");  // before the session may end
    });
    script.Do("delete everything", [&] {
        HWND edit = window->Memo().Item(IDC_MEMO_TEXT);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, WM_CHAR, VK_BACK, 0);
    });
    script.Then("the emptied memo has no file", [&] { return !ScratchFolder::Exists(InNotes("备忘\\default")); });
    script.Do("move it", [&] {
        SetWindowPos(window->Memo().Handle(), nullptr, 123, 456, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        EXPECT_EQ(RegistryText(kSettingsKey, L"MemoX"), L"123");
        EXPECT_EQ(RegistryText(kSettingsKey, L"MemoY"), L"456");
    });
    Run(script, window);

    // The next start puts it back there.
    Script again;
    again.Do("check", [&] {
        RECT pad = window->Memo().WindowRect();
        EXPECT_EQ(pad.left, 123);
        EXPECT_EQ(pad.top, 456);
        EXPECT_TRUE(window->Memo().IsVisible());
    });
    Run(again, window);
}

}  // namespace
}  // namespace almanac

// Notes that must not be lost or misfiled: a dialog that outlives its page,
// notes left as they were, files that are damaged, held or unreadable, and a
// lunar day 30 in the years its month has 29 days. Driven through the real
// windows, checked on the files byte for byte.
#include "resources/resource.h"
#include "tests/app/AppFixture.h"

namespace almanac {
namespace {

using testing::Date;
using testing::FindDialog;
using testing::NoteFileBytes;
using testing::Script;
using testing::ScratchFolder;
using testing::SetRegistryText;

const std::wstring kNoteDialog = text::Wide(std::string("输入记事 - ") + PROGRAM_TITLE);

// A handle that keeps every other program from opening the file.
class HeldFile {
public:
    explicit HeldFile(const std::string& path)
        : handle_(CreateFileW(ScratchFolder::Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldFile() { Release(); }
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release() {
        if (Held()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

class FileTroubleTest : public testing::AppFixture {
protected:
    FileTroubleTest() {
        for (const char* folder : {"文档\\我的记事", "文档\\我的记事\\日历", "文档\\我的记事\\备忘"})
            ScratchFolder::MakeFolder(folder);
    }
    // Before the start: under the documents folder; after it, the notes
    // folder is the current directory.
    static std::string BeforeStart(std::string_view name) { return "文档\\我的记事\\" + std::string(name); }
    static std::optional<std::string> NoteFile(std::string_view name) {
        return ScratchFolder::ReadBytes(InNotes("日历\\") + std::string(name));
    }

    void ClickDay(int day) {
        POINT p = window->Grid().CellOrigin(day);
        PostMessageW(window->Grid().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x + 20, p.y + 10));
    }
    void ClickLabel(int id) { PostMessageW(GetDlgItem(window->Handle(), id), WM_LBUTTONUP, 0, MAKELPARAM(1, 1)); }
    Script::Step Opens() {
        return [this] { return (dialog = FindDialog(kNoteDialog.c_str())) != nullptr; };
    }
    Script::Step Closes() {
        return [this] { return !IsWindow(dialog); };
    }
    void SetEdit(int id, std::string_view text) { SetDlgItemTextW(dialog, id, text::Wide(text).c_str()); }
    std::string EditText(int id) { return win::Window(GetDlgItem(dialog, id)).Text(); }
    void PressOk() { PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); }
    // Opens a day's dialog, sets one edit, and confirms.
    void EditDay(Script& script, int day, int editId, std::string text) {
        script.Do("click the day", [=, this] { ClickDay(day); });
        script.Then("the note dialog", Opens());
        script.Do("write and confirm", [=, this] {
            SetEdit(editId, text);
            PressOk();
        });
        script.Then("it closes", Closes());
    }

    MainWindow* window = nullptr;
    HWND dialog = nullptr;
};

TEST_F(FileTroubleTest, ADialogSavesToTheDateItWasOpenedForWhenTheDayTurns) {
    today = Date(2024, 1, 31);
    Script script;
    script.Do("click January 15", [&] { ClickDay(15); });
    script.Then("the note dialog", Opens());
    script.Do("midnight passes", [&] { today = Date(2024, 2, 1); });
    script.Then("the grid turns to February", [&] { return window->Grid().Page().shownMonth == 2; });
    script.Do("write and confirm", [&] {
        SetEdit(IDC_ONE_OFF_NOTE, "一月十五");
        PressOk();
    });
    script.Then("it closes", Closes());
    script.Do("check", [&] {
        EXPECT_EQ(NoteFile("202401"), NoteFileBytes({{15, "一月十五"}}));
        for (const char* untouched : {"202402", "101", "102", "012", "001"}) EXPECT_FALSE(NoteFile(untouched)) << untouched;
        EXPECT_EQ(window->Grid().Notes().ComposeDayNotes(15), "");  // February 15 has none
    });
    Run(script, window);
}

TEST_F(FileTroubleTest, NotesLeftAsTheyWereAreNotRewritten) {
    // Bytes that are not valid GB18030 cannot be shown as they are.
    const std::string oneOff = NoteFileBytes({{14, "\xff\xfe" "BAD\x80\x81"}});
    const std::string yearly = NoteFileBytes({{14, "\xfe\xff"}, {20, "其他"}});
    ScratchFolder::WriteBytes(BeforeStart("日历\\202402"), oneOff);
    ScratchFolder::WriteBytes(BeforeStart("日历\\102"), yearly);
    Script script;
    EditDay(script, 14, IDC_LUNAR_NOTE, "灯会");  // February 14: lunar 1-5
    script.Do("only the lunar note was written", [&] {
        EXPECT_EQ(NoteFile("202402"), oneOff);
        EXPECT_EQ(NoteFile("102"), yearly);
        EXPECT_EQ(NoteFile("001"), NoteFileBytes({{5, "灯会"}}));
        EXPECT_FALSE(ScratchFolder::Exists(InNotes("日历\\202402.bad")));
    });
    EditDay(script, 14, IDC_ONE_OFF_NOTE, "改了");
    script.Do("an edited note's original is kept first", [&] {
        EXPECT_EQ(ScratchFolder::ReadBytes(InNotes("日历\\202402.bad")), oneOff);
        EXPECT_EQ(NoteFile("202402"), NoteFileBytes({{14, "改了"}}));
        EXPECT_EQ(NoteFile("102"), yearly);
    });
    Run(script, window);
}

TEST_F(FileTroubleTest, TheUserIsToldOnceOfADamagedOrUnreadableFile) {
    const std::string damaged = NoteFileBytes({{3, "能读出"}}) + std::string("\x09\x00\x40", 3);
    ScratchFolder::WriteBytes(BeforeStart("日历\\202402"), damaged);
    ScratchFolder::WriteBytes(BeforeStart("日历\\102"), NoteFileBytes({{14, "每年"}}));
    HeldFile held(BeforeStart("日历\\102"));
    ASSERT_TRUE(held.Held());
    Script script;
    script.Then("two warnings", [&] { return toldUser.size() == 2; });
    script.Do("browse away and back", [&] { ClickLabel(IDC_NEXT_MONTH); });
    script.Then("March", [&] { return window->Grid().Page().shownMonth == 3; });
    script.Do("back", [&] { ClickLabel(IDC_PREVIOUS_MONTH); });
    script.Then("February", [&] { return window->Grid().Page().shownMonth == 2; });
    script.Do("check", [&] {
        ASSERT_EQ(toldUser.size(), 2u);  // each file once
        EXPECT_NE(toldUser[0].find("我的记事\\日历\\202402"), std::string::npos) << toldUser[0];
        EXPECT_NE(toldUser[0].find("我的记事\\日历\\202402.bad"), std::string::npos) << toldUser[0];
        // Each by its full path.
        EXPECT_NE(toldUser[1].find("无法读取记事文件“" + documents + "\\我的记事\\日历\\102”"), std::string::npos)
            << toldUser[1];
        EXPECT_EQ(ScratchFolder::ReadBytes(InNotes("日历\\202402.bad")), damaged);
        EXPECT_EQ(window->Grid().Notes().oneOffNotes.Slot(3).text, "能读出");
    });
    Run(script, window);
}

TEST_F(FileTroubleTest, AMemoThatCouldNotBeReadIsNeverOverwritten) {
    SetRegistryText(testing::kSettingsKey, L"MemoShow", L"1");
    ScratchFolder::WriteBytes(BeforeStart("备忘\\default"), "原来的备忘");
    HeldFile held(BeforeStart("备忘\\default"));
    ASSERT_TRUE(held.Held());
    Script script;
    script.Do("the pad says so and takes no typing", [&] {
        EXPECT_FALSE(window->Memo().HasRead());
        EXPECT_EQ(window->Memo().Item(IDC_MEMO_TITLE).Text(), "未读取!");
        HWND edit = window->Memo().Item(IDC_MEMO_TEXT);
        EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
        for (wchar_t c : std::wstring(L"新的")) SendMessageW(edit, WM_CHAR, c, 0);
    });
    script.Then("the user is told", [&] { return toldUser.size() == 1; });
    script.Do("the other program lets go", [&] {
        EXPECT_NE(toldUser[0].find("我的记事\\备忘\\default"), std::string::npos) << toldUser[0];
        held.Release();
        EXPECT_EQ(ScratchFolder::ReadBytes(InNotes("备忘\\default")), "原来的备忘");
    });
    script.Then("the next tick reads it", [&] { return window->Memo().HasRead(); });
    script.Do("now it is the memo", [&] {
        EXPECT_EQ(win::Window(window->Memo().Item(IDC_MEMO_TEXT)).Text(), "原来的备忘");
        EXPECT_EQ(window->Memo().Item(IDC_MEMO_TITLE).Text(), "记事小本");
        EXPECT_EQ(ScratchFolder::ReadBytes(InNotes("备忘\\default")), "原来的备忘");
        HWND edit = window->Memo().Item(IDC_MEMO_TEXT);
        SendMessageW(edit, EM_SETSEL, 5, 5);
        SendMessageW(edit, WM_CHAR, L'x', 0);
    });
    script.Then("saved after a pause in typing",
                [&] { return ScratchFolder::ReadBytes(InNotes("备忘\\default")) == "原来的备忘x"; });
    Run(script, window);
}

TEST_F(FileTroubleTest, ADamagedMemoIsKeptAndToldOf) {
    SetRegistryText(testing::kSettingsKey, L"MemoShow", L"1");
    const std::string damaged("前半\0后半", 9);
    ScratchFolder::WriteBytes(BeforeStart("备忘\\default"), damaged);
    Script script;
    script.Then("the user is told", [&] { return toldUser.size() == 1; });
    script.Do("check", [&] {
        EXPECT_NE(toldUser[0].find("我的记事\\备忘\\default.bad"), std::string::npos) << toldUser[0];
        EXPECT_EQ(ScratchFolder::ReadBytes(InNotes("备忘\\default.bad")), damaged);
        EXPECT_EQ(ScratchFolder::ReadBytes(InNotes("备忘\\default")), damaged);  // not written without a change
        EXPECT_EQ(win::Window(window->Memo().Item(IDC_MEMO_TEXT)).Text(), "前半");
    });
    Run(script, window);
}

TEST_F(FileTroubleTest, ALunarDay30NoteLivesOnTheLastDayOfA29DayMonth) {
    // The eve of 2024 fell on the 30th of the 12th month; in January 2025
    // that month has 29 days and the eve is January 28, its 29th.
    ScratchFolder::WriteBytes(BeforeStart("日历\\012"), NoteFileBytes({{30, "除夕"}}));
    today = Date(2025, 1, 20);
    Script script;
    script.Do("hover the eve", [&] { EXPECT_EQ(window->Grid().Notes().ComposeDayNotes(28), "除夕"); });
    script.Do("click it", [&] { ClickDay(28); });
    script.Then("the note dialog", Opens());
    script.Do("the note is there; OK without a change", [&] {
        EXPECT_EQ(EditText(IDC_LUNAR_NOTE), "除夕");
        EXPECT_NE(EditText(IDC_LUNAR_LABEL).find("三十"), std::string::npos) << EditText(IDC_LUNAR_LABEL);
        PressOk();
    });
    script.Then("it closes", Closes());
    script.Do("the note is still there", [&] { EXPECT_EQ(NoteFile("012"), NoteFileBytes({{30, "除夕"}})); });
    EditDay(script, 28, IDC_LUNAR_NOTE, "守岁");
    script.Do("an edit keeps it the 30th's", [&] { EXPECT_EQ(NoteFile("012"), NoteFileBytes({{30, "守岁"}})); });
    Run(script, window);
}

}  // namespace
}  // namespace almanac

#include "tests/app/AppFixture.h"

namespace almanac {
namespace {

using testing::kRunKey;
using testing::kSettingsKey;
using testing::RegistryText;
using testing::ScratchFolder;
using testing::SetRegistryText;

class SettingsTest : public testing::AppFixture {};

TEST_F(SettingsTest, WrittenSettingsReadBackAndMissingOnesFail) {
    std::string text;
    EXPECT_EQ(ReadSetting(SETTINGS_KEY, "PosX", text), -1);  // no key yet, and none created
    EXPECT_FALSE(RegistryText(kSettingsKey, L"PosX"));
    EXPECT_EQ(WriteSetting(SETTINGS_KEY, "PosX", "-20"), 0);
    EXPECT_EQ(RegistryText(kSettingsKey, L"PosX"), L"-20");
    EXPECT_EQ(ReadSetting(SETTINGS_KEY, "PosX", text), 0);
    EXPECT_EQ(text, "-20");
    EXPECT_EQ(ReadSetting(SETTINGS_KEY, "PosY", text), -1);
}

TEST_F(SettingsTest, NumbersReadAsAtoiReadsThem) {
    const std::pair<const wchar_t*, int> cases[] = {
        {L"-20", -20}, {L"abc", 0}, {L"01", 1}, {L"  42px", 42}, {L"+7", 7}, {L"", 0}, {L"99999999999", 2147483647},
    };
    for (auto [text, value] : cases) {
        SetRegistryText(kSettingsKey, L"MemoX", text);
        EXPECT_EQ(ReadNumberSetting("MemoX"), value) << win::Narrow(text);
    }
}

TEST_F(SettingsTest, AValueTooLongForTheBufferFailsToRead) {
    SetRegistryText(kSettingsKey, L"PosX", std::wstring(254, L'7'));
    std::string text;
    EXPECT_EQ(ReadSetting(SETTINGS_KEY, "PosX", text), 0);
    SetRegistryText(kSettingsKey, L"PosX", std::wstring(255, L'7'));
    EXPECT_EQ(ReadSetting(SETTINGS_KEY, "PosX", text), -1);
}

TEST_F(SettingsTest, AutostartFollowsTheExecutable) {
    EXPECT_FALSE(CheckAutostart());  // missing: written
    EXPECT_EQ(RegistryText(kRunKey, L"Kelvadar"), win::Wide(ExecutablePath()));
    EXPECT_TRUE(CheckAutostart());

    // A moved executable, or one that differs only in letter case, is followed.
    std::wstring path = win::Wide(ExecutablePath());
    for (wchar_t& c : path) c = wchar_t(towupper(c));
    SetRegistryText(kRunKey, L"Kelvadar", path);
    EXPECT_FALSE(CheckAutostart());
    EXPECT_EQ(RegistryText(kRunKey, L"Kelvadar"), win::Wide(ExecutablePath()));

    SetAutostart(false, AUTOSTART_VALUE);
    EXPECT_FALSE(RegistryText(kRunKey, L"Kelvadar"));
}

TEST_F(SettingsTest, TheNotesFolderGoesUnderTheDocumentsFolder) {
    NotesFolderCheck check = EnterNotesFolder([this] { return std::optional(documents); });
    EXPECT_FALSE(check.notesFolder);
    EXPECT_TRUE(check.subfolders.empty());
    EXPECT_EQ(win::Narrow(std::filesystem::current_path().wstring()), documents + "\\我的记事");
    EXPECT_TRUE(ScratchFolder::Exists("日历"));
    EXPECT_TRUE(ScratchFolder::Exists("备忘"));
}

TEST_F(SettingsTest, WithoutADocumentsFolderTheProfileFolderStandsIn) {
    std::optional<std::string> profile = ShellProfileFolder();
    ASSERT_TRUE(profile);
    EnterNotesFolder([] { return std::nullopt; });
    EXPECT_EQ(win::Narrow(std::filesystem::current_path().wstring()), *profile + "\\我的记事");
    EXPECT_TRUE(ScratchFolder::Exists("日历"));
    // Leave the profile as it was.
    std::filesystem::current_path(std::filesystem::current_path().parent_path());
    std::filesystem::remove_all(std::filesystem::path(win::Wide(*profile + "\\我的记事")));
}

// A file where a folder of the notes belongs: the folder is named, and
// nothing is made outside the notes folder (once, "..", taken after a step
// that failed, put the notes in the documents folder or the start folder).
struct OddFolder {
    const char* name;
    const char* file;  // under the documents folder, where a folder belongs
    bool notesFolderEntered;
};

class OddFolderTest : public SettingsTest, public ::testing::WithParamInterface<OddFolder> {};

TEST_P(OddFolderTest, IsNamedAndNothingLandsElsewhere) {
    const OddFolder& odd = GetParam();
    const std::string start = win::Narrow(std::filesystem::current_path().wstring());
    if (std::string_view(odd.file) != "我的记事") ScratchFolder::MakeFolder("文档\\我的记事");
    ScratchFolder::WriteBytes(std::string("文档\\") + odd.file, "a file, not a folder");

    NotesFolderCheck check = EnterNotesFolder([this] { return std::optional(documents); });
    const std::string problemPath = documents + "\\" + odd.file;
    const std::string current = win::Narrow(std::filesystem::current_path().wstring());
    if (odd.notesFolderEntered) {
        EXPECT_FALSE(check.notesFolder);
        ASSERT_EQ(check.subfolders.size(), 1u);
        EXPECT_EQ(check.subfolders[0].path, problemPath);
        EXPECT_EQ(check.subfolders[0].reason, "这是一个文件，不是文件夹。");
        EXPECT_EQ(current, documents + "\\我的记事");
    } else {
        ASSERT_TRUE(check.notesFolder);
        EXPECT_EQ(check.notesFolder->path, problemPath);
        EXPECT_EQ(check.notesFolder->reason, "这是一个文件，不是文件夹。");
        EXPECT_TRUE(check.subfolders.empty());
        EXPECT_EQ(current, start);
    }
    for (const std::string& outside : {start, documents}) {
        EXPECT_FALSE(ScratchFolder::Exists(outside + "\\日历")) << outside;
        EXPECT_FALSE(ScratchFolder::Exists(outside + "\\备忘")) << outside;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Folders, OddFolderTest,
    ::testing::Values(OddFolder{"NotesFolder", "我的记事", false}, OddFolder{"CalendarFolder", "我的记事\\日历", true},
                      OddFolder{"MemoFolder", "我的记事\\备忘", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, ANotesFolderThatCannotBeMadeLeavesTheCurrentDirectory) {
    const auto before = std::filesystem::current_path();
    ScratchFolder::WriteBytes("blocked", "a file, not a folder");
    NotesFolderCheck check = EnterNotesFolder([] { return std::optional<std::string>("blocked"); });
    ASSERT_TRUE(check.notesFolder);
    EXPECT_EQ(check.notesFolder->path, "blocked\\我的记事");
    EXPECT_FALSE(check.notesFolder->reason.empty());
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_FALSE(ScratchFolder::Exists("日历"));
    EXPECT_FALSE(ScratchFolder::Exists("备忘"));
}

}  // namespace
}  // namespace almanac

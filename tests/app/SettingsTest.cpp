#include "tests/app/AppFixture.h"

#include <cstdint>

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
        EXPECT_EQ(ReadNumberSetting("MemoX"), value) << text::Narrow(text);
    }
}

// Sets a value of any type, as a user in regedit or a tool may.
void SetRegistryValue(const wchar_t* value, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, value, type, data, size), ERROR_SUCCESS);
}

TEST_F(SettingsTest, NumbersWrittenAsNumbersReadAsNumbers) {
    const DWORD memoShown = 1, left = DWORD(-1200), large = 0xFFFFFFFF;
    const unsigned long long wide = 640, past = 1ULL << 40;
    const std::uint32_t negativeWide[2] = {DWORD(-30), 0xFFFFFFFF};  // -30 as a QWORD
    SetRegistryValue(L"MemoShow", REG_DWORD, &memoShown, sizeof memoShown);
    SetRegistryValue(L"PosX", REG_DWORD, &left, sizeof left);
    SetRegistryValue(L"PosY", REG_QWORD, &wide, sizeof wide);
    SetRegistryValue(L"MemoX", REG_QWORD, negativeWide, sizeof negativeWide);
    SetRegistryValue(L"MemoY", REG_QWORD, &past, sizeof past);
    EXPECT_EQ(ReadNumberSetting("MemoShow"), 1);
    EXPECT_EQ(ReadNumberSetting("PosX"), -1200);  // a position left of the main screen
    EXPECT_EQ(ReadNumberSetting("PosY"), 640);
    EXPECT_EQ(ReadNumberSetting("MemoX"), -30);
    EXPECT_EQ(ReadNumberSetting("MemoY"), 2147483647);  // past an int: the largest, as for text
    SetRegistryValue(L"MemoY", REG_DWORD, &large, sizeof large);
    EXPECT_EQ(ReadNumberSetting("MemoY"), -1);
    // Reading rewrites nothing: MemoShow is still the user's DWORD.
    DWORD type = 0;
    RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, L"MemoShow", RRF_RT_ANY, &type, nullptr, nullptr);
    EXPECT_EQ(type, DWORD(REG_DWORD));
}

TEST_F(SettingsTest, ValuesOfOtherTypesAreAbsent) {
    const BYTE bytes[] = {'4', '2', 0, 0};
    const wchar_t list[] = L"42\0\0";
    const DWORD shortDword = 7;
    SetRegistryValue(L"PosX", REG_BINARY, bytes, sizeof bytes);
    SetRegistryValue(L"PosY", REG_MULTI_SZ, list, sizeof list);
    SetRegistryValue(L"MemoX", REG_DWORD, &shortDword, 2);  // a DWORD of the wrong size
    SetRegistryValue(L"MemoY", REG_NONE, nullptr, 0);
    for (const char* name : {"PosX", "PosY", "MemoX", "MemoY"}) EXPECT_EQ(ReadNumberSetting(name), std::nullopt) << name;
    std::string text;
    EXPECT_EQ(ReadSetting(SETTINGS_KEY, "PosX", text), -1);
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
    EXPECT_EQ(RegistryText(kRunKey, L"Kelvadar"), text::Wide(ExecutablePath()));
    EXPECT_TRUE(CheckAutostart());

    // A moved executable, or one that differs only in letter case, is followed.
    std::wstring path = text::Wide(ExecutablePath());
    for (wchar_t& c : path) c = wchar_t(towupper(c));
    SetRegistryText(kRunKey, L"Kelvadar", path);
    EXPECT_FALSE(CheckAutostart());
    EXPECT_EQ(RegistryText(kRunKey, L"Kelvadar"), text::Wide(ExecutablePath()));

    SetAutostart(false, AUTOSTART_VALUE);
    EXPECT_FALSE(RegistryText(kRunKey, L"Kelvadar"));
}

TEST_F(SettingsTest, TheNotesFolderGoesUnderTheDocumentsFolderAndTheCurrentDirectoryStays) {
    const auto before = std::filesystem::current_path();
    NotesFolderCheck check = PrepareNotesFolder([this] { return std::optional(documents); });
    EXPECT_FALSE(check.notesFolder);
    EXPECT_TRUE(check.subfolders.empty());
    ASSERT_TRUE(check.folder);
    EXPECT_EQ(check.folder->Path(), documents + "\\我的记事");
    EXPECT_TRUE(ScratchFolder::Exists(documents + "\\我的记事\\日历"));
    EXPECT_TRUE(ScratchFolder::Exists(documents + "\\我的记事\\备忘"));
    EXPECT_EQ(std::filesystem::current_path(), before);
}

TEST_F(SettingsTest, WithoutADocumentsFolderTheProfileFolderStandsIn) {
    std::optional<std::string> profile = ShellProfileFolder();
    ASSERT_TRUE(profile);
    NotesFolderCheck check = PrepareNotesFolder([] { return std::nullopt; });
    ASSERT_TRUE(check.folder);
    EXPECT_EQ(check.folder->Path(), *profile + "\\我的记事");
    EXPECT_TRUE(ScratchFolder::Exists(*profile + "\\我的记事\\日历"));
    // Leave the profile as it was.
    std::filesystem::remove_all(std::filesystem::path(text::Wide(*profile + "\\我的记事")));
}

// A documents folder given as a relative path is named by its full path:
// whatever the process's current directory becomes, the notes stay.
TEST_F(SettingsTest, TheNotesFolderIsNamedByItsFullPath) {
    NotesFolderCheck check = PrepareNotesFolder([] { return std::optional<std::string>("文档"); });
    ASSERT_TRUE(check.folder);
    EXPECT_EQ(check.folder->Path(), documents + "\\我的记事");
}

// A file where a folder of the notes belongs: the folder is named, and
// nothing is made outside the notes folder.
struct OddFolder {
    const char* name;
    const char* file;  // under the documents folder, where a folder belongs
    bool notesFolderMade;
};

class OddFolderTest : public SettingsTest, public ::testing::WithParamInterface<OddFolder> {};

TEST_P(OddFolderTest, IsNamedAndNothingLandsElsewhere) {
    const OddFolder& odd = GetParam();
    const std::string start = text::Narrow(std::filesystem::current_path().wstring());
    if (std::string_view(odd.file) != "我的记事") ScratchFolder::MakeFolder("文档\\我的记事");
    ScratchFolder::WriteBytes(std::string("文档\\") + odd.file, "a file, not a folder");

    NotesFolderCheck check = PrepareNotesFolder([this] { return std::optional(documents); });
    const std::string problemPath = documents + "\\" + odd.file;
    if (odd.notesFolderMade) {
        EXPECT_FALSE(check.notesFolder);
        ASSERT_TRUE(check.folder);
        ASSERT_EQ(check.subfolders.size(), 1u);
        EXPECT_EQ(check.subfolders[0].path, problemPath);
        EXPECT_EQ(check.subfolders[0].reason, "这是一个文件，不是文件夹。");
    } else {
        ASSERT_TRUE(check.notesFolder);
        EXPECT_FALSE(check.folder);
        EXPECT_EQ(check.notesFolder->path, problemPath);
        EXPECT_EQ(check.notesFolder->reason, "这是一个文件，不是文件夹。");
        EXPECT_TRUE(check.subfolders.empty());
    }
    EXPECT_EQ(text::Narrow(std::filesystem::current_path().wstring()), start);
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

TEST_F(SettingsTest, ANotesFolderThatCannotBeMadeIsNamed) {
    ScratchFolder::WriteBytes("blocked", "a file, not a folder");
    NotesFolderCheck check = PrepareNotesFolder([] { return std::optional<std::string>("blocked"); });
    ASSERT_TRUE(check.notesFolder);
    EXPECT_FALSE(check.folder);
    EXPECT_EQ(check.notesFolder->path, text::Narrow(std::filesystem::current_path().wstring()) + "\\blocked\\我的记事");
    EXPECT_FALSE(check.notesFolder->reason.empty());
    EXPECT_FALSE(ScratchFolder::Exists("日历"));
    EXPECT_FALSE(ScratchFolder::Exists("备忘"));
}

}  // namespace
}  // namespace almanac

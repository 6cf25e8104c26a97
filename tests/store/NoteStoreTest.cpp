#include "store/NoteStore.h"

#include "store/WholeFile.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <random>

namespace almanac {
namespace {

using testing::NoteFileBytes;
using testing::ScratchFolder;

class NoteStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ScratchFolder::MakeNoteFolders(); }
    ScratchFolder scratch;
};

TEST_F(NoteStoreTest, TheThirteenByteExampleLoadsAndSavesBackUnchanged) {
    const std::string example("\x64\x00\x05\x00\x03\x00\x00\x00\x00\x00" "abc", 13);
    ScratchFolder::WriteBytes("日历\\200612", example);

    NoteTable table;
    EXPECT_EQ(table.LoadMonth(2006, 12), 0);
    EXPECT_EQ(table.Slot(5).text, "abc");
    EXPECT_EQ(table.Slot(5).Length(), 3);
    EXPECT_EQ(table.Slot(5).colour, 0u);
    EXPECT_EQ(table.Save(), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\200612"), example);
}

TEST_F(NoteStoreTest, TablesBindToTheirFiles) {
    NoteTable table;
    table.LoadMonth(2006, 12);
    EXPECT_EQ(table.Path(), "日历\\200612");
    EXPECT_EQ(table.MaxIndex(), 31);
    table.LoadMonth(1, 2);
    EXPECT_EQ(table.Path(), "日历\\102");
    table.LoadMonth(0, 11);
    EXPECT_EQ(table.Path(), "日历\\011");
    table.LoadWeek();
    EXPECT_EQ(table.Path(), "日历\\week");
    EXPECT_EQ(table.MaxIndex(), 7);
}

TEST_F(NoteStoreTest, SavesWriteEveryPresentSlotInOrderAndDeleteAnEmptyFile) {
    NoteTable table;
    table.LoadWeek();
    ASSERT_EQ(table.SetAndSave(3, "周三", 0), NOTE_OK);
    ASSERT_EQ(table.SetAndSave(1, "x", NOTE_CUSTOM_COLOUR | 0x123456), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\week"),
              NoteFileBytes({{1, "x", NOTE_CUSTOM_COLOUR | 0x123456}, {3, "周三"}}));

    // An empty text with the user's colour stays as a record of length 0.
    ASSERT_EQ(table.SetAndSave(1, "", NOTE_CUSTOM_COLOUR | 0x123456), NOTE_OK);
    EXPECT_TRUE(table.Slot(1).IsPresent());
    EXPECT_FALSE(table.Slot(1).CarriesNote());
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\week"), NoteFileBytes({{1, "", NOTE_CUSTOM_COLOUR | 0x123456}, {3, "周三"}}));

    // Without it, an empty text empties the slot; the last one deletes the file.
    ASSERT_EQ(table.SetAndSave(1, "", 0), NOTE_OK);
    ASSERT_EQ(table.SetAndSave(3, std::string_view("\0x", 2), 0), NOTE_OK);  // a leading NUL is empty too
    EXPECT_FALSE(table.Slot(3).IsPresent());
    EXPECT_FALSE(ScratchFolder::Exists("日历\\week"));
}

struct LoadCase {
    const char* name;
    std::string bytes;
    int result;
    std::vector<std::pair<int, std::string>> notes;  // the slots that hold a text
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const LoadCase& c, std::ostream* out) { *out << c.name; }

class NoteLoadTest : public NoteStoreTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(NoteLoadTest, LoadsWhatTheFileHolds) {
    const LoadCase& c = GetParam();
    ScratchFolder::WriteBytes("日历\\week", c.bytes);
    NoteTable table;
    EXPECT_EQ(table.LoadWeek(), c.result);
    std::vector<std::pair<int, std::string>> notes;
    for (int i = 0; i <= table.MaxIndex(); ++i)
        if (table.Slot(i).IsPresent()) notes.emplace_back(i, *table.Slot(i).text);
    EXPECT_EQ(notes, c.notes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, NoteLoadTest,
    ::testing::Values(
        LoadCase{"OtherHeader", NoteFileBytes({{2, "a"}}, 0x1234), 0, {{2, "a"}}},
        LoadCase{"Empty", "", 0, {}},
        LoadCase{"HeaderOnly", NoteFileBytes({}), 0, {}},
        LoadCase{"SlotBeyondTheWeek", NoteFileBytes({{1, "a"}, {8, "b"}, {2, "c"}}), -1, {{1, "a"}}},
        LoadCase{"NegativeSlot", NoteFileBytes({{1, "a"}, {0xFFFF, "b"}}), -1, {{1, "a"}}},
        LoadCase{"CutRecordHeader", NoteFileBytes({{1, "a"}}) + std::string("\x02\x00\x01", 3), -1, {{1, "a"}}},
        LoadCase{"CutText", NoteFileBytes({{1, "a"}, {2, "bcd"}}).substr(0, 20), -1, {{1, "a"}}},
        LoadCase{"SameSlotTwice", NoteFileBytes({{1, "a"}, {1, "b"}}), 0, {{1, "b"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NoteStoreTest, LoadingAgainReplacesEverySlot) {
    ScratchFolder::WriteBytes("日历\\202402", NoteFileBytes({{5, "old"}}));
    NoteTable table;
    table.LoadMonth(2024, 2);
    ScratchFolder::WriteBytes("日历\\202402", NoteFileBytes({{6, "new"}}));
    table.LoadMonth(2024, 2);
    EXPECT_FALSE(table.Slot(5).IsPresent());
    EXPECT_EQ(table.Slot(6).text, "new");
}

TEST(NoteColourTest, UsersColourOrTheKindsDefault) {
    EXPECT_EQ(NoteColour(0x010000FF, NOTE_LUNAR_YEARLY), 0x0000FFu);
    EXPECT_EQ(NoteColour(0x01000000, NOTE_ONE_OFF), 0x000000u);  // black is a colour too
    EXPECT_EQ(NoteColour(0, NOTE_ONE_OFF), 0xFACE87u);
    EXPECT_EQ(NoteColour(0x00123456, NOTE_GREGORIAN_YEARLY), 0x0000FFu);  // no flag: the default
    EXPECT_EQ(NoteColour(0, NOTE_LUNAR_YEARLY), 0xFF0080u);
    EXPECT_EQ(NoteColour(0, NOTE_WEEKLY), 0x0000FFu);
    EXPECT_EQ(NoteColour(0, 7), 0xFF0000u);
}

TEST_F(NoteStoreTest, ATextTooLongForTheFileIsRefusedAndNothingChanges) {
    NoteTable table;
    table.LoadMonth(2024, 2);
    ASSERT_EQ(table.SetAndSave(9, "before", 0), NOTE_OK);
    const auto fileBefore = ScratchFolder::ReadBytes("日历\\202402");

    EXPECT_EQ(table.SetAndSave(9, std::string(NOTE_MAX_TEXT + 1, 'x'), 0), NOTE_TOO_LONG);
    EXPECT_EQ(table.Slot(9).text, "before");
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), fileBefore);

    // The longest text that fits is stored whole.
    std::string longest(NOTE_MAX_TEXT, 'y');
    ASSERT_EQ(table.SetAndSave(9, longest, 0), NOTE_OK);
    NoteTable reloaded;
    EXPECT_EQ(reloaded.LoadMonth(2024, 2), 0);
    EXPECT_EQ(reloaded.Slot(9).text, longest);
}

TEST_F(NoteStoreTest, SlotsOutsideTheTableAreRefused) {
    NoteTable table;
    table.LoadWeek();
    EXPECT_EQ(table.SetAndSave(8, "x", 0), NOTE_BAD_SLOT);
    EXPECT_EQ(table.SetAndSave(-1, "x", 0), NOTE_BAD_SLOT);
    EXPECT_FALSE(table.Slot(8).IsPresent());
    EXPECT_FALSE(ScratchFolder::Exists("日历\\week"));
}

TEST_F(NoteStoreTest, AFailedWriteIsReportedAndTheTextStaysInMemory) {
    ScratchFolder::RemoveFolder("日历");
    NoteTable table;
    EXPECT_EQ(table.LoadMonth(2024, 2), 0);  // no folder: no notes

    EXPECT_EQ(table.SetAndSave(9, "keep me", 0), NOTE_WRITE_FAILED);
    EXPECT_NE(table.LastSystemError(), 0);
    EXPECT_FALSE(SystemErrorText(table.LastSystemError()).empty());
    EXPECT_EQ(table.Slot(9).text, "keep me");

    ScratchFolder::MakeFolder("日历");  // the user mends it and tries again
    EXPECT_EQ(table.Save(), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), NoteFileBytes({{9, "keep me"}}));
}

TEST_F(NoteStoreTest, AFailedDeleteIsReported) {
    NoteTable table;
    table.LoadMonth(2024, 2);
    ASSERT_EQ(table.SetAndSave(9, "x", 0), NOTE_OK);
    // Something that cannot be deleted as a file now stands in its place.
    ASSERT_EQ(RemoveFile("日历\\202402"), 0);
    ScratchFolder::MakeFolder("日历\\202402");
    ScratchFolder::WriteBytes("日历\\202402\\inside", "x");
    EXPECT_EQ(table.SetAndSave(9, "", 0), NOTE_WRITE_FAILED);
    EXPECT_TRUE(ScratchFolder::Exists("日历\\202402\\inside"));
}

TEST_F(NoteStoreTest, AFileThatCannotBeReadIsNeverOverwritten) {
    ScratchFolder::MakeFolder("日历\\202402");  // exists, but reads as no file
    ScratchFolder::WriteBytes("日历\\202402\\inside", "x");
    NoteTable table;
    EXPECT_EQ(table.LoadMonth(2024, 2), -1);
    EXPECT_EQ(table.SetAndSave(9, "new", 0), NOTE_FILE_UNREADABLE);
    EXPECT_TRUE(ScratchFolder::Exists("日历\\202402\\inside"));
}

TEST_F(NoteStoreTest, ADamagedFileIsKeptBesideItBeforeTheFirstSave) {
    const std::string damaged = NoteFileBytes({{1, "one"}, {2, "two"}, {40, "lost?"}, {3, "three"}});
    ScratchFolder::WriteBytes("日历\\202402", damaged);

    NoteTable table;
    EXPECT_EQ(table.LoadMonth(2024, 2), -1);
    EXPECT_EQ(table.Slot(2).text, "two");
    EXPECT_FALSE(table.Slot(3).IsPresent());

    ASSERT_EQ(table.SetAndSave(9, "nine", 0), NOTE_OK);
    EXPECT_EQ(table.DamagedCopyPath(), "日历\\202402.bad");
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402.bad"), damaged);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), NoteFileBytes({{1, "one"}, {2, "two"}, {9, "nine"}}));

    // Later saves do not copy again; a file damaged again gets a new copy
    // and the first one stays.
    ASSERT_EQ(table.SetAndSave(10, "ten", 0), NOTE_OK);
    EXPECT_FALSE(ScratchFolder::Exists("日历\\202402.bad2"));
    const std::string damagedAgain = NoteFileBytes({{1, "again"}}) + "\x01";
    ScratchFolder::WriteBytes("日历\\202402", damagedAgain);
    EXPECT_EQ(table.LoadMonth(2024, 2), -1);
    ASSERT_EQ(table.SetAndSave(1, "mended", 0), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402.bad"), damaged);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402.bad2"), damagedAgain);
}

TEST_F(NoteStoreTest, ADamagedFileIsNotReplacedWhenItsCopyCannotBeKept) {
    const std::string damaged = NoteFileBytes({{1, "one"}}) + "\x07";
    ScratchFolder::WriteBytes("日历\\202402", damaged);
    NoteTable table;
    table.LoadMonth(2024, 2);
    // Every copy name is taken by a folder, so no copy can be written.
    ScratchFolder::MakeFolder("日历\\202402.bad");
    for (int n = 2; n <= 99; ++n) ScratchFolder::MakeFolder("日历\\202402.bad" + std::to_string(n));
    EXPECT_EQ(table.SetAndSave(9, "nine", 0), NOTE_WRITE_FAILED);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), damaged);
}

TEST_F(NoteStoreTest, EveryCutAndScrambledFileLoadsSafely) {
    // Whatever the bytes, a load keeps the records that are whole and
    // touches nothing outside its buffers (the sanitizers watch).
    const std::string file = NoteFileBytes({{1, "one"}, {5, "五"}, {31, "", NOTE_CUSTOM_COLOUR}, {30, "end"}});
    for (std::size_t cut = 0; cut <= file.size(); ++cut) {
        ScratchFolder::WriteBytes("日历\\202402", file.substr(0, cut));
        NoteTable table;
        table.LoadMonth(2024, 2);
        if (cut >= 13) {
            EXPECT_EQ(table.Slot(1).text, "one") << cut;
        }
        if (cut < file.size()) {
            EXPECT_FALSE(table.Slot(30).IsPresent()) << cut;
        }
    }
    std::mt19937 random(20261210);
    for (int round = 0; round < 500; ++round) {
        std::string scrambled = file;
        for (int flips = 0; flips < 3; ++flips) scrambled[random() % scrambled.size()] = char(random());
        ScratchFolder::WriteBytes("日历\\202402", scrambled);
        NoteTable table;
        table.LoadMonth(2024, 2);
        for (int i = 0; i <= table.MaxIndex(); ++i) EXPECT_LE(table.Slot(i).Length(), scrambled.size());
    }
}

}  // namespace
}  // namespace almanac

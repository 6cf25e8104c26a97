#include "store/NoteStore.h"

#include "store/TemporaryFiles.h"
#include "store/WholeFile.h"
#include "testkit/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace almanac {
namespace {

using LoadState = NoteTable::LoadState;

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
    EXPECT_EQ(table.LoadMonth(scratch.Notes(), 2006, 12), LoadState::Clean);
    EXPECT_EQ(table.Slot(5).text, "abc");
    EXPECT_EQ(table.Slot(5).Length(), 3);
    EXPECT_EQ(table.Slot(5).colour, 0u);
    EXPECT_EQ(table.Save(), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\200612"), example);
}

TEST_F(NoteStoreTest, TablesBindToTheirFiles) {
    NoteTable table;
    table.LoadMonth(scratch.Notes(), 2006, 12);
    EXPECT_EQ(table.Path(), scratch.Notes().PathOf("日历\\200612"));
    EXPECT_EQ(table.MaxIndex(), 31);
    table.LoadMonth(scratch.Notes(), 1, 2);
    EXPECT_EQ(table.Path(), scratch.Notes().PathOf("日历\\102"));
    table.LoadMonth(scratch.Notes(), 0, 11);
    EXPECT_EQ(table.Path(), scratch.Notes().PathOf("日历\\011"));
    table.LoadWeek(scratch.Notes());
    EXPECT_EQ(table.Path(), scratch.Notes().PathOf("日历\\week"));
    EXPECT_EQ(table.MaxIndex(), 7);
}

TEST_F(NoteStoreTest, SavesWriteEveryPresentSlotInOrderAndDeleteAnEmptyFile) {
    NoteTable table;
    table.LoadWeek(scratch.Notes());
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
    std::vector<std::pair<int, std::string>> notes;  // the slots that hold a text
    LoadState state = LoadState::Clean;               // Damaged: a save keeps the original first
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const LoadCase& c, std::ostream* out) { *out << c.name; }

class NoteLoadTest : public NoteStoreTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(NoteLoadTest, LoadsWhatTheFileHolds) {
    const LoadCase& c = GetParam();
    ScratchFolder::WriteBytes("日历\\week", c.bytes);
    NoteTable table;
    EXPECT_EQ(table.LoadWeek(scratch.Notes()), c.state);
    std::vector<std::pair<int, std::string>> notes;
    for (int i = 0; i <= table.MaxIndex(); ++i)
        if (table.Slot(i).IsPresent()) notes.emplace_back(i, *table.Slot(i).text);
    EXPECT_EQ(notes, c.notes);
    EXPECT_EQ(table.State(), c.state);
}

INSTANTIATE_TEST_SUITE_P(
    Files, NoteLoadTest,
    ::testing::Values(
        LoadCase{"OtherHeader", NoteFileBytes({{2, "a"}}, 0x1234), {{2, "a"}}},
        LoadCase{"Empty", "", {}},
        LoadCase{"HeaderOnly", NoteFileBytes({}), {}},
        LoadCase{"SlotBeyondTheWeek", NoteFileBytes({{1, "a"}, {8, "b"}, {2, "c"}}), {{1, "a"}}, LoadState::Damaged},
        LoadCase{"NegativeSlot", NoteFileBytes({{1, "a"}, {0xFFFF, "b"}}), {{1, "a"}}, LoadState::Damaged},
        LoadCase{"CutRecordHeader", NoteFileBytes({{1, "a"}}) + std::string("\x02\x00\x01", 3), {{1, "a"}},
                 LoadState::Damaged},
        LoadCase{"CutText", NoteFileBytes({{1, "a"}, {2, "bcd"}}).substr(0, 20), {{1, "a"}}, LoadState::Damaged},
        // Loaded by the usual rules, but a save would drop what they hold.
        LoadCase{"SameSlotTwice", NoteFileBytes({{1, "a"}, {1, "b"}}), {{1, "b"}}, LoadState::Damaged},
        LoadCase{"TextBeginningWithNul", NoteFileBytes({{1, "a"}, {4, std::string_view("\0abc", 4)}}), {{1, "a"}},
                 LoadState::Damaged},
        // Nothing is lost: the user's colour keeps such a text, and an empty
        // record without one holds nothing.
        LoadCase{"NulTextWithTheUsersColour", NoteFileBytes({{4, std::string_view("\0abc", 4), NOTE_CUSTOM_COLOUR}}),
                 {{4, std::string("\0abc", 4)}}},
        LoadCase{"EmptyRecord", NoteFileBytes({{3, ""}, {5, "e"}}), {{5, "e"}}},
        LoadCase{"RecordsOutOfOrder", NoteFileBytes({{5, "e"}, {3, "c"}}), {{3, "c"}, {5, "e"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NoteStoreTest, LoadingAgainReplacesEverySlot) {
    ScratchFolder::WriteBytes("日历\\202402", NoteFileBytes({{5, "old"}}));
    NoteTable table;
    table.LoadMonth(scratch.Notes(), 2024, 2);
    ScratchFolder::WriteBytes("日历\\202402", NoteFileBytes({{6, "new"}}));
    table.LoadMonth(scratch.Notes(), 2024, 2);
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
    table.LoadMonth(scratch.Notes(), 2024, 2);
    ASSERT_EQ(table.SetAndSave(9, "before", 0), NOTE_OK);
    const auto fileBefore = ScratchFolder::ReadBytes("日历\\202402");

    EXPECT_EQ(table.SetAndSave(9, std::string(NOTE_MAX_TEXT + 1, 'x'), 0), NOTE_TOO_LONG);
    EXPECT_EQ(table.Slot(9).text, "before");
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), fileBefore);

    // The longest text that fits is stored whole.
    std::string longest(NOTE_MAX_TEXT, 'y');
    ASSERT_EQ(table.SetAndSave(9, longest, 0), NOTE_OK);
    NoteTable reloaded;
    EXPECT_EQ(reloaded.LoadMonth(scratch.Notes(), 2024, 2), LoadState::Clean);
    EXPECT_EQ(reloaded.Slot(9).text, longest);
}

TEST_F(NoteStoreTest, SlotsOutsideTheTableAreRefused) {
    NoteTable table;
    table.LoadWeek(scratch.Notes());
    EXPECT_EQ(table.SetAndSave(8, "x", 0), NOTE_BAD_SLOT);
    EXPECT_EQ(table.SetAndSave(-1, "x", 0), NOTE_BAD_SLOT);
    EXPECT_FALSE(table.Slot(8).IsPresent());
    EXPECT_FALSE(ScratchFolder::Exists("日历\\week"));
}

TEST_F(NoteStoreTest, AFailedWriteIsReportedAndTheTextStaysInMemory) {
    ScratchFolder::RemoveFolder("日历");
    NoteTable table;
    EXPECT_EQ(table.LoadMonth(scratch.Notes(), 2024, 2), LoadState::Clean);  // no folder: no notes

    EXPECT_EQ(table.SetAndSave(9, "keep me", 0), NOTE_WRITE_FAILED);
    EXPECT_NE(table.LastSystemError(), 0);
    EXPECT_FALSE(SystemErrorText(table.LastSystemError()).empty());
    EXPECT_EQ(table.Slot(9).text, "keep me");

    ScratchFolder::MakeFolder("日历");  // the user mends it and tries again
    EXPECT_EQ(table.Save(), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), NoteFileBytes({{9, "keep me"}}));
}

// Another writer (a sync service, a second PC) changes the file between
// this table's read and its save: the slots merge, and nothing it wrote is
// written over unseen.
struct OtherWriterCase {
    const char* name;
    std::string before;  // the file as the table read it
    std::string other;   // the file as the other writer left it
    int slot;            // what the table then changes
    std::string text;
    std::string after;            // the file after the table's save
    std::vector<int> conflicted;  // slots both changed
};

void PrintTo(const OtherWriterCase& c, std::ostream* out) { *out << c.name; }

class OtherWriterTest : public NoteStoreTest, public ::testing::WithParamInterface<OtherWriterCase> {};

TEST_P(OtherWriterTest, MergesSlotBySlot) {
    const OtherWriterCase& c = GetParam();
    if (!c.before.empty()) ScratchFolder::WriteBytes("日历\\202402", c.before);
    NoteTable table;
    table.LoadMonth(scratch.Notes(), 2024, 2);
    if (c.other.empty())
        ScratchFolder::RemoveFile("日历\\202402");
    else
        ScratchFolder::WriteBytes("日历\\202402", c.other);
    ASSERT_EQ(table.SetAndSave(c.slot, c.text, 0), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), c.after);
    EXPECT_EQ(table.ConflictedSlots(), c.conflicted);
    // What the table now holds is what the file holds.
    NoteTable again;
    again.LoadMonth(scratch.Notes(), 2024, 2);
    for (int i = 0; i <= 31; ++i) EXPECT_EQ(table.Slot(i), again.Slot(i)) << i;
}

const std::string kBoth = std::string("我的") + std::string(NOTE_FROM_ELSEWHERE) + "他的";

INSTANTIATE_TEST_SUITE_P(
    Files, OtherWriterTest,
    ::testing::Values(
        OtherWriterCase{"AnotherSlotChanged", NoteFileBytes({{5, "五"}}), NoteFileBytes({{5, "五改"}, {7, "七"}}), 9, "九",
                        NoteFileBytes({{5, "五改"}, {7, "七"}, {9, "九"}}), {}},
        OtherWriterCase{"TheSameSlotChanged", NoteFileBytes({{9, "原"}}), NoteFileBytes({{9, "他的"}}), 9, "我的",
                        NoteFileBytes({{9, kBoth}}), {9}},
        OtherWriterCase{"TheSameSlotWrittenAlike", NoteFileBytes({{9, "原"}}), NoteFileBytes({{9, "同"}}), 9, "同",
                        NoteFileBytes({{9, "同"}}), {}},
        OtherWriterCase{"MadeWhileNoFileWasThere", "", NoteFileBytes({{3, "三"}}), 9, "九",
                        NoteFileBytes({{3, "三"}, {9, "九"}}), {}},
        OtherWriterCase{"RemovedByTheOther", NoteFileBytes({{5, "五"}}), "", 9, "九", NoteFileBytes({{9, "九"}}), {}},
        // Added to on both sides: the other's addition follows ours, once.
        OtherWriterCase{"AddedToOnBothSides", NoteFileBytes({{9, "开会"}}), NoteFileBytes({{9, "开会 三点"}}), 9,
                        "开会 下午", NoteFileBytes({{9, "开会 下午" + std::string(NOTE_FROM_ELSEWHERE) + " 三点"}}), {9}},
        // Ours no longer begins as both did: the other's text stays whole.
        OtherWriterCase{"ReplacedHereAddedToThere", NoteFileBytes({{9, "开会"}}), NoteFileBytes({{9, "开会 三点"}}), 9,
                        "我的", NoteFileBytes({{9, "我的" + std::string(NOTE_FROM_ELSEWHERE) + "开会 三点"}}), {9}},
        // Two characters that share their first byte (会 BBE1, 绘 BBE6) are
        // not split: the other's text keeps its whole character.
        OtherWriterCase{"ACharacterIsNeverSplit", NoteFileBytes({{9, "会"}}), NoteFileBytes({{9, "绘"}}), 9, "会议",
                        NoteFileBytes({{9, "会议" + std::string(NOTE_FROM_ELSEWHERE) + "绘"}}), {9}},
        // The other only cut the end off: nothing of theirs is missing from ours.
        OtherWriterCase{"CutShortThereAddedToHere", NoteFileBytes({{9, "开会 三点"}}), NoteFileBytes({{9, "开会"}}), 9,
                        "开会 三点 下午", NoteFileBytes({{9, "开会 三点 下午"}}), {}},
        OtherWriterCase{"ANoteTheOtherRemoved", NoteFileBytes({{5, "五"}, {9, "原"}}), NoteFileBytes({{9, "原"}}), 9,
                        "我的", NoteFileBytes({{9, "我的"}}), {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A damaged file the other writer left, or two texts too long for one note:
// the other's file is kept whole beside it before it is replaced.
TEST_F(NoteStoreTest, WhatTheOtherWriterLeftIsKeptWholeWhenItCannotMerge) {
    ScratchFolder::WriteBytes("日历\\202402", NoteFileBytes({{9, "原"}}));
    NoteTable table;
    table.LoadMonth(scratch.Notes(), 2024, 2);
    const std::string damaged = NoteFileBytes({{4, "四"}}) + "\x07";
    ScratchFolder::WriteBytes("日历\\202402", damaged);
    ASSERT_EQ(table.SetAndSave(9, "九", 0), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402.bad"), damaged);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), NoteFileBytes({{4, "四"}, {9, "九"}}));

    const std::string longText(NOTE_MAX_TEXT - 10, 'a');
    const std::string theirs = NoteFileBytes({{4, "四"}, {9, longText}});
    ScratchFolder::WriteBytes("日历\\202402", theirs);
    ASSERT_EQ(table.SetAndSave(9, longText + "b", 0), NOTE_OK);
    EXPECT_EQ(table.ConflictedSlots(), std::vector<int>{9});
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402.bad2"), theirs);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), NoteFileBytes({{4, "四"}, {9, longText + "b"}}));
}

TEST_F(NoteStoreTest, AFailedDeleteIsReported) {
    NoteTable table;
    table.LoadMonth(scratch.Notes(), 2024, 2);
    ASSERT_EQ(table.SetAndSave(9, "x", 0), NOTE_OK);
    // Something that cannot be deleted as a file now stands in its place.
    ASSERT_EQ(RemoveFile("日历\\202402"), FileResult::Done);
    ScratchFolder::MakeFolder("日历\\202402");
    ScratchFolder::WriteBytes("日历\\202402\\inside", "x");
    EXPECT_EQ(table.SetAndSave(9, "", 0), NOTE_WRITE_FAILED);
    EXPECT_TRUE(ScratchFolder::Exists("日历\\202402\\inside"));
}

TEST_F(NoteStoreTest, AFileThatCannotBeReadIsNeverOverwritten) {
    ScratchFolder::MakeFolder("日历\\202402");  // exists, but reads as no file
    ScratchFolder::WriteBytes("日历\\202402\\inside", "x");
    NoteTable table;
    EXPECT_EQ(table.LoadMonth(scratch.Notes(), 2024, 2), LoadState::Unreadable);
    EXPECT_EQ(table.SetAndSave(9, "new", 0), NOTE_FILE_UNREADABLE);
    EXPECT_TRUE(ScratchFolder::Exists("日历\\202402\\inside"));
}

TEST_F(NoteStoreTest, ADamagedFileIsKeptBesideItBeforeTheFirstSave) {
    const std::string damaged = NoteFileBytes({{1, "one"}, {2, "two"}, {40, "lost?"}, {3, "three"}});
    ScratchFolder::WriteBytes("日历\\202402", damaged);

    NoteTable table;
    EXPECT_EQ(table.LoadMonth(scratch.Notes(), 2024, 2), LoadState::Damaged);
    EXPECT_EQ(table.Slot(2).text, "two");
    EXPECT_FALSE(table.Slot(3).IsPresent());

    ASSERT_EQ(table.SetAndSave(9, "nine", 0), NOTE_OK);
    EXPECT_EQ(table.DamagedCopyPath(), scratch.Notes().PathOf("日历\\202402.bad"));
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402.bad"), damaged);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), NoteFileBytes({{1, "one"}, {2, "two"}, {9, "nine"}}));

    // Later saves do not copy again; a file damaged again gets a new copy
    // and the first one stays.
    ASSERT_EQ(table.SetAndSave(10, "ten", 0), NOTE_OK);
    EXPECT_FALSE(ScratchFolder::Exists("日历\\202402.bad2"));
    const std::string damagedAgain = NoteFileBytes({{1, "again"}}) + "\x01";
    ScratchFolder::WriteBytes("日历\\202402", damagedAgain);
    EXPECT_EQ(table.LoadMonth(scratch.Notes(), 2024, 2), LoadState::Damaged);
    ASSERT_EQ(table.SetAndSave(1, "mended", 0), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402.bad"), damaged);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402.bad2"), damagedAgain);
}

TEST_F(NoteStoreTest, ADamagedFileIsNotReplacedWhenItsCopyCannotBeKept) {
    const std::string damaged = NoteFileBytes({{1, "one"}}) + "\x07";
    ScratchFolder::WriteBytes("日历\\202402", damaged);
    NoteTable table;
    table.LoadMonth(scratch.Notes(), 2024, 2);
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
        table.LoadMonth(scratch.Notes(), 2024, 2);
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
        table.LoadMonth(scratch.Notes(), 2024, 2);
        for (int i = 0; i <= table.MaxIndex(); ++i) EXPECT_LE(table.Slot(i).Length(), scrambled.size());
    }
}

TEST_F(NoteStoreTest, AFileThatASaveWouldShortenIsKeptBesideItFirst) {
    for (const std::string& original : {NoteFileBytes({{1, "first"}, {1, "second"}, {2, "two"}}),
                                        NoteFileBytes({{1, std::string_view("\0hidden", 7)}, {2, "two"}})}) {
        ScratchFolder::WriteBytes("日历\\202402", original);
        NoteTable table;
        EXPECT_EQ(table.LoadMonth(scratch.Notes(), 2024, 2), LoadState::Damaged);
        ASSERT_EQ(table.SetAndSave(9, "nine", 0), NOTE_OK);
        EXPECT_EQ(table.State(), LoadState::Clean);
        EXPECT_EQ(ScratchFolder::ReadBytes(table.DamagedCopyPath()), original);
        ASSERT_EQ(RemoveFile(table.DamagedCopyPath()), FileResult::Done);
    }
}

// The longest file a month table can have written: 32 records of the
// longest text, 2 + 32 × (8 + 65535) bytes.
constexpr std::size_t kLargestMonthFile = 2097378;

std::string LargestMonthFile() {
    std::string text(NOTE_MAX_TEXT, 'x');
    std::string file = NoteFileBytes({});
    for (int slot = 0; slot < 32; ++slot) file += NoteFileBytes({{slot, text}}).substr(2);
    return file;
}

TEST_F(NoteStoreTest, AFileLargerThanAnyNoteFileIsDamagedAndKeptWhole) {
    std::string largest = LargestMonthFile();
    ASSERT_EQ(largest.size(), kLargestMonthFile);
    ScratchFolder::WriteBytes("日历\\202402", largest);
    NoteTable table;
    EXPECT_EQ(table.LoadMonth(scratch.Notes(), 2024, 2), LoadState::Clean);
    EXPECT_EQ(table.State(), LoadState::Clean);
    EXPECT_EQ(table.LargestFileSize(), kLargestMonthFile);

    // One byte more: the records within the largest size load, the rest
    // is not read, and a save keeps all of the original first.
    std::string tooLarge = largest + NoteFileBytes({{1, "extra"}}).substr(2);
    ScratchFolder::WriteBytes("日历\\202402", tooLarge);
    EXPECT_EQ(table.LoadMonth(scratch.Notes(), 2024, 2), LoadState::Damaged);
    EXPECT_EQ(table.State(), LoadState::Damaged);
    EXPECT_EQ(table.Slot(31).Length(), NOTE_MAX_TEXT);
    EXPECT_EQ(table.Slot(1).text, std::string(NOTE_MAX_TEXT, 'x'));
    ASSERT_EQ(table.SetAndSave(5, "five", 0), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402.bad"), tooLarge);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402")->size(), kLargestMonthFile - NOTE_MAX_TEXT + 4);
}

TEST_F(NoteStoreTest, WholeFilesAreReadUpToTheirLimit) {
    ScratchFolder::WriteBytes("备忘\\default", "12345");
    FileContents exact = ReadWholeFile("备忘\\default", 5);
    EXPECT_EQ(exact.status, FileContents::Status::Read);
    EXPECT_EQ(exact.bytes, "12345");
    FileContents over = ReadWholeFile("备忘\\default", 4);
    EXPECT_EQ(over.status, FileContents::Status::TooLarge);
    EXPECT_EQ(over.bytes, "1234");
    EXPECT_EQ(ReadWholeFile("备忘\\default").bytes, "12345");  // no limit
}

TEST_F(NoteStoreTest, AReadOnlyFileIsNeitherReplacedNorDeleted) {
    const std::string original = NoteFileBytes({{1, "keep"}});
    ScratchFolder::WriteBytes("日历\\202402", original);
    ScratchFolder::MarkReadOnly("日历\\202402");
    NoteTable table;
    ASSERT_EQ(table.LoadMonth(scratch.Notes(), 2024, 2), LoadState::Clean);

    EXPECT_EQ(table.SetAndSave(2, "new", 0), NOTE_WRITE_FAILED);
#ifdef _WIN32
    EXPECT_EQ(table.LastSystemError(), ERROR_FILE_READ_ONLY);
#else
    EXPECT_EQ(table.LastSystemError(), EACCES);
#endif
    // The system's own words for it, not a bare number.
    EXPECT_EQ(SystemErrorText(table.LastSystemError()).find("error "), std::string::npos)
        << SystemErrorText(table.LastSystemError());
    EXPECT_EQ(table.SetAndSave(2, "", 0), NOTE_WRITE_FAILED);
    EXPECT_EQ(table.SetAndSave(1, "", 0), NOTE_WRITE_FAILED);  // emptied: it would be deleted
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), original);
    EXPECT_TRUE(ScratchFolder::IsMarkedReadOnly("日历\\202402"));
    EXPECT_EQ(WriteWholeFile("日历\\202402", "memo"), FileResult::Failed);  // the memo's writes alike

    ScratchFolder::MarkReadOnly("日历\\202402", false);  // the user allows it again
    ASSERT_EQ(table.SetAndSave(2, "new", 0), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), NoteFileBytes({{2, "new"}}));
}

// Names in 日历 that begin with the note file's name and are not it.
std::vector<std::string> TemporaryFilesOf(std::string_view name) {
    std::vector<std::string> found;
    for (const std::string& entry : ScratchFolder::List("日历"))
        if (entry.size() > name.size() && entry.compare(0, name.size(), name) == 0) found.push_back(entry);
    return found;
}

TEST_F(NoteStoreTest, AFailedSaveLeavesNoTemporaryFile) {
    ScratchFolder::MakeFolder("日历\\202402");  // a folder cannot be replaced by a file
    ScratchFolder::WriteBytes("日历\\202402\\inside", "x");
    EXPECT_EQ(WriteWholeFile("日历\\202402", "data"), FileResult::Failed);
    EXPECT_EQ(TemporaryFilesOf("202402"), std::vector<std::string>{});
}

// A write or a removal given the version it read replaces only that one:
// a file another writer changed, made or removed meanwhile is left as it
// is, and no temporary file stays behind.
TEST_F(NoteStoreTest, AWriteReplacesOnlyTheVersionItWasGiven) {
    const std::string path = "备忘\\default";
    const struct {
        const char* name;
        std::optional<std::string> onDisk;  // nothing: no file
        FileVersion given;
        FileResult expected;
    } cases[] = {
        {"the same bytes", "seen", "seen", FileResult::Done},
        {"no file, as seen", std::nullopt, std::nullopt, FileResult::Done},
        {"changed by another writer", "theirs", "seen", FileResult::Changed},
        {"grown by another writer", "seen and more", "seen", FileResult::Changed},
        {"made by another writer", "theirs", std::nullopt, FileResult::Changed},
        {"removed by another writer", std::nullopt, "seen", FileResult::Changed},
    };
    for (const auto& c : cases) {
        for (const bool removing : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (removing ? ", removing" : ", writing"));
            ScratchFolder::RemoveFile(path);
            if (c.onDisk) ScratchFolder::WriteBytes(path, *c.onDisk);
            const FileResult result =
                removing ? RemoveFile(path, nullptr, &c.given) : WriteWholeFile(path, "ours", nullptr, &c.given);
            EXPECT_EQ(result, c.expected);
            const std::optional<std::string> after = ScratchFolder::ReadBytes(path);
            if (result == FileResult::Done)
                EXPECT_EQ(after, removing ? std::nullopt : std::optional<std::string>("ours"));
            else
                EXPECT_EQ(after, c.onDisk);
            EXPECT_EQ(ScratchFolder::List("备忘").size(), after ? 1u : 0u);  // no temporary file left
        }
    }
}

// Sets a file's write time that long before now (after, when negative).
void MakeOlder(std::string_view path, std::chrono::hours age) {
#ifdef _WIN32
    const std::filesystem::path native(ScratchFolder::Wide(path));
#else
    const std::filesystem::path native(ScratchFolder::Native(path));
#endif
    std::filesystem::last_write_time(native, std::filesystem::file_time_type::clock::now() - age);
}

TEST_F(NoteStoreTest, LeftoversOfKilledSavesAreIgnoredAndOnlyThisComputersOrOldOnesRemoved) {
    // The notes folder is shared with another computer ("0badf00d") and a
    // sync service. Each file: its name, how old, whether the next save
    // removes it.
    const std::string ended = std::to_string(testing::EndedProcessId());
    const std::string here = ThisComputerId(), there = here == "0badf00d" ? "0badf00e" : "0badf00d";
    struct Beside {
        std::string name;
        int hours;
        bool removed;
    };
    const std::vector<Beside> files = {
        {"202402.new." + here + "." + ended + ".7", 0, true},  // this computer's, process ended
        {"202402.new." + here + "." + std::to_string(testing::ThisProcessId()) + ".100000", 0, false},  // a save in progress
        {"202402.new." + there + "." + ended + ".3", 0, false},  // the other computer's, maybe saving now
        {"202402.new." + there + ".4242.1", 48, true},           // the other computer's, two days old
        {"202402.new." + there + ".4243.1", -2, false},          // its clock is ahead of ours
        {"202402.new", 0, false},                                // earlier versions': whose?
        {"202402.new." + ended + ".7", 0, false},
        {"202402.new." + ended + ".8", 48, true},
        {"202402 (1)", 48, false},  // a sync service's copies
        {"202402-办公室电脑", 48, false},
        {"202402.conflict", 0, false},
        {"202402.new.x.1", 48, false},
    };
    for (const Beside& file : files) {
        ScratchFolder::WriteBytes("日历\\" + file.name, NoteFileBytes({{1, "half"}}));
        if (file.hours != 0) MakeOlder("日历\\" + file.name, std::chrono::hours(file.hours));
    }

    NoteTable table;
    EXPECT_EQ(table.LoadMonth(scratch.Notes(), 2024, 2), LoadState::Clean);
    EXPECT_FALSE(table.Slot(1).IsPresent());  // none of them is read as the month's notes
    ASSERT_EQ(table.SetAndSave(2, "two", 0), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), NoteFileBytes({{2, "two"}}));
    for (const Beside& file : files)
        EXPECT_EQ(ScratchFolder::Exists("日历\\" + file.name), !file.removed) << file.name;
    // Nothing else is left beside the month file: the save's own temporary file is gone.
    for (const std::string& name : ScratchFolder::List("日历"))
        EXPECT_TRUE(std::any_of(files.begin(), files.end(), [&](const Beside& file) { return file.name == name; }) ||
                    name == "202402")
            << name;
}

#ifndef _WIN32
TEST_F(NoteStoreTest, TheTemporaryFileIsNeverOpenedThroughALink) {
    // Someone plants a link where the fixed temporary name used to be.
    ScratchFolder::WriteBytes("victim", "precious");
    ASSERT_EQ(symlink("../victim", "日历/202402.new"), 0);
    NoteTable table;
    table.LoadMonth(scratch.Notes(), 2024, 2);
    ASSERT_EQ(table.SetAndSave(2, "two", 0), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("victim"), "precious");
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), NoteFileBytes({{2, "two"}}));
}

TEST_F(NoteStoreTest, WhatIsNoRegularFileIsUnreadableAtOnce) {
    // A pipe nobody writes to, and devices that answer without end: none
    // may hold the load, and none is overwritten.
    ASSERT_EQ(mkfifo("日历/202401", 0666), 0);
    ASSERT_EQ(symlink("/dev/zero", "日历/202402"), 0);
    ASSERT_EQ(symlink("/dev/null", "日历/202403"), 0);
    for (int month : {1, 2, 3}) {
        NoteTable table;
        EXPECT_EQ(table.LoadMonth(scratch.Notes(), 2024, month), LoadState::Unreadable) << month;
        EXPECT_EQ(table.State(), LoadState::Unreadable) << month;
        EXPECT_EQ(table.SetAndSave(1, "x", 0), NOTE_FILE_UNREADABLE) << month;
    }
    struct stat info;
    ASSERT_EQ(lstat("日历/202401", &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}
#else
TEST_F(NoteStoreTest, WhatIsNoFileOnDiskIsUnreadableAtOnce) {
    // A device and a pipe whose server never writes: neither may hold the read.
    HANDLE pipe = CreateNamedPipeW(L"\\\\.\\pipe\\almanac-note-test", PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 0, 0, 0,
                                   nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    for (const char* path : {"NUL", "\\\\.\\pipe\\almanac-note-test"}) {
        FileContents contents = ReadWholeFile(path);
        EXPECT_EQ(contents.status, FileContents::Status::Unreadable) << path;
        EXPECT_EQ(contents.systemError, ERROR_BAD_FILE_TYPE) << path;
    }
    CloseHandle(pipe);
}
#endif

}  // namespace
}  // namespace almanac

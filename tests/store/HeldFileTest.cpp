// Windows: another program holding a note file open.
#include "store/HolidayFile.h"
#include "store/NoteStore.h"
#include "store/WholeFile.h"

#include "testkit/ScratchFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <windows.h>

namespace almanac {
namespace {

using testing::NoteFileBytes;
using testing::ScratchFolder;

HANDLE HoldExclusively(std::string_view path) {
    return CreateFileW(ScratchFolder::Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

// Held as a scanner or an editor holds a file it reads: others may read it,
// but not replace or delete it.
HANDLE HoldAgainstChanges(std::string_view path) {
    return CreateFileW(ScratchFolder::Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

class HeldFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ScratchFolder::MakeNoteFolders();
        table.LoadMonth(scratch.Notes(), 2024, 2);
        ASSERT_EQ(table.SetAndSave(1, "first", 0), NOTE_OK);
    }
    ScratchFolder scratch;
    NoteTable table;
};

// The other program lets go while the save waits: once the save's
// temporary file is there, the save is trying to replace the held file.
TEST_F(HeldFileTest, ASaveWaitsBrieflyForAFileHeldForAMoment) {
    HANDLE held = HoldAgainstChanges("日历\\202402");
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::atomic<bool> returned{false};
    std::thread release([held, &returned] {
        auto saving = [] {
            for (const std::string& name : ScratchFolder::List("日历"))
                if (name.rfind("202402.new", 0) == 0) return true;
            return false;
        };
        while (!saving() && !returned) std::this_thread::yield();
        CloseHandle(held);
    });
    EXPECT_EQ(table.SetAndSave(2, "second", 0), NOTE_OK);
    returned = true;
    release.join();
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), NoteFileBytes({{1, "first"}, {2, "second"}}));
}

TEST_F(HeldFileTest, ASaveFailsVisiblyWhileTheFileStaysHeld) {
    HANDLE held = HoldExclusively("日历\\202402");
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(table.SetAndSave(2, "second", 0), NOTE_WRITE_FAILED);
    EXPECT_EQ(table.SetAndSave(1, "", 0), NOTE_WRITE_FAILED);  // nor can it be replaced by nothing
    CloseHandle(held);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), NoteFileBytes({{1, "first"}}));
    EXPECT_EQ(table.Save(), NOTE_OK);  // memory kept the new text for the retry
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), NoteFileBytes({{2, "second"}}));
}

// The holiday file held by another program is told of with the system's
// words, and the built-in days stand; once released it is read.
TEST(HeldHolidayFileTest, IsToldOfAndReadOnceReleased) {
    ScratchFolder scratch;
    ASSERT_EQ(WriteWholeFile(HOLIDAY_FILE_NAME, "2027-02-06 休 春节\n"), FileResult::Done);
    HANDLE held = HoldExclusively(HOLIDAY_FILE_NAME);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    HolidayFileReading reading = ReadHolidayFile(HOLIDAY_FILE_NAME);
    EXPECT_EQ(reading.status, HolidayFileReading::Status::Unreadable);
    const std::string problem = HolidayFileProblem(reading, HOLIDAY_FILE_NAME);
    EXPECT_NE(problem.find("无法读取“节假日安排.txt”"), std::string::npos) << problem;
    CloseHandle(held);
    reading = ReadHolidayFile(HOLIDAY_FILE_NAME);
    ASSERT_EQ(reading.status, HolidayFileReading::Status::Read);
    EXPECT_EQ(reading.text.days.size(), 1u);
}

// Read again while another program holds it (a sync service writing it),
// the file keeps the days it gave: the grid does not fall back to the
// built-in days for the moment it is held.
TEST(HeldHolidayFileTest, AReadWhileHeldKeepsTheDaysItGave) {
    ScratchFolder scratch;
    const std::string file = scratch.Notes().HolidayFile();
    ASSERT_EQ(WriteWholeFile(file, "2027-02-15 休 春节\n"), FileResult::Done);  // a Monday, at work by default
    UserHolidays holidays;
    holidays.Reload(scratch.Notes());
    EXPECT_TRUE(holidays.DaysChanged());
    EXPECT_EQ(holidays.Calendar().MarkOf(2027, 2, 15), DayMark::Rest);
    holidays.Reload(scratch.Notes());
    EXPECT_FALSE(holidays.DaysChanged());  // the same file again

    HANDLE held = HoldExclusively(file);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_NE(holidays.Reload(scratch.Notes()).find("无法读取"), std::string::npos);
    EXPECT_FALSE(holidays.DaysChanged());
    EXPECT_EQ(holidays.Calendar().MarkOf(2027, 2, 15), DayMark::Rest);
    CloseHandle(held);

    ASSERT_EQ(RemoveFile(file), FileResult::Done);  // the user took the file away: the built-in days
    holidays.Reload(scratch.Notes());
    EXPECT_TRUE(holidays.DaysChanged());
    EXPECT_EQ(holidays.Calendar().MarkOf(2027, 2, 15), DayMark::None);
}

}  // namespace
}  // namespace almanac

// Windows: another program holding a note file open.
#include "store/NoteStore.h"

#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <thread>
#include <windows.h>

namespace almanac {
namespace {

using testing::NoteFileBytes;
using testing::ScratchFolder;

HANDLE HoldExclusively(std::string_view path) {
    return CreateFileW(ScratchFolder::Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

class HeldFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ScratchFolder::MakeNoteFolders();
        table.LoadMonth(2024, 2);
        ASSERT_EQ(table.SetAndSave(1, "first", 0), NOTE_OK);
    }
    ScratchFolder scratch;
    NoteTable table;
};

TEST_F(HeldFileTest, ASaveWaitsBrieflyForAFileHeldForAMoment) {
    HANDLE held = HoldExclusively("日历\\202402");
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread release([held] {
        Sleep(300);
        CloseHandle(held);
    });
    EXPECT_EQ(table.SetAndSave(2, "second", 0), NOTE_OK);
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

}  // namespace
}  // namespace almanac

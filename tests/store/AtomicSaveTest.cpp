// Kills a process that saves notes in a loop, at random moments, and loads
// what it left: every time a complete file, never a cut one.
#include "store/NoteStore.h"

#include "testkit/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace almanac {
namespace {

using testing::ScratchFolder;

constexpr int kSlots = 31;
constexpr const char* kSaveLoopOption = "--save-loop";
constexpr const char* kReadyFile = "ready";

// Two versions of every note, long enough that a file takes many writes.
std::string Version(char letter, int slot) { return std::string(1500 + slot, letter) + std::to_string(slot); }

// The child: turns the notes from one version to the other, one note and one
// save at a time, for ever.
[[noreturn]] void SaveForever() {
    NoteTable table;
    table.LoadMonth(ScratchFolder::Here(), 2024, 2);
    ScratchFolder::WriteBytes(kReadyFile, "");
    for (char letter = 'b';; letter = letter == 'a' ? 'b' : 'a')
        for (int slot = 1; slot <= kSlots; ++slot) table.SetAndSave(slot, Version(letter, slot), 0);
}

#ifdef _WIN32
class SavingProcess {
public:
    SavingProcess() {
        wchar_t exe[MAX_PATH];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(exe) + L"\" --save-loop";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_);
    }
    bool Started() const { return started_; }
    void Kill() {
        TerminateProcess(info_.hProcess, 9);
        WaitForSingleObject(info_.hProcess, INFINITE);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};
constexpr int kRounds = 150;
#else
class SavingProcess {
public:
    SavingProcess() : pid_(fork()) {
        if (pid_ == 0) SaveForever();
    }
    bool Started() const { return pid_ > 0; }
    void Kill() {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }

private:
    pid_t pid_;
};
constexpr int kRounds = 300;
#endif

// A complete file holds every slot, each wholly in one version: the first
// slots in the newer one, the rest still in the older.
void ExpectCompleteFile(int round) {
    NoteTable table;
    ASSERT_EQ(table.LoadMonth(ScratchFolder::Here(), 2024, 2), NoteTable::LoadState::Clean) << "round " << round << ": a damaged file";
    bool inOlderPart = false;
    char newer = table.Slot(1).text.value_or(" ")[0];
    for (int slot = 1; slot <= kSlots; ++slot) {
        const auto& text = table.Slot(slot).text;
        ASSERT_TRUE(text) << "round " << round << ": slot " << slot << " missing";
        char letter = (*text)[0];
        ASSERT_EQ(*text, Version(letter, slot)) << "round " << round << ": slot " << slot << " cut";
        if (letter != newer) inOlderPart = true;
        ASSERT_TRUE(letter == newer || inOlderPart) << "round " << round << ": slots out of order";
    }
}

// The temporary files that killed saves left beside the month file.
int Leftovers() {
    int count = 0;
    for (const std::string& name : ScratchFolder::List("日历")) count += name.rfind("202402.new", 0) == 0;
    return count;
}

TEST(AtomicSaveTest, AKilledSaveLeavesTheOldOrTheNewFileWhole) {
    ScratchFolder scratch;
    ScratchFolder::MakeNoteFolders();
    NoteTable table;
    table.LoadMonth(ScratchFolder::Here(), 2024, 2);
    for (int slot = 1; slot <= kSlots; ++slot) ASSERT_EQ(table.SetAndSave(slot, Version('a', slot), 0), NOTE_OK);

    std::mt19937 random(20261210);
    int killsThatLeftOne = 0, mostLeftovers = 0;
    for (int round = 0; round < kRounds; ++round) {
        int before = Leftovers();
        std::filesystem::remove(kReadyFile);
        SavingProcess saver;
        ASSERT_TRUE(saver.Started());
        while (!ScratchFolder::Exists(kReadyFile)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        saver.Kill();
        ExpectCompleteFile(round);
        if (HasFatalFailure()) return;
        int after = Leftovers();
        killsThatLeftOne += after > before;
        mostLeftovers = std::max(mostLeftovers, after);
    }
    // The next save by a living process removes what the killed ones left.
    table.LoadMonth(ScratchFolder::Here(), 2024, 2);
    ASSERT_EQ(table.SetAndSave(1, Version('c', 1), 0), NOTE_OK);
    EXPECT_EQ(Leftovers(), 0);
    std::printf("%d kills, %d of them left a temporary file, at most %d at once; none after the next save\n", kRounds,
                killsThatLeftOne, mostLeftovers);
}

}  // namespace
}  // namespace almanac

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], almanac::kSaveLoopOption) == 0) almanac::SaveForever();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// What a keystroke in the memo pad costs the window's thread: the edit's
// own work and the note that the text changed (the save waits for a pause
// in typing), and, apart, what the save that follows costs.
#include "dialogs/MemoPad.h"
#include "resources/resource.h"

#include "testkit/ScratchFolder.h"

#include <benchmark/benchmark.h>

namespace almanac {
namespace {

using testing::ScratchFolder;

class QuietHost : public MemoHost {
public:
    void ShowMemo() override {}
    void HideMemo() override {}
    void ReadMemoPosition(int&, int&) override {}
    void StoreMemoPosition(POINT) override {}
    void TellOnce(const std::string&, const std::string&) override {}
};

struct OpenPad {
    OpenPad() : pad(host, scratch.Notes().MemoFile()) {
        ScratchFolder::MakeNoteFolders();
        pad.CreateModeless(nullptr);
        edit = pad.Item(IDC_MEMO_TEXT);
    }
    ~OpenPad() { DestroyWindow(pad.Handle()); }

    ScratchFolder scratch;
    QuietHost host;
    MemoPad pad;
    HWND edit = nullptr;
};

void KeystrokeInTheMemo(benchmark::State& state) {
    OpenPad open;
    int typed = 0;
    for (auto _ : state) {
        SendMessageW(open.edit, WM_CHAR, (++typed % 60) ? L'记' : L'\r', 0);
    }
    state.counters["unsaved"] = open.pad.HasUnsavedText();
}
BENCHMARK(KeystrokeInTheMemo)->Unit(benchmark::kMicrosecond);

// The save after the pause: the whole memo (some 2,000 characters) to a
// temporary file, flushed, renamed over the old one.
void SaveAfterThePause(benchmark::State& state) {
    OpenPad open;
    for (int i = 0; i < 2000; ++i) SendMessageW(open.edit, WM_CHAR, L'记', 0);
    for (auto _ : state) {
        SendMessageW(open.edit, WM_CHAR, L'x', 0);
        open.pad.SaveNow();
    }
}
BENCHMARK(SaveAfterThePause)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace almanac

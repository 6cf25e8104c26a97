// Tells a window when anything in some folders changes: a file written,
// made, removed or renamed, whoever did it (this program too). A thread of
// its own waits on the system's change notifications and posts the window
// one message for a burst of changes: the next is posted only once the
// window has taken the last (Acknowledge). The window then looks at what it
// shows; the watch says only that something changed.
//
// Each folder is watched on its own, without its subfolders: Wine reports
// no change below the folder watched.
#pragma once

#include "base/KernelHandleWindows.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace almanac::win {

class FolderWatch {
public:
    FolderWatch() = default;
    // Stops the watch and waits for its thread.
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Watches the folders (GB18030, full paths); a change posts message to
    // window with wParam 0. When the system ends the watch of one (it was
    // removed or renamed, a network share went away), one message with
    // wParam WATCH_ENDED follows and no other. False, and nothing is
    // watched, when one of the folders cannot be watched.
    bool Start(const std::vector<std::string>& folders, HWND window, UINT message);
    void Stop();
    static constexpr WPARAM WATCH_ENDED = 1;

    // The window took the message: the next change posts another.
    void Acknowledge() { posted_ = false; }
    // From a successful Start until the watch ends or is stopped.
    bool Watching() const { return watching_; }

private:
    // The thread; it closes the notifications when it ends.
    void Wait(std::vector<HANDLE> waits, HWND window, UINT message);

    KernelHandle stop_;
    std::thread thread_;
    std::atomic<bool> posted_{false};
    std::atomic<bool> watching_{false};
};

}  // namespace almanac::win

// When the shell restarts (Explorer ends and begins again), Windows destroys
// every child of its desktop windows, the embedded calendar included. This
// hidden top-level window hears the shell's "TaskbarCreated" broadcast, so
// the program can wait for the shell to be back and make its window anew.
#pragma once

#include "framework/Window.h"

namespace almanac {

class ShellWatcher : public win::CustomWindow {
public:
    ShellWatcher();

    // Runs the thread's messages until the shell's desktop view exists (and
    // is not formerView, the one that was taken away); false when the
    // program is asked to end meanwhile.
    bool WaitForShell(HWND formerView);

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool ShellIsBack() const;

    UINT taskbarCreated_;
    HWND formerView_ = nullptr;
    bool waiting_ = false;
};

}  // namespace almanac

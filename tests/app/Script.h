// Drives modal windows from inside their own modal loop: a thread timer runs
// the script's steps one after another, each until it reports done. Steps
// post (never send) what would open another modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace almanac::testing {

class Script {
public:
    // A step returns true when done; false runs it again at the next beat.
    using Step = std::function<bool()>;

    Script() = default;
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;
    // A script whose modal loop ended before its last step stops here.
    ~Script() {
        if (current_ == this) {
            KillTimer(nullptr, timer_);
            current_ = nullptr;
        }
    }

    Script& Then(std::string name, Step step) {
        steps_.push_back({std::move(name), std::move(step)});
        return *this;
    }
    // A step that always finishes at once.
    Script& Do(std::string name, std::function<void()> action) {
        return Then(std::move(name), [action = std::move(action)] {
            action();
            return true;
        });
    }

    // Runs from the thread's message loops until every step is done or one
    // has waited longer than the time-out; then calls finish (which should end
    // the modal loop the script runs in).
    void Start(std::function<void()> finish, DWORD timeoutMilliseconds = 10000) {
        finish_ = std::move(finish);
        timeout_ = timeoutMilliseconds;
        stepStarted_ = GetTickCount();
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 20, Beat);
    }

    bool Completed() const { return next_ == steps_.size(); }
    // The step that timed out, when one did.
    const std::string& Failure() const { return failure_; }

private:
    struct Named {
        std::string name;
        Step step;
    };

    static void CALLBACK Beat(HWND, UINT, UINT_PTR, DWORD) {
        Script* self = current_;
        if (!self || self->running_) return;
        self->running_ = true;
        self->Advance();
        self->running_ = false;
    }

    void Advance() {
        while (next_ < steps_.size()) {
            if (!steps_[next_].step()) {
                if (GetTickCount() - stepStarted_ > timeout_) {
                    failure_ = steps_[next_].name;
                    Stop();
                }
                return;
            }
            ++next_;
            stepStarted_ = GetTickCount();
        }
        Stop();
    }

    void Stop() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
        if (finish_) finish_();
    }

    static inline Script* current_ = nullptr;
    std::vector<Named> steps_;
    std::size_t next_ = 0;
    std::function<void()> finish_;
    DWORD timeout_ = 10000;
    DWORD stepStarted_ = 0;
    UINT_PTR timer_ = 0;
    bool running_ = false;
    std::string failure_;
};

struct DialogSearch {
    const wchar_t* title;
    HWND found = nullptr;
};

inline BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    wchar_t text[128] = {};
    wchar_t className[32] = {};
    GetWindowTextW(window, text, 128);
    GetClassNameW(window, className, 32);
    if (IsWindowVisible(window) && std::wstring(className) == L"#32770" && std::wstring(text) == search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The visible top-level dialog of this thread with the given title, or null.
inline HWND FindDialog(const wchar_t* title) {
    DialogSearch search{title};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace almanac::testing

// What the program tells the user, shown from the message loop rather than
// from inside whatever found the trouble: a note file, the memo, a folder or
// the holiday file. Each file is told of once in the process's life (the
// set outlives the window), however often it is found again.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <set>
#include <string>

namespace almanac {

class MessagesForUser {
public:
    // show: how a message reaches the user (a message box, owned by the
    // window). toldOf: the files already told of.
    MessagesForUser(std::function<void(HWND, const std::string&)> show, std::set<std::string>& toldOf)
        : show_(std::move(show)), toldOf_(toldOf) {}

    // Queues message unless file was told of, and has window hear showMessage.
    void TellOnce(HWND window, UINT showMessage, const std::string& file, std::string message);
    // Queues message whatever was told before.
    void Tell(HWND window, UINT showMessage, std::string message);
    // Shows the first message waiting, owned by window.
    void ShowNext(HWND window);

private:
    std::function<void(HWND, const std::string&)> show_;
    std::set<std::string>& toldOf_;
    std::deque<std::string> waiting_;
};

}  // namespace almanac

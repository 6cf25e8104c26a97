#include "app/MessagesForUser.h"

namespace almanac {

void MessagesForUser::TellOnce(HWND window, UINT showMessage, const std::string& file, std::string message) {
    if (toldOf_.insert(file).second) Tell(window, showMessage, std::move(message));
}

void MessagesForUser::Tell(HWND window, UINT showMessage, std::string message) {
    waiting_.push_back(std::move(message));
    PostMessageW(window, showMessage, 0, 0);
}

void MessagesForUser::ShowNext(HWND window) {
    if (waiting_.empty()) return;
    std::string message = std::move(waiting_.front());
    waiting_.pop_front();
    if (show_) show_(window, message);
}

}  // namespace almanac

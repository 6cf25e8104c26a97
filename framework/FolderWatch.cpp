#include "framework/FolderWatch.h"

#include "base/Text.h"

#include <system_error>

namespace almanac::win {
namespace {

// What a sync service or another program does to the notes: files made,
// removed, renamed (a replacing write is a rename), written, or cut short.
constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE |
                           FILE_NOTIFY_CHANGE_LAST_WRITE;

void CloseNotifications(const std::vector<HANDLE>& changes, std::size_t from) {
    for (std::size_t i = from; i < changes.size(); ++i) FindCloseChangeNotification(changes[i]);
}

}  // namespace

FolderWatch::~FolderWatch() { Stop(); }

bool FolderWatch::Start(const std::vector<std::string>& folders, HWND window, UINT message) {
    Stop();
    if (folders.empty() || folders.size() >= MAXIMUM_WAIT_OBJECTS) return false;
    stop_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stop_) return false;
    std::vector<HANDLE> waits{stop_.Get()};  // then the folders' notifications
    for (const std::string& folder : folders) {
        HANDLE change = FindFirstChangeNotificationW(text::Wide(folder).c_str(), FALSE, kChanges);
        if (change == INVALID_HANDLE_VALUE) {
            CloseNotifications(waits, 1);
            return false;
        }
        waits.push_back(change);
    }
    posted_ = false;
    watching_ = true;
    try {
        thread_ = std::thread(&FolderWatch::Wait, this, waits, window, message);
    } catch (const std::system_error&) {
        watching_ = false;
        CloseNotifications(waits, 1);
        return false;
    }
    return true;
}

void FolderWatch::Stop() {
    if (!thread_.joinable()) return;
    SetEvent(stop_);
    thread_.join();
    stop_.Reset();
    watching_ = false;
}

// A change posts the message unless one waits untaken; the folder's
// notification is then armed again for the next.
void FolderWatch::Wait(std::vector<HANDLE> waits, HWND window, UINT message) {
    for (;;) {
        const DWORD which = WaitForMultipleObjects(DWORD(waits.size()), waits.data(), FALSE, INFINITE);
        if (which <= WAIT_OBJECT_0 || which >= WAIT_OBJECT_0 + waits.size()) break;  // stopped, or failed
        if (!posted_.exchange(true)) PostMessageW(window, message, 0, 0);
        if (!FindNextChangeNotification(waits[which - WAIT_OBJECT_0])) {
            watching_ = false;
            PostMessageW(window, message, WATCH_ENDED, 0);
            break;
        }
    }
    CloseNotifications(waits, 1);
}

}  // namespace almanac::win

// A kernel handle (file, event, thread …), closed by its owner's destructor.
#pragma once

#include <windows.h>

#include <utility>

namespace almanac::win {

class KernelHandle {
public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~KernelHandle() { Close(); }
    KernelHandle(KernelHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    KernelHandle& operator=(KernelHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

    bool Valid() const { return handle_ != nullptr; }
    HANDLE Get() const { return handle_; }
    // Closes the handle; false when the system reports a failure (for a
    // file: data that could not be written).
    bool Close() {
        bool closed = true;
        if (handle_) closed = CloseHandle(handle_) != 0;
        handle_ = nullptr;
        return closed;
    }

private:
    HANDLE handle_ = nullptr;
};

}  // namespace almanac::win

// One owner for every kind of system handle: UniqueHandle closes what it
// holds when it ends, moves but never copies. The traits say how a kind is
// closed and which value means "none".
#pragma once

#include <windows.h>

#include <utility>

namespace almanac::win {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(Traits::Adopt(handle)) {}
    ~UniqueHandle() { Close(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return handle_; }
    operator Handle() const { return handle_; }
    bool Valid() const { return handle_ != nullptr; }
    explicit operator bool() const { return Valid(); }

    // Closes what is held and holds handle instead.
    void Reset(Handle handle = nullptr) {
        Close();
        handle_ = Traits::Adopt(handle);
    }
    // Closes the handle; false when the system reports a failure (for a
    // file: data that could not be written).
    bool Close() {
        bool closed = true;
        if (handle_) closed = Traits::Close(handle_);
        handle_ = nullptr;
        return closed;
    }

private:
    Handle handle_ = nullptr;
};

// Files, events, threads: CreateFile's INVALID_HANDLE_VALUE is no handle.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Adopt(Handle handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }
    static bool Close(Handle handle) { return CloseHandle(handle) != 0; }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

// Fonts, brushes, pens, bitmaps.
template <typename GdiHandle>
struct GdiObjectTraits {
    using Handle = GdiHandle;
    static Handle Adopt(Handle handle) { return handle; }
    static bool Close(Handle handle) { return DeleteObject(handle) != 0; }
};

}  // namespace almanac::win

// One owner for every kind of system handle: UniqueHandle closes what it
// holds when it ends, moves but never copies. The traits say how a kind is
// closed and which value means "none" (KernelHandleWindows.h has Windows'
// kernel handles, framework/Gdi.h its GDI objects).
#pragma once

#include <utility>

namespace almanac {

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

}  // namespace almanac

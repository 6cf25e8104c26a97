// Files, events, threads, processes: the kernel's handles, each closed by
// CloseHandle; CreateFile's INVALID_HANDLE_VALUE is no handle.
#pragma once

#include "base/UniqueHandle.h"

#include <windows.h>

namespace almanac {

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Adopt(Handle handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }
    static bool Close(Handle handle) { return CloseHandle(handle) != 0; }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

}  // namespace almanac

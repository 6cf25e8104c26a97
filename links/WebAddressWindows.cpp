#include "links/WebAddress.h"

#include "base/Text.h"
#include "links/RemoteLink.h"

#include <windows.h>
#include <shellapi.h>

namespace almanac {

bool OpenWebAddress(std::string_view target) {
    if (!IsSafeLinkTarget(target)) return false;
    // ShellExecute returns a value above 32 on success.
    HINSTANCE result = ShellExecuteW(nullptr, L"open", text::Wide(target).c_str(), nullptr, nullptr, SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace almanac

#include "framework/Registry.h"

#include "base/Text.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace almanac::win {

RegistryKey RegistryKey::Open(HKEY root, std::string_view subkey, REGSAM access) {
    HKEY key = nullptr;
    LONG status = RegOpenKeyExW(root, text::Wide(subkey).c_str(), 0, access, &key);
    return RegistryKey(status == ERROR_SUCCESS ? key : nullptr, status);
}

RegistryKey RegistryKey::Create(HKEY root, std::string_view subkey, REGSAM access) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(root, text::Wide(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                  &key, nullptr);
    return RegistryKey(status == ERROR_SUCCESS ? key : nullptr, status);
}

RegistryKey::~RegistryKey() {
    if (key_) RegCloseKey(key_);
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept
    : key_(std::exchange(other.key_, nullptr)), status_(other.status_) {}

std::optional<std::string> RegistryKey::QueryText(std::string_view name, std::size_t maxBytes) const {
    if (!key_) return std::nullopt;
    std::wstring valueName = text::Wide(name);
    DWORD size = 0, type = REG_NONE;
    if (RegQueryValueExW(key_, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = size;
    if (RegQueryValueExW(key_, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::string narrow;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring_view text(data.data(), got / sizeof(wchar_t));
        narrow = text::Narrow(text.substr(0, text.find(L'\0')));
    } else if (type == REG_DWORD && got == sizeof(std::int32_t)) {
        std::int32_t number;
        std::memcpy(&number, data.data(), sizeof number);
        narrow = std::to_string(number);
    } else if (type == REG_QWORD && got == sizeof(std::int64_t)) {
        std::int64_t number;
        std::memcpy(&number, data.data(), sizeof number);
        narrow = std::to_string(number);
    } else {
        return std::nullopt;
    }
    if (narrow.size() + 1 > maxBytes) return std::nullopt;
    return narrow;
}

LONG RegistryKey::SetText(std::string_view name, std::string_view text) const {
    if (!key_) return status_;
    std::wstring data = text::Wide(text);
    return RegSetValueExW(key_, text::Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          DWORD((data.size() + 1) * sizeof(wchar_t)));
}

LONG RegistryKey::DeleteValue(std::string_view name) const {
    if (!key_) return status_;
    return RegDeleteValueW(key_, text::Wide(name).c_str());
}

}  // namespace almanac::win

#include "framework/Registry.h"

#include "base/Text.h"

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
    DWORD size = 0;
    if (RegQueryValueExW(key_, valueName.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = size;
    if (RegQueryValueExW(key_, valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &got) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::wstring_view text(data.data(), got / sizeof(wchar_t));
    text = text.substr(0, text.find(L'\0'));
    std::string narrow = text::Narrow(text);
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

#include "app/Settings.h"

#include "framework/Registry.h"
#include "framework/Text.h"

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace almanac {

using win::RegistryKey;

int ReadSetting(std::string_view subkey, std::string_view name, std::string& text) {
    RegistryKey key = RegistryKey::Open(HKEY_CURRENT_USER, subkey, KEY_QUERY_VALUE);
    std::optional<std::string> value = key.QueryText(name, SETTING_BUFFER);
    if (!value) return -1;
    text = *value;
    return 0;
}

int WriteSetting(std::string_view subkey, std::string_view name, std::string_view text) {
    RegistryKey key = RegistryKey::Create(HKEY_CURRENT_USER, subkey, KEY_ALL_ACCESS);
    return key.Valid() && key.SetText(name, text) == ERROR_SUCCESS ? 0 : -1;
}

namespace {

int AsciiToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Digits past an int's range saturate instead of overflowing.
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), 1LL << 31);
    if (negative) value = -value;
    return int(std::clamp(value, -(1LL << 31), (1LL << 31) - 1));
}

}  // namespace

std::optional<int> ReadNumberSetting(std::string_view name) {
    std::string text;
    if (ReadSetting(SETTINGS_KEY, name, text) != 0) return std::nullopt;
    return AsciiToInt(text);
}

void WriteNumberSetting(std::string_view name, int value) { WriteSetting(SETTINGS_KEY, name, std::to_string(value)); }

void WritePositionSettings(std::string_view xName, std::string_view yName, POINT position) {
    WriteNumberSetting(xName, position.x);
    WriteNumberSetting(yName, position.y);
}

std::string ExecutablePath() {
    std::vector<wchar_t> path(32768);
    DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    return win::Narrow(std::wstring_view(path.data(), length));
}

long SetAutostart(bool on, std::string_view valueName) {
    RegistryKey run = RegistryKey::Open(HKEY_CURRENT_USER, RUN_KEY, KEY_WRITE);
    if (!run.Valid()) return run.Status();
    return on ? run.SetText(valueName, ExecutablePath()) : run.DeleteValue(valueName);
}

bool CheckAutostart() {
    std::string registered;
    if (ReadSetting(RUN_KEY, AUTOSTART_VALUE, registered) == 0 && registered == ExecutablePath()) return true;
    SetAutostart(true, AUTOSTART_VALUE);
    return false;
}

int EnterFolder(std::string_view path) {
    std::wstring folder = win::Wide(path);
    if (SetCurrentDirectoryW(folder.c_str())) return 0;
    CreateDirectoryW(folder.c_str(), nullptr);
    return SetCurrentDirectoryW(folder.c_str()) ? 0 : -1;
}

void EnterNotesFolder(const std::function<std::optional<std::string>()>& documentsFolder) {
    std::optional<std::string> base = documentsFolder();
    if (!base) base = ShellProfileFolder();
    if (base) EnterFolder(*base + "\\我的记事");
    EnterFolder("日历");
    EnterFolder("..");
    EnterFolder("备忘");
    EnterFolder("..");
}

namespace {

std::optional<std::string> ShellFolder(int csidl) {
    wchar_t path[MAX_PATH];
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) || path[0] == L'\0') return std::nullopt;
    return win::Narrow(path);
}

}  // namespace

std::optional<std::string> ShellDocumentsFolder() { return ShellFolder(CSIDL_PERSONAL); }
std::optional<std::string> ShellProfileFolder() { return ShellFolder(CSIDL_PROFILE); }

}  // namespace almanac

// Registry keys under HKEY_CURRENT_USER, each closed by its owner's destructor.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace almanac::win {

class RegistryKey {
public:
    // Opens an existing key; Valid() tells whether it was there.
    static RegistryKey Open(HKEY root, std::string_view subkey, REGSAM access);
    // Opens the key, creating it and any missing keys on its path.
    static RegistryKey Create(HKEY root, std::string_view subkey, REGSAM access);

    ~RegistryKey();
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&&) = delete;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool Valid() const { return key_ != nullptr; }
    LONG Status() const { return status_; }

    // A value's data as text, when it fits in maxBytes bytes of GB18030
    // with a terminator: a REG_SZ (or REG_EXPAND_SZ, not expanded) up to its
    // terminating NUL or its length; a REG_DWORD or REG_QWORD, as a user or
    // a tool may write a number, in decimal (signed, as a program that
    // stores an int writes it). A value of any other type counts as absent.
    std::optional<std::string> QueryText(std::string_view name, std::size_t maxBytes) const;
    LONG SetText(std::string_view name, std::string_view text) const;  // REG_SZ, NUL included
    LONG DeleteValue(std::string_view name) const;

private:
    RegistryKey(HKEY key, LONG status) : key_(key), status_(status) {}
    HKEY key_;
    LONG status_;
};

}  // namespace almanac::win

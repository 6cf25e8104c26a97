// The main window's world for a test: a scratch folder for the current
// directory, with the documents folder in it, a clean settings key and autostart
// value in the prefix's real registry, a date the test sets, and a link
// server on the loopback interface that refuses (unless the test says).
#pragma once

#include "app/AppEnvironment.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "base/Text.h"
#include "links/TcpSocket.h"
#include "tests/app/Script.h"
#include "testkit/ScratchFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace almanac::testing {

inline constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Orvane\\Kelvadar";
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A value of HKEY_CURRENT_USER as the registry holds it, or nothing.
inline std::optional<std::wstring> RegistryText(const wchar_t* key, const wchar_t* value) {
    wchar_t data[1024];
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data);
}

inline void SetRegistryText(const wchar_t* key, const wchar_t* value, const std::wstring& text) {
    RegSetKeyValueW(HKEY_CURRENT_USER, key, value, REG_SZ, text.c_str(), DWORD((text.size() + 1) * sizeof(wchar_t)));
}

inline SYSTEMTIME Date(int year, int month, int day) {
    SYSTEMTIME date{};
    date.wYear = WORD(year);
    date.wMonth = WORD(month);
    date.wDay = WORD(day);
    date.wHour = 12;
    return date;
}

class AppFixture : public ::testing::Test {
protected:
    AppFixture() {
        Sockets();
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Kelvadar");
        ScratchFolder::MakeFolder("文档");
        documents = text::Narrow(std::filesystem::current_path().wstring()) + "\\文档";
        environment.localTime = [this] { return today; };
        environment.documentsFolder = [this] { return documentsKnown ? std::optional(documents) : std::nullopt; };
        environment.linkServer.host = "127.0.0.1";
        environment.linkServer.port = 1;  // nothing listens there: refused at once
        environment.tellUser = [this](HWND, const std::string& message) { toldUser.push_back(message); };
    }
    ~AppFixture() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Kelvadar");
    }

    // Runs a main window modally with the script driving it; the window ends
    // when the script does. ended, when given, sees the window once its loop
    // is over and before it goes.
    void Run(Script& script, MainWindow*& window, const std::function<void(const MainWindow&)>& ended = {}) {
        MainWindow main(environment, session);
        window = &main;
        script.Start([&main] {
            if (main.Exists()) main.EndDialog(IDCANCEL);
        });
        main.RunModal(nullptr);
        window = nullptr;
        EXPECT_TRUE(script.Completed()) << "timed out at: " << script.Failure();
        if (ended) ended(main);
    }

    // A file of the notes folder, by its path from the scratch folder.
    static std::string InNotes(std::string_view name) { return "文档\\我的记事\\" + std::string(name); }

    // Windows Sockets, once for the test process, as the program starts them.
    static const net::SocketLibrary& Sockets() {
        static net::SocketLibrary sockets;
        return sockets;
    }

    ScratchFolder scratch;
    std::string documents;
    bool documentsKnown = true;
    SYSTEMTIME today = Date(2024, 2, 10);
    AppEnvironment environment;
    StateAcrossWindows session;
    std::vector<std::string> toldUser;  // the warnings the program showed
};

}  // namespace almanac::testing

// A start-up that cannot complete, and what the user is told before the
// program ends: the main window never comes up half made.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

namespace almanac {

class StartupFailure : public std::runtime_error {
public:
    // userText: the whole message for the user, in GB18030.
    explicit StartupFailure(const std::string& userText) : std::runtime_error(userText) {}
};

// The words for a failed start-up, whatever was thrown, in GB18030.
std::string StartupFailureText(std::exception_ptr failure);

}  // namespace almanac

// The terminal speaks UTF-8; the calendar's texts are GB18030.
#pragma once

#include <string>

namespace almanac::cli {

// Sets standard output up for UTF-8 bytes written as they are.
void PrepareStandardOutput();

// Standard output is a terminal that shows ANSI colours (and NO_COLOR is unset).
bool StandardOutputTakesColour();

// Writes GB18030 text to standard output as UTF-8, as it is.
void WriteText(const std::string& gb18030);

// Writes a GB18030 line to standard output as UTF-8, with its line end.
void WriteLine(const std::string& gb18030);

// snprintf into a std::string.
template <typename... Values>
std::string Format(const char* format, Values... values);

}  // namespace almanac::cli

#include <cstdio>

template <typename... Values>
std::string almanac::cli::Format(const char* format, Values... values) {
    int length = std::snprintf(nullptr, 0, format, values...);
    std::string text(std::size_t(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, values...);
    return text;
}

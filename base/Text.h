// The program's texts are GB18030 bytes; Win32's W functions speak UTF-16.
// Every call that carries text converts here.
#pragma once

#include <string>
#include <string_view>

namespace almanac::text {

std::wstring Wide(std::string_view gb18030);
std::string Narrow(std::wstring_view utf16);

}  // namespace almanac::text

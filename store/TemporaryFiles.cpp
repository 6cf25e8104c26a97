#include "store/TemporaryFiles.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace almanac {
namespace {

constexpr std::string_view kTemporaryMark = ".new";
constexpr std::size_t kComputerIdDigits = 8;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f'); }

// A process id or count: 1 to 10 digits, not all zero.
std::optional<unsigned long> Number(std::string_view field) {
    if (field.empty() || field.size() > 10) return std::nullopt;
    unsigned long long value = 0;
    for (char c : field) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + unsigned(c - '0');
    }
    if (value == 0 || value > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<unsigned long>(value);
}

struct TemporaryName {
    bool tellsComputer = false;  // false: a name of earlier versions
    std::string_view computer;
    unsigned long processId = 0;  // 0: the bare "<file>.new"
};

// The parts of a temporary file's name, or nothing for any other name.
std::optional<TemporaryName> ParseTemporaryName(std::string_view name, std::string_view fileName) {
    if (name.substr(0, fileName.size()) != fileName) return std::nullopt;
    name.remove_prefix(fileName.size());
    if (name.substr(0, kTemporaryMark.size()) != kTemporaryMark) return std::nullopt;
    name.remove_prefix(kTemporaryMark.size());
    if (name.empty()) return TemporaryName{};
    if (name[0] != '.') return std::nullopt;
    name.remove_prefix(1);
    // The '.'-separated fields after "<file>.new.", empty ones included.
    std::string_view fields[3];
    int count = 0;
    for (;;) {
        if (count == 3) return std::nullopt;
        std::size_t dot = name.find('.');
        fields[count++] = name.substr(0, dot);
        if (dot == std::string_view::npos) break;
        name.remove_prefix(dot + 1);
    }
    if (count == 2 && Number(fields[0]) && Number(fields[1])) return TemporaryName{false, {}, *Number(fields[0])};
    const bool computer = fields[0].size() == kComputerIdDigits &&
                          std::all_of(fields[0].begin(), fields[0].end(), IsHexDigit);
    if (count == 3 && computer && Number(fields[1]) && Number(fields[2]))
        return TemporaryName{true, fields[0], *Number(fields[1])};
    return std::nullopt;
}

}  // namespace

std::string ComputerIdOf(std::string_view computerName) {
    std::uint32_t hash = 2166136261u;
    for (char c : computerName) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string id(kComputerIdDigits, '0');
    for (std::size_t i = 0; i < kComputerIdDigits; ++i) id[kComputerIdDigits - 1 - i] = kDigits[(hash >> (4 * i)) & 0xF];
    return id;
}

std::string TemporaryFileName(std::string_view fileName, std::string_view computer, unsigned long processId,
                              unsigned count) {
    return std::string(fileName) + std::string(kTemporaryMark) + "." + std::string(computer) + "." +
           std::to_string(processId) + "." + std::to_string(count);
}

bool IsRemovableLeftover(std::string_view name, std::string_view fileName, long long ageSeconds,
                         const LeftoverCheck& here) {
    std::optional<TemporaryName> parts = ParseTemporaryName(name, fileName);
    if (!parts) return false;
    if (ageSeconds > LEFTOVER_MAX_AGE_SECONDS) return true;
    if (!parts->tellsComputer || parts->computer != here.computer) return false;
    return parts->processId != here.processId && !here.isRunning(parts->processId);
}

}  // namespace almanac

#include "ui/memory_size.h"

#include <cctype>
#include <limits>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// 0 for a unit that is not one.
std::uint64_t UnitFactor(const std::string& unit) {
    const std::string u = Upper(unit);
    if (u.empty()) return 1;
    if (u == "K" || u == "KB") return 1024;
    if (u == "M" || u == "MB") return 1048576;
    return 0;
}

// The digits' value, saturated above what any size can be.
std::uint64_t DigitsValue(const std::string& digits) {
    std::uint64_t v = 0;
    for (char c : digits) {
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
        if (v > (std::uint64_t{1} << 40)) return std::uint64_t{1} << 40;
    }
    return v;
}

}  // namespace

std::string MemorySizeText(std::int32_t nBytes) {
    if (nBytes % 1024 == 0) return std::to_string(nBytes / 1024) + "KB";
    return std::to_string(nBytes);
}

MemoryTextError ParseMemoryText(const std::string& text, std::uint32_t* pBytes) {
    size_t first = 0, last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
    const std::string t = text.substr(first, last - first);
    if (t.size() >= 20) return MemoryTextError::TooLong;
    if (t.empty()) return MemoryTextError::Empty;
    if (!IsDigit(t[0])) return MemoryTextError::Malformed;
    std::string digits, unit;
    for (char c : t) {
        // A digit after the unit ("1K2") is no size either.
        if (IsDigit(c) && unit.empty())
            digits += c;
        else if (IsLetter(c))
            unit += c;
        else
            return MemoryTextError::Malformed;
    }
    const std::uint64_t factor = UnitFactor(unit);
    if (factor == 0) return MemoryTextError::Malformed;
    const std::uint64_t bytes = DigitsValue(digits) * factor;
    if (bytes == 0) return MemoryTextError::Malformed;
    if (bytes > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        return MemoryTextError::TooLong;
    *pBytes = static_cast<std::uint32_t>(bytes);
    return MemoryTextError::None;
}

std::optional<std::uint32_t> MemorySizeOfEntry(const std::string& text) {
    std::string digits, unit;
    for (char c : text) {
        if (IsDigit(c))
            digits += c;
        else if (IsLetter(c))
            unit += c;
        else
            return std::nullopt;
    }
    std::uint64_t factor = UnitFactor(unit);
    if (factor == 0) factor = 1;  // another unit leaves the plain number
    const std::uint64_t bytes = DigitsValue(digits) * factor;
    if (bytes > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return static_cast<std::uint32_t>(bytes);
}

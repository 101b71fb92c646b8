// Memory sizes as the settings dialog lists and reads them: "128KB", "10M".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct MemorySizeEntry {
    const char* pszText;
    std::uint32_t nBytes;
};
inline constexpr MemorySizeEntry kMemorySizes[] = {
    {"128KB", 131072}, {"512KB", 524288}, {"1MB", 1048576},  {"5M", 5242880},
    {"10M", 10485760}, {"30M", 31457280}, {"50M", 52428800}, {"70M", 73400320}};
inline constexpr int kDefaultMemoryPosition = 2;

// The list text of a size not in the table: kilobytes when it is a whole
// number of them ("%dKB"), else bytes ("%d"). The record's field is signed,
// and a negative value is shown as such ("-1"), never as its unsigned twin.
std::string MemorySizeText(std::int32_t nBytes);

enum class MemoryTextError { None, TooLong, Empty, Malformed };

// A typed memory size: digits, then an optional unit K, KB, M or MB in any
// letter case. The value must be above 0 and fit the settings record's
// signed 32-bit field; a larger one counts as too long.
MemoryTextError ParseMemoryText(const std::string& text, std::uint32_t* pBytes);

// A list entry's text read as the selection handler reads it: digits
// wherever they stand, letters as the unit; nullopt when another character
// appears (the selection then changes nothing).
std::optional<std::uint32_t> MemorySizeOfEntry(const std::string& text);

// Parsed form of a compiled resource file (".res"): a sequence of records,
// each a header (data size, header size, type, name, language) and its data.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "win32/types.h"

namespace win32 {

struct ResourceEntry {
    // Ordinal type and name; names given as text are kept as text instead.
    int nType = -1;
    int nName = -1;
    std::u16string strType;
    std::u16string strName;
    std::uint16_t wLanguage = 0;
    std::vector<std::uint8_t> data;
};

// Every length is checked against what is left; nullopt for a malformed image.
WIN32_API std::optional<std::vector<ResourceEntry>> ParseResFile(const std::uint8_t* p, size_t n);

// UTF-16 (little-endian code units) to UTF-8; unpaired surrogates become U+FFFD.
WIN32_API std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace win32

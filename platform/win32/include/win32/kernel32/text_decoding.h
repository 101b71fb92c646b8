// The characters of metafile text: UTF-16 strings of the wide records and
// the code-page bytes of the ANSI ones, each character with the code units
// it came from, so that spacing values (one per code unit) can be summed
// per character.
#pragma once

#include <span>
#include <vector>

#include "win32/types.h"

struct TextCharacter {
    char32_t character;  // U+FFFD for a unit that decodes to nothing
    DWORD firstUnit;     // index of its first code unit (byte or UTF-16 unit)
    DWORD unitCount;     // 1, or 2 for surrogate pairs and double-byte characters
};

// UTF-16LE units; an unpaired surrogate becomes U+FFFD.
WIN32_API std::vector<TextCharacter> DecodeUtf16Text(std::span<const BYTE> bytes);
// Bytes in the ANSI code page of a GDI charset (1252 for ANSI and DEFAULT,
// 932 for SHIFTJIS ...); SYMBOL_CHARSET bytes stand for themselves.
WIN32_API std::vector<TextCharacter> DecodeAnsiText(std::span<const BYTE> bytes, BYTE charset);
// The Windows code page of a GDI charset.
WIN32_API UINT CodePageOfCharset(BYTE charset);

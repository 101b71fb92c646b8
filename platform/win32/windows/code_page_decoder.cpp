#include "kernel32/code_page_decoder.h"

// Windows converts every code page it has itself; the converter is the code
// page number.
CodePageDecoder::CodePageDecoder(UINT codePage) : m_codePage(codePage), m_converter(nullptr) {}

CodePageDecoder::~CodePageDecoder() = default;

bool CodePageDecoder::Convert(const BYTE* bytes, size_t count, char32_t* out) {
    if (count < 1 || count > 2 || !IsValidCodePage(m_codePage)) return false;
    wchar_t units[2] = {};
    const int n =
        MultiByteToWideChar(m_codePage, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(bytes),
                            static_cast<int>(count), units, 2);
    if (n == 1) {
        *out = units[0];
        return true;
    }
    if (n == 2 && units[0] >= 0xD800 && units[0] < 0xDC00) {
        *out = 0x10000 + ((static_cast<char32_t>(units[0]) - 0xD800) << 10) + (units[1] - 0xDC00);
        return true;
    }
    return false;
}

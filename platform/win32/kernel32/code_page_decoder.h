// One character of a Windows code page at a time, through the platform's
// converter (iconv on Linux, MultiByteToWideChar on Windows).
#pragma once

#include <cstddef>

#include "win32/types.h"

class CodePageDecoder {
public:
    explicit CodePageDecoder(UINT codePage);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    // The character of 1 or 2 bytes; false when they do not make one (or
    // the code page is unknown here).
    bool Convert(const BYTE* bytes, size_t count, char32_t* out);

private:
    UINT m_codePage;
    void* m_converter;
};

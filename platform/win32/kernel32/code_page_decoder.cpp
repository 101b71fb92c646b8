#include "kernel32/code_page_decoder.h"

#include <iconv.h>

#include <cstdio>
#include <cstring>

CodePageDecoder::CodePageDecoder(UINT codePage) : m_codePage(codePage) {
    char name[16];
    std::snprintf(name, sizeof name, codePage == 1361 ? "JOHAB" : "CP%u", codePage);
    const iconv_t cd = iconv_open("UTF-32LE", name);
    m_converter = cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd;
}

CodePageDecoder::~CodePageDecoder() {
    if (m_converter) iconv_close(static_cast<iconv_t>(m_converter));
}

bool CodePageDecoder::Convert(const BYTE* bytes, size_t count, char32_t* out) {
    if (!m_converter || count < 1 || count > 2) return false;
    const iconv_t cd = static_cast<iconv_t>(m_converter);
    char in[2];
    std::memcpy(in, bytes, count);
    char32_t result[2] = {};
    char* inPtr = in;
    size_t inLeft = count;
    char* outPtr = reinterpret_cast<char*>(result);
    size_t outLeft = sizeof result;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    if (r == static_cast<size_t>(-1) || inLeft != 0 || outLeft == sizeof result) return false;
    *out = result[0];
    return true;
}

#include "win32/kernel32/text_decoding.h"

#include "kernel32/code_page_decoder.h"
#include "win32/gdi32/gdi_text.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code page 1252 from 0x80 to 0x9F; the rest of it is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

bool IsDoubleByteCodePage(UINT codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
           codePage == 1361;
}

}  // namespace

UINT CodePageOfCharset(BYTE charset) {
    switch (charset) {
        case SHIFTJIS_CHARSET: return 932;
        case HANGUL_CHARSET: return 949;
        case JOHAB_CHARSET: return 1361;
        case GB2312_CHARSET: return 936;
        case CHINESEBIG5_CHARSET: return 950;
        case GREEK_CHARSET: return 1253;
        case TURKISH_CHARSET: return 1254;
        case VIETNAMESE_CHARSET: return 1258;
        case HEBREW_CHARSET: return 1255;
        case ARABIC_CHARSET: return 1256;
        case BALTIC_CHARSET: return 1257;
        case RUSSIAN_CHARSET: return 1251;
        case THAI_CHARSET: return 874;
        case EASTEUROPE_CHARSET: return 1250;
        case SYMBOL_CHARSET: return 42;
        case OEM_CHARSET: return 437;
        default: return 1252;
    }
}

std::vector<TextCharacter> DecodeUtf16Text(std::span<const BYTE> bytes) {
    std::vector<TextCharacter> out;
    const size_t units = bytes.size() / 2;
    out.reserve(units);
    const auto unit = [&](size_t i) -> char32_t { return bytes[2 * i] | (bytes[2 * i + 1] << 8); };
    for (size_t i = 0; i < units; ++i) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 &&
            unit(i + 1) < 0xE000) {
            out.push_back({0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00),
                           static_cast<DWORD>(i), 2});
            ++i;
        } else {
            out.push_back({u >= 0xD800 && u < 0xE000 ? kReplacement : u, static_cast<DWORD>(i), 1});
        }
    }
    return out;
}

std::vector<TextCharacter> DecodeAnsiText(std::span<const BYTE> bytes, BYTE charset) {
    std::vector<TextCharacter> out;
    out.reserve(bytes.size());
    const UINT codePage = CodePageOfCharset(charset);
    if (codePage == 42 || codePage == 1252) {
        for (size_t i = 0; i < bytes.size(); ++i) {
            const BYTE b = bytes[i];
            char32_t c = b;
            if (codePage == 1252 && b >= 0x80 && b < 0xA0) c = kCp1252High[b - 0x80];
            out.push_back({c, static_cast<DWORD>(i), 1});
        }
        return out;
    }
    CodePageDecoder decoder(codePage);
    const bool doubleByte = IsDoubleByteCodePage(codePage);
    for (size_t i = 0; i < bytes.size(); ++i) {
        char32_t c = kReplacement;
        DWORD used = 1;
        if (bytes[i] < 0x80) {
            c = bytes[i];
        } else if (!decoder.Convert(&bytes[i], 1, &c)) {
            c = kReplacement;
            if (doubleByte && i + 1 < bytes.size() && decoder.Convert(&bytes[i], 2, &c)) used = 2;
        }
        out.push_back({c, static_cast<DWORD>(i), used});
        i += used - 1;
    }
    return out;
}

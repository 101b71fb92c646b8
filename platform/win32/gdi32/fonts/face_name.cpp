#include <string>

#include "win32/gdi32/fonts.h"

namespace {

std::string Utf8Of(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

}  // namespace

std::string FaceNameOf(const LOGFONTW& logFont) {
    std::string name;
    for (size_t i = 0; i < LF_FACESIZE && logFont.lfFaceName[i] != 0; ++i) {
        char32_t c = logFont.lfFaceName[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < LF_FACESIZE &&
            logFont.lfFaceName[i + 1] >= 0xDC00 && logFont.lfFaceName[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (logFont.lfFaceName[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        name += Utf8Of(c);
    }
    return name;
}

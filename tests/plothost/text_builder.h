// Font and text records for the metafiles of the text tests.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "support/emf_builder.h"

// DWORDs of any bytes, the last one padded with zeros.
inline std::vector<DWORD> WordsOf(const void* data, size_t bytes) {
    std::vector<DWORD> words((bytes + 3) / 4, 0);
    if (bytes) std::memcpy(words.data(), data, bytes);
    return words;
}

inline LOGFONTW LogFont(const std::u16string& face, LONG height, LONG weight = FW_NORMAL) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::copy_n(face.begin(), std::min<size_t>(face.size(), LF_FACESIZE), lf.lfFaceName);
    return lf;
}

inline EmfBuilder& CreateFont(EmfBuilder& emf, DWORD index, const LOGFONTW& lf) {
    std::vector<DWORD> payload{index};
    const std::vector<DWORD> font = WordsOf(&lf, sizeof lf);
    payload.insert(payload.end(), font.begin(), font.end());
    return emf.Record(EMR_EXTCREATEFONTINDIRECTW, payload);
}

struct TextRecord {
    DWORD type = EMR_EXTTEXTOUTW;
    LONG x = 0;
    LONG y = 0;
    std::u16string text = {};   // EMR_EXTTEXTOUTW
    std::string bytes = {};     // EMR_EXTTEXTOUTA
    DWORD options = 0;          // ETO_
    RECTL rect{0, 0, 0, 0};     // ETO_OPAQUE / ETO_CLIPPED rectangle
    std::vector<LONG> dx = {};  // spacing values as written
    DWORD graphicsMode = GM_COMPATIBLE;
    // Where the arrays go; 0: right after the fixed part, then the spacing.
    DWORD offString = 0;
    DWORD offDx = 0;
    DWORD nChars = 0;  // 0: the text's length
};

inline EmfBuilder& TextOut(EmfBuilder& emf, const TextRecord& t) {
    const bool wide = t.type == EMR_EXTTEXTOUTW;
    const size_t textBytes = wide ? t.text.size() * 2 : t.bytes.size();
    const DWORD nChars =
        t.nChars ? t.nChars : static_cast<DWORD>(wide ? t.text.size() : t.bytes.size());
    const DWORD offString = t.offString ? t.offString : 76;
    const DWORD stringWords = static_cast<DWORD>((textBytes + 3) / 4);
    const DWORD offDx = t.offDx ? t.offDx : (t.dx.empty() ? 0 : 76 + stringWords * 4);
    std::vector<DWORD> p = {0,
                            0,
                            0,
                            0,
                            t.graphicsMode,
                            EmfBuilder::Float(1),
                            EmfBuilder::Float(1),
                            static_cast<DWORD>(t.x),
                            static_cast<DWORD>(t.y),
                            nChars,
                            offString,
                            t.options,
                            static_cast<DWORD>(t.rect.left),
                            static_cast<DWORD>(t.rect.top),
                            static_cast<DWORD>(t.rect.right),
                            static_cast<DWORD>(t.rect.bottom),
                            offDx};
    const std::vector<DWORD> str =
        wide ? WordsOf(t.text.data(), textBytes) : WordsOf(t.bytes.data(), textBytes);
    p.insert(p.end(), str.begin(), str.end());
    const std::vector<DWORD> dx = WordsOf(t.dx.data(), t.dx.size() * sizeof(LONG));
    p.insert(p.end(), dx.begin(), dx.end());
    return emf.Record(t.type, p);
}

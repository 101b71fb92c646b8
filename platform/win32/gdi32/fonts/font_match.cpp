#include "gdi32/fonts/font_match.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

std::string Folded(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    out.erase(std::remove(out.begin(), out.end(), ' '), out.end());
    return out;
}

// Windows faces whose metric-compatible or same-script stand-ins are known.
// fontconfig itself maps Arial, Times New Roman and Courier New to the
// Liberation faces; the East Asian faces it would give a Latin serif.
struct Substitute {
    const char* windowsFace;  // folded: lower case, no spaces
    const char* family;
};
constexpr Substitute kSubstitutes[] = {
    {"arial", "Liberation Sans"},
    {"helvetica", "Liberation Sans"},
    {"timesnewroman", "Liberation Serif"},
    {"times", "Liberation Serif"},
    {"couriernew", "Liberation Mono"},
    {"courier", "Liberation Mono"},
    {"simsun", "Noto Serif CJK SC"},
    {"nsimsun", "Noto Serif CJK SC"},
    {"\xe5\xae\x8b\xe4\xbd\x93", "Noto Serif CJK SC"},  // 宋体
    {"simhei", "Noto Sans CJK SC"},
    {"\xe9\xbb\x91\xe4\xbd\x93", "Noto Sans CJK SC"},  // 黑体
    {"microsoftyahei", "Noto Sans CJK SC"},
    {"\xe5\xbe\xae\xe8\xbd\xaf\xe9\x9b\x85\xe9\xbb\x91", "Noto Sans CJK SC"},  // 微软雅黑
    {"dengxian", "Noto Sans CJK SC"},
    {"mingliu", "Noto Serif CJK TC"},
    {"pmingliu", "Noto Serif CJK TC"},
    {"microsoftjhenghei", "Noto Sans CJK TC"},
    {"msmincho", "Noto Serif CJK JP"},
    {"mspmincho", "Noto Serif CJK JP"},
    {"\xef\xbc\xad\xef\xbc\xb3\xe6\x98\x8e\xe6\x9c\x9d", "Noto Serif CJK JP"},  // ＭＳ明朝
    {"msgothic", "Noto Sans CJK JP"},
    {"mspgothic", "Noto Sans CJK JP"},
    {"\xef\xbc\xad\xef\xbc\xb3\xe3\x82\xb4\xe3\x82\xb7\xe3\x83\x83\xe3\x82\xaf",
     "Noto Sans CJK JP"},  // ＭＳゴシック
    {"meiryo", "Noto Sans CJK JP"},
    {"yugothic", "Noto Sans CJK JP"},
    {"yumincho", "Noto Serif CJK JP"},
    {"malgungothic", "Noto Sans CJK KR"},
    {"gulim", "Noto Sans CJK KR"},
    {"batang", "Noto Serif CJK KR"},
    {"traditionalarabic", "Noto Naskh Arabic"},
    {"simplifiedarabic", "Noto Naskh Arabic"},
    {"davidclm", "Noto Serif Hebrew"},
    {"david", "Noto Serif Hebrew"},
    {"miriam", "Noto Sans Hebrew"},
    {"angsananew", "Noto Serif Thai"},
    {"cordianew", "Noto Sans Thai"},
    {"tahoma", "DejaVu Sans"},
    {"verdana", "DejaVu Sans"},
    {"mangal", "Noto Sans Devanagari"},
    {"nirmalaui", "Noto Sans Devanagari"},
    {"segoeui", "Noto Sans"},
    {"calibri", "Carlito"},
    {"cambria", "Caladea"},
};

// Scripts whose characters a Latin face lacks go to the Noto face of the
// script, in the style (sans or serif) of the face asked for, before any
// other face that happens to have them.
struct ScriptFaces {
    char32_t first;
    char32_t last;
    const char* sans;
    const char* serif;
};
constexpr ScriptFaces kScriptFaces[] = {
    {0x0590, 0x05FF, "Noto Sans Hebrew", "Noto Serif Hebrew"},
    {0xFB1D, 0xFB4F, "Noto Sans Hebrew", "Noto Serif Hebrew"},
    {0x0600, 0x06FF, "Noto Sans Arabic", "Noto Naskh Arabic"},
    {0x0750, 0x077F, "Noto Sans Arabic", "Noto Naskh Arabic"},
    {0x08A0, 0x08FF, "Noto Sans Arabic", "Noto Naskh Arabic"},
    {0xFB50, 0xFDFF, "Noto Sans Arabic", "Noto Naskh Arabic"},
    {0xFE70, 0xFEFF, "Noto Sans Arabic", "Noto Naskh Arabic"},
    {0x0900, 0x097F, "Noto Sans Devanagari", "Noto Serif Devanagari"},
    {0x0980, 0x09FF, "Noto Sans Bengali", "Noto Serif Bengali"},
    {0x0A00, 0x0A7F, "Noto Sans Gurmukhi", "Noto Serif Gurmukhi"},
    {0x0A80, 0x0AFF, "Noto Sans Gujarati", "Noto Serif Gujarati"},
    {0x0B00, 0x0B7F, "Noto Sans Oriya", "Noto Sans Oriya"},
    {0x0B80, 0x0BFF, "Noto Sans Tamil", "Noto Serif Tamil"},
    {0x0C00, 0x0C7F, "Noto Sans Telugu", "Noto Serif Telugu"},
    {0x0C80, 0x0CFF, "Noto Sans Kannada", "Noto Serif Kannada"},
    {0x0D00, 0x0D7F, "Noto Sans Malayalam", "Noto Serif Malayalam"},
    {0x0E00, 0x0E7F, "Noto Sans Thai", "Noto Serif Thai"},
};

const char* ScriptFamilyOf(char32_t character, const std::string& family) {
    const bool serif = family == "serif" || family.find("Serif") != std::string::npos;
    for (const ScriptFaces& s : kScriptFaces)
        if (character >= s.first && character <= s.last) return serif ? s.serif : s.sans;
    return nullptr;
}

FcConfig* Config() {
    // FcInit reads the configuration and the font caches once per process.
    static FcConfig* config = [] {
        FcInit();
        return FcConfigGetCurrent();
    }();
    return config;
}

// fontconfig's configuration is not safe to query from several threads
// at once in every version: one lock for all queries.
std::mutex& QueryLock() {
    static std::mutex lock;
    return lock;
}

FcPattern* PatternOf(const FaceQuery& query) {
    FcPattern* p = FcPatternCreate();
    FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(query.family.c_str()));
    FcPatternAddInteger(p, FC_WEIGHT, FcWeightFromOpenType(query.weight));
    FcPatternAddInteger(p, FC_SLANT, query.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(p, FC_SCALABLE, FcTrue);
    if (!query.language.empty())
        FcPatternAddString(p, FC_LANG, reinterpret_cast<const FcChar8*>(query.language.c_str()));
    FcConfigSubstitute(Config(), p, FcMatchPattern);
    FcDefaultSubstitute(p);
    return p;
}

bool FaceOf(FcPattern* font, FaceMatch* out) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) return false;
    *out = FaceMatch{};
    out->file = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch) out->index = index;
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        out->familyNames.emplace_back(reinterpret_cast<const char*>(name));
    if (!out->familyNames.empty()) out->family = out->familyNames.front();
    int weight = FC_WEIGHT_REGULAR;
    if (FcPatternGetInteger(font, FC_WEIGHT, 0, &weight) == FcResultMatch)
        out->weight = FcWeightToOpenType(weight);
    int slant = FC_SLANT_ROMAN;
    if (FcPatternGetInteger(font, FC_SLANT, 0, &slant) == FcResultMatch)
        out->italic = slant != FC_SLANT_ROMAN;
    return true;
}

}  // namespace

std::string QueryFamilyOf(const std::string& faceName, BYTE pitchAndFamily) {
    if (faceName.empty()) {
        if (pitchAndFamily & FIXED_PITCH) return "monospace";
        switch (pitchAndFamily & 0xF0) {
            case FF_ROMAN: return "serif";
            case FF_MODERN: return "monospace";
            default: return "sans-serif";
        }
    }
    const std::string folded = Folded(faceName);
    for (const Substitute& s : kSubstitutes)
        if (folded == s.windowsFace) return s.family;
    // Vertical-writing faces ("@MS Mincho") draw with the plain face.
    if (faceName[0] == '@') return QueryFamilyOf(faceName.substr(1), pitchAndFamily);
    return faceName;
}

const char* LanguageOfCharset(BYTE charset) {
    switch (charset) {
        case SHIFTJIS_CHARSET: return "ja";
        case HANGUL_CHARSET:
        case JOHAB_CHARSET: return "ko";
        case GB2312_CHARSET: return "zh-cn";
        case CHINESEBIG5_CHARSET: return "zh-tw";
        case GREEK_CHARSET: return "el";
        case TURKISH_CHARSET: return "tr";
        case VIETNAMESE_CHARSET: return "vi";
        case HEBREW_CHARSET: return "he";
        case ARABIC_CHARSET: return "ar";
        case BALTIC_CHARSET: return "lt";
        case RUSSIAN_CHARSET: return "ru";
        case THAI_CHARSET: return "th";
        case EASTEUROPE_CHARSET: return "pl";
        default: return "";
    }
}

bool MatchFace(const FaceQuery& query, FaceMatch* out) {
    std::lock_guard<std::mutex> lock(QueryLock());
    FcPattern* pattern = PatternOf(query);
    FcResult result = FcResultNoMatch;
    FcPattern* font = FcFontMatch(Config(), pattern, &result);
    FcPatternDestroy(pattern);
    if (!font) return false;
    const bool ok = FaceOf(font, out);
    FcPatternDestroy(font);
    return ok;
}

// Every character some installed face has, gathered once into a bitset of
// the Unicode range: a character outside it is answered at once, without
// sorting the faces.
const std::vector<bool>& InstalledCharacters() {
    static const std::vector<bool> all = [] {
        std::vector<bool> set(0x110000, false);
        FcPattern* any = FcPatternCreate();
        FcObjectSet* objects = FcObjectSetBuild(FC_CHARSET, nullptr);
        if (FcFontSet* fonts = FcFontList(Config(), any, objects)) {
            for (int i = 0; i < fonts->nfont; ++i) {
                FcCharSet* chars = nullptr;
                if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &chars) != FcResultMatch)
                    continue;
                FcChar32 map[FC_CHARSET_MAP_SIZE];
                FcChar32 next = 0;
                for (FcChar32 page = FcCharSetFirstPage(chars, map, &next); page != FC_CHARSET_DONE;
                     page = FcCharSetNextPage(chars, map, &next))
                    for (FcChar32 word = 0; word < FC_CHARSET_MAP_SIZE; ++word)
                        for (FcChar32 bit = 0; bit < 32; ++bit)
                            if (map[word] >> bit & 1) {
                                const FcChar32 c = page + word * 32 + bit;
                                if (c < set.size()) set[c] = true;
                            }
            }
            FcFontSetDestroy(fonts);
        }
        FcObjectSetDestroy(objects);
        FcPatternDestroy(any);
        return set;
    }();
    return all;
}

bool MatchFaceWithCharacter(const FaceQuery& query, char32_t character, FaceMatch* out) {
    std::lock_guard<std::mutex> lock(QueryLock());
    const std::vector<bool>& installed = InstalledCharacters();
    if (character >= installed.size() || !installed[character]) return false;
    if (const char* family = ScriptFamilyOf(character, query.family)) {
        FaceQuery script = query;
        script.family = family;
        FcPattern* pattern = PatternOf(script);
        FcResult result = FcResultNoMatch;
        FcPattern* font = FcFontMatch(Config(), pattern, &result);
        FcPatternDestroy(pattern);
        FcCharSet* chars = nullptr;
        const bool found =
            font && FcPatternGetCharSet(font, FC_CHARSET, 0, &chars) == FcResultMatch &&
            FcCharSetHasChar(chars, character) && FaceOf(font, out) && FaceHasName(*out, family);
        if (font) FcPatternDestroy(font);
        if (found) return true;
    }
    FcPattern* pattern = PatternOf(query);
    FcResult result = FcResultNoMatch;
    FcFontSet* set = FcFontSort(Config(), pattern, FcTrue, nullptr, &result);
    bool found = false;
    if (set) {
        for (int i = 0; i < set->nfont && !found; ++i) {
            FcCharSet* chars = nullptr;
            if (FcPatternGetCharSet(set->fonts[i], FC_CHARSET, 0, &chars) != FcResultMatch ||
                !FcCharSetHasChar(chars, character))
                continue;
            FcPattern* font = FcFontRenderPrepare(Config(), pattern, set->fonts[i]);
            if (font) {
                found = FaceOf(font, out);
                FcPatternDestroy(font);
            }
        }
        FcFontSetDestroy(set);
    }
    FcPatternDestroy(pattern);
    return found;
}

bool FaceHasName(const FaceMatch& face, const std::string& name) {
    const std::string folded = Folded(name);
    for (const std::string& n : face.familyNames)
        if (Folded(n) == folded) return true;
    return false;
}

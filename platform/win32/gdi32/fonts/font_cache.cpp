// The font cache: logical fonts realised once, faces opened once, glyph
// outlines made once per font, glyph and fineness.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <deque>
#include <map>
#include <unordered_map>

#include "gdi32/fonts/font_face.h"
#include "gdi32/fonts/font_match.h"
#include "win32/gdi32/fonts.h"

namespace {

// Outlines kept before the cache starts over: a few pages of CJK text at
// a handful of sizes, some tens of MiB at most.
constexpr size_t kMaxCachedOutlines = 50000;
// Curves are flattened to a fifth of a device pixel.
constexpr double kFlatnessPixels = 0.2;

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

// The fineness class of a size: the power of two at or above the pixels
// per em, so that one outline serves sizes up to twice apart.
int FinenessOf(double pixelsPerEm) {
    if (!(pixelsPerEm > 8)) return 3;
    if (pixelsPerEm > 65536) return 16;
    return static_cast<int>(std::ceil(std::log2(pixelsPerEm)));
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

struct FontCache::Impl {
    FT_Library library = nullptr;
    std::map<std::pair<std::string, int>, std::unique_ptr<FontFace>> faces;

    struct Realised {
        FontInfo info;
        const FontFace* face = nullptr;
        FaceQuery query;
        std::vector<FontId> fallbacks;  // tried first for characters the face lacks
        std::unordered_map<char32_t, GlyphRef> characters;
    };
    std::deque<Realised> fonts;  // by FontId; stable addresses
    std::map<std::string, FontId> byRequest;
    std::map<std::tuple<std::string, int, bool, bool>, FontId> byFace;
    std::unordered_map<uint64_t, std::shared_ptr<const GlyphOutline>> outlines;
    size_t loaded = 0;
    size_t reused = 0;

    const FontFace* OpenFace(const FaceMatch& match) {
        auto key = std::make_pair(match.file, match.index);
        auto it = faces.find(key);
        if (it == faces.end())
            it = faces.emplace(key, FontFace::Open(library, match.file, match.index)).first;
        return it->second.get();
    }

    // The realised font of a face drawn for a query: synthetic bold and
    // italic where the query asks what the face lacks.
    FontId Realise(const FaceMatch& match, const FaceQuery& query, const std::string& requested) {
        const FontFace* face = OpenFace(match);
        if (!face) return -1;
        const bool bold = query.weight >= FW_SEMIBOLD && face->Weight() < FW_SEMIBOLD;
        const bool italic = query.italic && !face->Italic();
        const auto key = std::make_tuple(match.file, match.index, bold, italic);
        if (auto it = byFace.find(key); it != byFace.end() && requested.empty()) return it->second;
        Realised r;
        r.info.id = static_cast<FontId>(fonts.size());
        r.info.requestedFace = requested;
        r.info.family = match.family;
        r.info.file = match.file;
        r.info.substituted = !requested.empty() && !FaceHasName(match, requested);
        r.info.syntheticBold = bold;
        r.info.syntheticItalic = italic;
        r.info.metrics = face->Metrics();
        r.face = face;
        r.query = query;
        fonts.push_back(std::move(r));
        byFace.emplace(key, fonts.back().info.id);
        return fonts.back().info.id;
    }
};

FontCache::FontCache() : m_impl(std::make_unique<Impl>()) {
    FT_Init_FreeType(&m_impl->library);
}

FontCache::~FontCache() {
    m_impl->fonts.clear();
    m_impl->faces.clear();
    if (m_impl->library) FT_Done_FreeType(m_impl->library);
}

const FontInfo* FontCache::Resolve(const LOGFONTW& logFont) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Impl& impl = *m_impl;
    if (!impl.library) return nullptr;
    const std::string requested = FaceNameOf(logFont);
    FaceQuery query;
    query.family = QueryFamilyOf(requested, logFont.lfPitchAndFamily);
    query.language = LanguageOfCharset(logFont.lfCharSet);
    query.weight = logFont.lfWeight <= 0 ? FW_NORMAL : std::min<LONG>(logFont.lfWeight, 1000);
    query.italic = logFont.lfItalic != 0;
    const std::string key = requested + '\n' + query.family + '\n' + query.language + '\n' +
                            std::to_string(query.weight) + (query.italic ? "i" : "r");
    if (auto it = impl.byRequest.find(key); it != impl.byRequest.end())
        return it->second < 0 ? nullptr : &impl.fonts[it->second].info;
    FaceMatch match;
    FontId id = MatchFace(query, &match) ? impl.Realise(match, query, requested) : -1;
    if (id < 0) {
        // The face fontconfig chose cannot be opened: any face will do.
        FaceQuery any = query;
        any.family = "sans-serif";
        if (MatchFace(any, &match)) id = impl.Realise(match, any, requested);
    }
    impl.byRequest.emplace(key, id);
    return id < 0 ? nullptr : &impl.fonts[id].info;
}

GlyphRef FontCache::MapCharacter(FontId font, char32_t character) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Impl& impl = *m_impl;
    if (font < 0 || static_cast<size_t>(font) >= impl.fonts.size()) return {};
    Impl::Realised& r = impl.fonts[font];
    if (auto it = r.characters.find(character); it != r.characters.end()) return it->second;
    GlyphRef ref{font, r.face->GlyphOf(character)};
    // Spaces and controls never need another face.
    if (ref.glyph == 0 && character > 0x20) {
        bool found = false;
        for (FontId f : r.fallbacks) {
            const UINT g = impl.fonts[f].face->GlyphOf(character);
            if (g) {
                ref = {f, g};
                found = true;
                break;
            }
        }
        FaceMatch match;
        if (!found && MatchFaceWithCharacter(r.query, character, &match)) {
            const FontId f = impl.Realise(match, r.query, {});
            if (f >= 0) {
                if (const UINT g = impl.fonts[f].face->GlyphOf(character)) {
                    ref = {f, g};
                    impl.fonts[font].fallbacks.push_back(f);
                }
            }
        }
    }
    impl.fonts[font].characters.emplace(character, ref);
    return ref;
}

const FontInfo* FontCache::Info(FontId font) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (font < 0 || static_cast<size_t>(font) >= m_impl->fonts.size()) return nullptr;
    return &m_impl->fonts[font].info;
}

bool FontCache::HasGlyphIndex(FontId font, UINT glyph) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (font < 0 || static_cast<size_t>(font) >= m_impl->fonts.size()) return false;
    return glyph < m_impl->fonts[font].face->GlyphCount();
}

std::shared_ptr<const GlyphOutline> FontCache::Outline(GlyphRef glyph, double pixelsPerEm) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Impl& impl = *m_impl;
    if (glyph.font < 0 || static_cast<size_t>(glyph.font) >= impl.fonts.size()) return nullptr;
    const int fineness = FinenessOf(std::fabs(pixelsPerEm));
    const uint64_t key =
        (uint64_t(uint32_t(glyph.font)) << 40) | (uint64_t(glyph.glyph) << 8) | uint64_t(fineness);
    if (auto it = impl.outlines.find(key); it != impl.outlines.end()) {
        ++impl.reused;
        return it->second;
    }
    const Impl::Realised& r = impl.fonts[glyph.font];
    auto outline = std::make_shared<GlyphOutline>();
    const double tolerance = kFlatnessPixels / std::ldexp(1.0, fineness);
    if (!r.face->LoadOutline(glyph.glyph, r.info.syntheticBold, r.info.syntheticItalic, tolerance,
                             outline.get()) &&
        glyph.glyph != 0)
        r.face->LoadOutline(0, r.info.syntheticBold, r.info.syntheticItalic, tolerance,
                            outline.get());
    if (impl.outlines.size() >= kMaxCachedOutlines) impl.outlines.clear();
    impl.outlines.emplace(key, outline);
    ++impl.loaded;
    return outline;
}

size_t FontCache::OutlinesLoaded() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_impl->loaded;
}

size_t FontCache::OutlinesReused() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_impl->reused;
}

FontCache& SharedFontCache() {
    static FontCache* cache = new FontCache;  // outlives every static player
    return *cache;
}

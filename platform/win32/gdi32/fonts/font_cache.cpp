// The font cache: logical fonts realised once, faces opened once, glyph
// curves read once per face and glyph, outlines flattened once per face,
// glyph and fineness, and both forgotten, least recently used first, when
// they would hold more than their bytes.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <deque>
#include <map>
#include <unordered_map>

#include "gdi32/fonts/font_face.h"
#include "gdi32/fonts/glyph_cache.h"
#include "gdi32/fonts/font_match.h"
#include "win32/gdi32/fonts.h"

struct FontCache::Impl {
    FT_Library library = nullptr;
    std::map<std::pair<std::string, int>, std::unique_ptr<FontFace>> faces;

    struct Realised {
        FontInfo info;
        const FontFace* face = nullptr;
        FaceQuery query;
        FontId faceKey = -1;  // the first font of the face and its synthesis: the glyphs' key
        std::vector<FontId> fallbacks;  // tried first for characters the face lacks
        std::unordered_map<char32_t, GlyphRef> characters;
    };
    std::deque<Realised> fonts;  // by FontId; stable addresses
    std::map<std::string, FontId> byRequest;
    std::map<std::tuple<std::string, int, bool, bool>, FontId> byFace;
    GlyphCache glyphs;

    explicit Impl(size_t budget) : glyphs(budget) {}

    // The glyph a font draws for an index: glyph 0 for one its face lacks.
    static UINT Drawn(const Realised& r, UINT glyph) {
        return glyph < r.face->GlyphCount() ? glyph : 0;
    }

    std::shared_ptr<const GlyphShape> ShapeOf(GlyphRef glyph) {
        if (glyph.font < 0 || static_cast<size_t>(glyph.font) >= fonts.size()) return nullptr;
        const Realised& r = fonts[glyph.font];
        const UINT drawn = Drawn(r, glyph.glyph);
        if (auto found = glyphs.FindShape(r.faceKey, drawn)) return found;
        auto shape = std::make_shared<GlyphShape>();
        r.face->LoadShape(drawn, r.info.syntheticBold, r.info.syntheticItalic, shape.get());
        glyphs.KeepShape(r.faceKey, drawn, shape);
        return shape;
    }

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
        const auto same = byFace.find(key);
        if (same != byFace.end() && requested.empty()) return same->second;
        Realised r;
        r.info.id = static_cast<FontId>(fonts.size());
        r.faceKey = same != byFace.end() ? same->second : r.info.id;
        r.info.requestedFace = requested;
        r.info.family = match.family;
        r.info.file = match.file;
        r.info.faceIndex = match.index;
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

FontCache::FontCache(size_t glyphCacheBytes) : m_impl(std::make_unique<Impl>(glyphCacheBytes)) {
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

std::shared_ptr<const GlyphShape> FontCache::Shape(GlyphRef glyph) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_impl->ShapeOf(glyph);
}

std::shared_ptr<const GlyphOutline> FontCache::Outline(GlyphRef glyph, double pixelsPerEm) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Impl& impl = *m_impl;
    const std::shared_ptr<const GlyphShape> shape = impl.ShapeOf(glyph);
    if (!shape) return nullptr;
    const Impl::Realised& r = impl.fonts[glyph.font];
    return impl.glyphs.Outline(r.faceKey, impl.Drawn(r, glyph.glyph), *shape, pixelsPerEm);
}

UINT FontCache::FaceGlyph(FontId font, char32_t character) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (font < 0 || static_cast<size_t>(font) >= m_impl->fonts.size()) return 0;
    return m_impl->fonts[font].face->GlyphOf(character);
}

size_t FontCache::CachedBytes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_impl->glyphs.Bytes();
}

size_t FontCache::OutlinesLoaded() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_impl->glyphs.OutlinesLoaded();
}

size_t FontCache::OutlinesReused() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_impl->glyphs.OutlinesReused();
}

FontCache& SharedFontCache() {
    static FontCache* cache = new FontCache;  // outlives every static player
    return *cache;
}

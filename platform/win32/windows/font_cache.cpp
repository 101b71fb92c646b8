// The font cache on Windows: logical fonts are realised by GDI itself at a
// size of kRealisedEmPixels pixels to the em, characters mapped with
// GetGlyphIndicesW and curves read with GetGlyphOutlineW (unhinted, so
// they are the face's own), kept and flattened as the Linux build keeps and
// flattens FreeType's (gdi32/fonts/glyph_cache.h). Characters the face
// lacks come from the first installed TrueType family of the font's style
// that has them, as its Unicode ranges say (GetFontUnicodeRanges, read once
// per family).
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <deque>
#include <initializer_list>
#include <map>
#include <unordered_map>

#include "gdi32/fonts/glyph_cache.h"
#include "win32/gdi32/fonts.h"
#include "windows/font_cache_faces.h"

namespace {

double ToEm(const FIXED& f) {
    return (f.value + f.fract / 65536.0) / kRealisedEmPixels;
}

std::wstring LowerCase(std::wstring s) {
    CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

// The curves of a GGO_NATIVE buffer: TrueType's quadratic B-splines, or a
// CFF face's cubic Béziers.
void ReadNativeOutline(const BYTE* data, DWORD size, GlyphShape* out) {
    const auto add = [out](GlyphShape::Verb verb, std::initializer_list<GlyphPoint> points) {
        out->verbs.push_back(verb);
        out->points.insert(out->points.end(), points);
    };
    for (DWORD at = 0; at + sizeof(TTPOLYGONHEADER) <= size;) {
        TTPOLYGONHEADER header;
        std::memcpy(&header, data + at, sizeof header);
        if (header.cb < sizeof header || header.cb > size - at) break;
        const DWORD end = at + header.cb;
        add(GlyphShape::kMove, {{ToEm(header.pfxStart.x), ToEm(header.pfxStart.y)}});
        for (DWORD curveAt = at + sizeof header; curveAt + 4 <= end;) {
            WORD type, count;
            std::memcpy(&type, data + curveAt, 2);
            std::memcpy(&count, data + curveAt + 2, 2);
            const DWORD pointsAt = curveAt + 4;
            if (count > (end - pointsAt) / sizeof(POINTFX)) break;
            std::vector<GlyphPoint> p(count);
            for (WORD i = 0; i < count; ++i) {
                POINTFX fx;
                std::memcpy(&fx, data + pointsAt + i * sizeof(POINTFX), sizeof fx);
                p[i] = {ToEm(fx.x), ToEm(fx.y)};
            }
            if (type == TT_PRIM_LINE) {
                for (const GlyphPoint& q : p) add(GlyphShape::kLine, {q});
            } else if (type == TT_PRIM_QSPLINE) {
                // Between two control points lies an implied on-curve point.
                for (WORD i = 0; i + 1 < count; ++i) {
                    const GlyphPoint to = i + 2 == count ? p[i + 1]
                                                         : GlyphPoint{(p[i].x + p[i + 1].x) / 2,
                                                                      (p[i].y + p[i + 1].y) / 2};
                    add(GlyphShape::kConic, {p[i], to});
                }
            } else if (type == TT_PRIM_CSPLINE) {
                for (WORD i = 0; i + 2 < count; i += 3)
                    add(GlyphShape::kCubic, {p[i], p[i + 1], p[i + 2]});
            }
            curveAt = pointsAt + count * sizeof(POINTFX);
        }
        at = end;
    }
    FinishGlyphShape(out);
}

// What a logical font asks for, as a key: the same request realises the
// same font.
std::wstring RequestKey(const LOGFONTW& logFont) {
    return std::wstring(logFont.lfFaceName, wcsnlen(logFont.lfFaceName, LF_FACESIZE)) + L'\n' +
           std::to_wstring(logFont.lfWeight) + L'\n' + std::to_wstring(logFont.lfItalic) + L'\n' +
           std::to_wstring(logFont.lfCharSet) + L'\n' + std::to_wstring(logFont.lfPitchAndFamily);
}

// An installed TrueType family, its style and the characters it has.
struct Family {
    std::wstring name;
    bool bold = false;
    bool italic = false;
    BYTE kind = FF_DONTCARE;      // FF_ROMAN, FF_SWISS ...
    std::vector<WCRANGE> ranges;  // by first character; read when first searched
    bool rangesRead = false;
};

// How well a family stands in for a font: 2 of the same style and kind
// (serif, sans serif), 1 of the same style, else 0.
int Likeness(const Family& family, const LOGFONTW& font) {
    if (family.bold != (font.lfWeight >= FW_SEMIBOLD) || family.italic != (font.lfItalic != 0))
        return 0;
    return family.kind == (font.lfPitchAndFamily & 0xF0) ? 2 : 1;
}

}  // namespace

struct FontCache::Impl {
    HDC dc = CreateCompatibleDC(nullptr);

    struct Realised {
        FontInfo info;
        HFONT font = nullptr;
        LOGFONTW logFont{};
        UINT glyphCount = 0;
        FontId faceKey = -1;  // the first font of the face and its synthesis: the glyphs' key
        SCRIPT_CACHE scriptCache = nullptr;
        std::vector<FontId> fallbacks;  // tried first for characters the face lacks
        std::unordered_map<char32_t, GlyphRef> characters;
    };
    std::deque<Realised> fonts;  // by FontId; stable addresses
    std::map<std::wstring, FontId> byRequest;
    std::map<std::wstring, FontId> fallbackFonts;  // by request
    std::map<std::wstring, FontId> byFace;         // by face and synthesis
    std::vector<Family> families;
    bool familiesRead = false;
    GlyphCache glyphs;

    std::mutex shaping;
    HDC shapingDc = CreateCompatibleDC(nullptr);

    explicit Impl(size_t budget) : glyphs(budget) {}

    ~Impl() {
        for (Realised& r : fonts) {
            if (r.scriptCache) ScriptFreeCache(&r.scriptCache);
            DeleteObject(r.font);
        }
        DeleteDC(shapingDc);
        DeleteDC(dc);
    }

    static int CALLBACK AddFamily(const LOGFONTW* lf, const TEXTMETRICW*, DWORD type, LPARAM p) {
        auto* list = reinterpret_cast<std::vector<Family>*>(p);
        if ((type & TRUETYPE_FONTTYPE) && lf->lfFaceName[0] != L'@' &&
            std::none_of(list->begin(), list->end(),
                         [&](const Family& f) { return f.name == lf->lfFaceName; }))
            list->push_back({lf->lfFaceName,
                             lf->lfWeight >= FW_SEMIBOLD,
                             lf->lfItalic != 0,
                             static_cast<BYTE>(lf->lfPitchAndFamily & 0xF0),
                             {},
                             false});
        return 1;
    }

    std::vector<Family>& Families() {
        if (!familiesRead) {
            LOGFONTW any{};
            any.lfCharSet = DEFAULT_CHARSET;
            EnumFontFamiliesExW(dc, &any, &AddFamily, reinterpret_cast<LPARAM>(&families), 0);
            familiesRead = true;
        }
        return families;
    }

    bool Covers(Family& family, char32_t character) {
        if (!family.rangesRead) {
            family.rangesRead = true;
            LOGFONTW lf{};
            lf.lfHeight = -kRealisedEmPixels;
            lf.lfCharSet = DEFAULT_CHARSET;
            std::wcsncpy(lf.lfFaceName, family.name.c_str(), LF_FACESIZE - 1);
            if (HFONT font = CreateFontIndirectW(&lf)) {
                const HGDIOBJ old = SelectObject(dc, font);
                if (const DWORD size = GetFontUnicodeRanges(dc, nullptr)) {
                    std::vector<BYTE> bytes(size);
                    auto* set = reinterpret_cast<GLYPHSET*>(bytes.data());
                    set->cbThis = size;
                    if (GetFontUnicodeRanges(dc, set) && set->cRanges > 0 &&
                        offsetof(GLYPHSET, ranges) + set->cRanges * sizeof(WCRANGE) <= size)
                        family.ranges.assign(set->ranges, set->ranges + set->cRanges);
                }
                SelectObject(dc, old);
                DeleteObject(font);
            }
            std::sort(family.ranges.begin(), family.ranges.end(),
                      [](const WCRANGE& a, const WCRANGE& b) { return a.wcLow < b.wcLow; });
        }
        if (character > 0xFFFF) return false;
        auto after = std::upper_bound(
            family.ranges.begin(), family.ranges.end(), character,
            [](char32_t c, const WCRANGE& r) { return c < static_cast<char32_t>(r.wcLow); });
        return after != family.ranges.begin() &&
               character < static_cast<char32_t>((after - 1)->wcLow) + (after - 1)->cGlyphs;
    }

    FontId Realise(LOGFONTW logFont, const std::string& requested) {
        logFont.lfHeight = -kRealisedEmPixels;
        logFont.lfWidth = 0;
        logFont.lfEscapement = logFont.lfOrientation = 0;
        logFont.lfUnderline = logFont.lfStrikeOut = FALSE;
        HFONT font = CreateFontIndirectW(&logFont);
        if (!font) return -1;
        SelectObject(dc, font);
        Realised r;
        r.font = font;
        r.logFont = logFont;
        r.info.id = static_cast<FontId>(fonts.size());
        r.info.requestedFace = requested;
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, face);
        LOGFONTW named{};
        std::wcsncpy(named.lfFaceName, face, LF_FACESIZE - 1);
        r.info.family = FaceNameOf(named);
        r.info.substituted =
            logFont.lfFaceName[0] != 0 && LowerCase(face) != LowerCase(logFont.lfFaceName);
        OUTLINETEXTMETRICW otm{};
        otm.otmSize = sizeof otm;
        LONG weight = 0;
        if (GetOutlineTextMetricsW(dc, sizeof otm, &otm)) {
            const double em = kRealisedEmPixels;
            FontMetrics& m = r.info.metrics;
            m.ascent = otm.otmTextMetrics.tmAscent / em;
            m.descent = otm.otmTextMetrics.tmDescent / em;
            m.averageWidth = otm.otmTextMetrics.tmAveCharWidth / em;
            m.underlineThickness = std::max<UINT>(otm.otmsUnderscoreSize, 1) / em;
            m.underlinePosition = otm.otmsUnderscorePosition / em;
            m.strikeoutThickness = std::max<UINT>(otm.otmsStrikeoutSize, 1) / em;
            m.strikeoutPosition = otm.otmsStrikeoutPosition / em;
            // GDI draws what the face lacks itself, in the outlines too.
            weight = otm.otmTextMetrics.tmWeight;
            r.info.syntheticBold = logFont.lfWeight >= FW_SEMIBOLD && weight < FW_SEMIBOLD;
            r.info.syntheticItalic = logFont.lfItalic && !(otm.otmfsSelection & 1);
        }
        // 'maxp': the face's glyph count at byte 4, big-endian.
        BYTE maxp[6] = {};
        if (GetFontData(dc, 0x7078616D, 0, maxp, sizeof maxp) == sizeof maxp)
            r.glyphCount = (maxp[4] << 8) | maxp[5];
        // Fonts of one face drawn alike share their glyphs.
        const std::wstring faceKey =
            LowerCase(face) + L'\n' + std::to_wstring(weight) + (logFont.lfItalic ? L"i" : L"r") +
            (r.info.syntheticBold ? L"b" : L"") + (r.info.syntheticItalic ? L"s" : L"");
        r.faceKey = byFace.emplace(faceKey, r.info.id).first->second;
        fonts.push_back(std::move(r));
        return fonts.back().info.id;
    }

    // The font of a family for characters another font lacks, in that
    // font's weight and slant; realised once.
    FontId Fallback(const Realised& of, const std::wstring& family) {
        LOGFONTW other = of.logFont;
        std::wcsncpy(other.lfFaceName, family.c_str(), LF_FACESIZE - 1);
        other.lfFaceName[LF_FACESIZE - 1] = 0;
        other.lfCharSet = DEFAULT_CHARSET;
        const std::wstring key = RequestKey(other);
        if (auto it = fallbackFonts.find(key); it != fallbackFonts.end()) return it->second;
        const FontId id = Realise(other, {});
        fallbackFonts.emplace(key, id);
        return id;
    }

    UINT GlyphOf(FontId font, char32_t character) {
        // Characters beyond the first plane have no single UTF-16 unit:
        // GetGlyphIndicesW cannot map them (Uniscribe shapes them).
        if (character > 0xFFFF) return 0;
        SelectObject(dc, fonts[font].font);
        const wchar_t unit = static_cast<wchar_t>(character);
        WORD glyph = 0xFFFF;
        if (GetGlyphIndicesW(dc, &unit, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) != 1 ||
            glyph == 0xFFFF)
            return 0;
        return glyph;
    }

    bool Valid(FontId font) const { return font >= 0 && static_cast<size_t>(font) < fonts.size(); }

    // The glyph a font draws for an index: glyph 0 for one its face lacks.
    static UINT Drawn(const Realised& r, UINT glyph) {
        return r.glyphCount == 0 || glyph < r.glyphCount ? glyph : 0;
    }

    std::shared_ptr<const GlyphShape> ShapeOf(GlyphRef glyph) {
        if (!Valid(glyph.font)) return nullptr;
        const Realised& r = fonts[glyph.font];
        const UINT drawn = Drawn(r, glyph.glyph);
        if (auto found = glyphs.FindShape(r.faceKey, drawn)) return found;
        auto shape = std::make_shared<GlyphShape>();
        SelectObject(dc, r.font);
        const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        GLYPHMETRICS metrics{};
        const UINT format = GGO_NATIVE | GGO_GLYPH_INDEX | GGO_UNHINTED;
        const DWORD size = GetGlyphOutlineW(dc, drawn, format, &metrics, 0, nullptr, &identity);
        if (size != GDI_ERROR) {
            std::vector<BYTE> data(size);
            if (size == 0 || GetGlyphOutlineW(dc, drawn, format, &metrics, size, data.data(),
                                              &identity) != GDI_ERROR) {
                ReadNativeOutline(data.data(), size, shape.get());
                shape->advance = static_cast<double>(metrics.gmCellIncX) / kRealisedEmPixels;
            }
        }
        glyphs.KeepShape(r.faceKey, drawn, shape);
        return shape;
    }
};

FontCache::FontCache(size_t glyphCacheBytes) : m_impl(std::make_unique<Impl>(glyphCacheBytes)) {}

FontCache::~FontCache() = default;

const FontInfo* FontCache::Resolve(const LOGFONTW& logFont) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Impl& impl = *m_impl;
    const std::wstring key = RequestKey(logFont);
    if (auto it = impl.byRequest.find(key); it != impl.byRequest.end())
        return it->second < 0 ? nullptr : &impl.fonts[it->second].info;
    const FontId id = impl.Realise(logFont, FaceNameOf(logFont));
    impl.byRequest.emplace(key, id);
    return id < 0 ? nullptr : &impl.fonts[id].info;
}

GlyphRef FontCache::MapCharacter(FontId font, char32_t character) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Impl& impl = *m_impl;
    if (!impl.Valid(font)) return {};
    if (auto it = impl.fonts[font].characters.find(character);
        it != impl.fonts[font].characters.end())
        return it->second;
    GlyphRef ref{font, impl.GlyphOf(font, character)};
    // Spaces and controls never need another face.
    if (ref.glyph == 0 && character > 0x20) {
        for (FontId f : impl.fonts[font].fallbacks)
            if (const UINT g = impl.GlyphOf(f, character)) {
                ref = {f, g};
                break;
            }
        // The first family of the font's style and kind that has it, else
        // of its style, else any.
        for (int likeness = 2; likeness >= 0 && ref.glyph == 0; --likeness) {
            for (Family& family : impl.Families()) {
                if (Likeness(family, impl.fonts[font].logFont) != likeness ||
                    !impl.Covers(family, character))
                    continue;
                const FontId f = impl.Fallback(impl.fonts[font], family.name);
                if (f < 0) continue;
                if (const UINT g = impl.GlyphOf(f, character)) {
                    ref = {f, g};
                    impl.fonts[font].fallbacks.push_back(f);
                    break;
                }
            }
        }
    }
    impl.fonts[font].characters.emplace(character, ref);
    return ref;
}

UINT FontCache::FaceGlyph(FontId font, char32_t character) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_impl->Valid(font) ? m_impl->GlyphOf(font, character) : 0;
}

const FontInfo* FontCache::Info(FontId font) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_impl->Valid(font) ? &m_impl->fonts[font].info : nullptr;
}

bool FontCache::HasGlyphIndex(FontId font, UINT glyph) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_impl->Valid(font) && glyph < m_impl->fonts[font].glyphCount;
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

size_t FontCache::OutlinesLoaded() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_impl->glyphs.OutlinesLoaded();
}

size_t FontCache::OutlinesReused() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_impl->glyphs.OutlinesReused();
}

size_t FontCache::CachedBytes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_impl->glyphs.Bytes();
}

FontCache& SharedFontCache() {
    static FontCache* cache = new FontCache;  // outlives every static player
    return *cache;
}

std::unique_lock<std::mutex> FontCacheFaces::LockShaping(FontCache& fonts) {
    return std::unique_lock<std::mutex>(fonts.m_impl->shaping);
}

HDC FontCacheFaces::ShapingDc(FontCache& fonts) {
    return fonts.m_impl->shapingDc;
}

FontCacheFaces::Face FontCacheFaces::Of(FontCache& fonts, FontId font) {
    std::lock_guard<std::mutex> lock(fonts.m_mutex);
    FontCache::Impl& impl = *fonts.m_impl;
    if (!impl.Valid(font)) return {};
    FontCache::Impl::Realised& r = impl.fonts[font];
    return {r.font, &r.scriptCache};
}

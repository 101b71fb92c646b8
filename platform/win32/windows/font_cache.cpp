// The font cache on Windows: logical fonts are realised by GDI itself at a
// size of kEmPixels pixels to the em, characters mapped with
// GetGlyphIndicesW and outlines read with GetGlyphOutlineW (unhinted, so
// they are the face's own curves), flattened here as the Linux build
// flattens FreeType's. Characters the face lacks come from the first
// installed TrueType face that has them.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <deque>
#include <map>
#include <unordered_map>

#include "win32/gdi32/fonts.h"

namespace {

// The em of the realised fonts, in pixels: outlines come in 16.16 pixels.
constexpr LONG kEmPixels = 2048;
constexpr size_t kMaxCachedOutlines = 50000;
// Curves are flattened to a fifth of a device pixel, as on Linux.
constexpr double kFlatnessPixels = 0.2;
// Curves are cut into at most this many segments, whatever the tolerance.
constexpr int kMaxSegments = 64;

int FinenessOf(double pixelsPerEm) {
    if (!(pixelsPerEm > 8)) return 3;
    if (pixelsPerEm > 65536) return 16;
    return static_cast<int>(std::ceil(std::log2(pixelsPerEm)));
}

double ToEm(const FIXED& f) {
    return (f.value + f.fract / 65536.0) / kEmPixels;
}

std::wstring LowerCase(std::wstring s) {
    CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

// Appends the curve from p0 through the control points to its end as
// straight segments, n of them as the deviation from the chord asks.
void FlattenQuadratic(GlyphPoint p0, GlyphPoint c, GlyphPoint p1, double tolerance,
                      std::vector<GlyphPoint>* out) {
    const double dx = p0.x - 2 * c.x + p1.x, dy = p0.y - 2 * c.y + p1.y;
    const double deviation = std::hypot(dx, dy) / 4;
    int n =
        deviation > tolerance ? static_cast<int>(std::ceil(std::sqrt(deviation / tolerance))) : 1;
    n = std::min(n, kMaxSegments);
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1 - t;
        out->push_back({u * u * p0.x + 2 * u * t * c.x + t * t * p1.x,
                        u * u * p0.y + 2 * u * t * c.y + t * t * p1.y});
    }
}

void FlattenCubic(GlyphPoint p0, GlyphPoint c1, GlyphPoint c2, GlyphPoint p1, double tolerance,
                  std::vector<GlyphPoint>* out) {
    const double d1 = std::hypot(p0.x - 2 * c1.x + c2.x, p0.y - 2 * c1.y + c2.y);
    const double d2 = std::hypot(c1.x - 2 * c2.x + p1.x, c1.y - 2 * c2.y + p1.y);
    const double deviation = 0.75 * std::max(d1, d2);
    int n =
        deviation > tolerance ? static_cast<int>(std::ceil(std::sqrt(deviation / tolerance))) : 1;
    n = std::min(n, kMaxSegments);
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1 - t;
        const double a = u * u * u, b = 3 * u * u * t, cc = 3 * u * t * t, d = t * t * t;
        out->push_back({a * p0.x + b * c1.x + cc * c2.x + d * p1.x,
                        a * p0.y + b * c1.y + cc * c2.y + d * p1.y});
    }
}

// The contours of a GGO_NATIVE buffer (TrueType quadratic or CFF cubic).
void ReadNativeOutline(const BYTE* data, DWORD size, double tolerance, GlyphOutline* out) {
    DWORD at = 0;
    while (at + sizeof(TTPOLYGONHEADER) <= size) {
        TTPOLYGONHEADER header;
        std::memcpy(&header, data + at, sizeof header);
        if (header.cb < sizeof header || at + header.cb > size) return;
        std::vector<GlyphPoint> contour;
        GlyphPoint current{ToEm(header.pfxStart.x), ToEm(header.pfxStart.y)};
        contour.push_back(current);
        DWORD curveAt = at + sizeof header;
        while (curveAt + 4 <= at + header.cb) {
            WORD type, count;
            std::memcpy(&type, data + curveAt, 2);
            std::memcpy(&count, data + curveAt + 2, 2);
            const DWORD pointsAt = curveAt + 4;
            if (pointsAt + count * sizeof(POINTFX) > at + header.cb) return;
            std::vector<GlyphPoint> p(count);
            for (WORD i = 0; i < count; ++i) {
                POINTFX fx;
                std::memcpy(&fx, data + pointsAt + i * sizeof(POINTFX), sizeof fx);
                p[i] = {ToEm(fx.x), ToEm(fx.y)};
            }
            if (type == TT_PRIM_LINE) {
                contour.insert(contour.end(), p.begin(), p.end());
            } else if (type == TT_PRIM_QSPLINE) {
                // Between two control points lies an implied on-curve point.
                for (WORD i = 0; i + 1 < count; ++i) {
                    const GlyphPoint end = i + 2 == count ? p[i + 1]
                                                          : GlyphPoint{(p[i].x + p[i + 1].x) / 2,
                                                                       (p[i].y + p[i + 1].y) / 2};
                    FlattenQuadratic(current, p[i], end, tolerance, &contour);
                    current = end;
                }
            } else if (type == TT_PRIM_CSPLINE) {
                for (WORD i = 0; i + 2 < count; i += 3) {
                    FlattenCubic(current, p[i], p[i + 1], p[i + 2], tolerance, &contour);
                    current = p[i + 2];
                }
            }
            if (!contour.empty()) current = contour.back();
            curveAt = pointsAt + count * sizeof(POINTFX);
        }
        out->contours.push_back(std::move(contour));
        at += header.cb;
    }
}

}  // namespace

std::string FaceNameOf(const LOGFONTW& logFont) {
    int length = 0;
    while (length < LF_FACESIZE && logFont.lfFaceName[length] != 0) ++length;
    if (length == 0) return {};
    std::string name(static_cast<size_t>(length) * 3, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, logFont.lfFaceName, length, name.data(),
                                      static_cast<int>(name.size()), nullptr, nullptr);
    name.resize(static_cast<size_t>(std::max(n, 0)));
    return name;
}

struct FontCache::Impl {
    HDC dc = CreateCompatibleDC(nullptr);

    struct Realised {
        FontInfo info;
        HFONT font = nullptr;
        LOGFONTW logFont{};
        UINT glyphCount = 0;
        std::vector<FontId> fallbacks;
        std::unordered_map<char32_t, GlyphRef> characters;
    };
    std::deque<Realised> fonts;  // by FontId; stable addresses
    std::map<std::wstring, FontId> byRequest;
    std::unordered_map<uint64_t, std::shared_ptr<const GlyphOutline>> outlines;
    // The installed TrueType families, for characters a face lacks; read
    // once, when a face first lacks one.
    std::vector<std::wstring> families;
    bool familiesRead = false;
    size_t loaded = 0;
    size_t reused = 0;

    ~Impl() {
        for (Realised& r : fonts) DeleteObject(r.font);
        DeleteDC(dc);
    }

    static int CALLBACK AddFamily(const LOGFONTW* lf, const TEXTMETRICW*, DWORD type, LPARAM p) {
        auto* list = reinterpret_cast<std::vector<std::wstring>*>(p);
        if ((type & TRUETYPE_FONTTYPE) && lf->lfFaceName[0] != L'@' &&
            std::find(list->begin(), list->end(), lf->lfFaceName) == list->end())
            list->push_back(lf->lfFaceName);
        return 1;
    }

    const std::vector<std::wstring>& Families() {
        if (!familiesRead) {
            LOGFONTW any{};
            any.lfCharSet = DEFAULT_CHARSET;
            EnumFontFamiliesExW(dc, &any, &AddFamily, reinterpret_cast<LPARAM>(&families), 0);
            familiesRead = true;
        }
        return families;
    }

    FontId Realise(LOGFONTW logFont, const std::string& requested) {
        logFont.lfHeight = -kEmPixels;
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
        if (GetOutlineTextMetricsW(dc, sizeof otm, &otm)) {
            const double em = kEmPixels;
            FontMetrics& m = r.info.metrics;
            m.ascent = otm.otmTextMetrics.tmAscent / em;
            m.descent = otm.otmTextMetrics.tmDescent / em;
            m.averageWidth = otm.otmTextMetrics.tmAveCharWidth / em;
            m.underlineThickness = std::max<UINT>(otm.otmsUnderscoreSize, 1) / em;
            m.underlinePosition = otm.otmsUnderscorePosition / em;
            m.strikeoutThickness = std::max<UINT>(otm.otmsStrikeoutSize, 1) / em;
            m.strikeoutPosition = otm.otmsStrikeoutPosition / em;
            // GDI draws what the face lacks itself, in the outlines too.
            r.info.syntheticBold =
                logFont.lfWeight >= FW_SEMIBOLD && otm.otmTextMetrics.tmWeight < FW_SEMIBOLD;
            r.info.syntheticItalic = logFont.lfItalic && !(otm.otmfsSelection & 1);
        }
        // 'maxp': the face's glyph count at byte 4, big-endian.
        BYTE maxp[6] = {};
        if (GetFontData(dc, 0x7078616D, 0, maxp, sizeof maxp) == sizeof maxp)
            r.glyphCount = (maxp[4] << 8) | maxp[5];
        fonts.push_back(std::move(r));
        return fonts.back().info.id;
    }

    UINT GlyphOf(FontId font, char32_t character) {
        // Characters beyond the first plane have no single UTF-16 unit:
        // GetGlyphIndicesW cannot map them.
        if (character > 0xFFFF) return 0;
        SelectObject(dc, fonts[font].font);
        const wchar_t unit = static_cast<wchar_t>(character);
        WORD glyph = 0xFFFF;
        if (GetGlyphIndicesW(dc, &unit, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) != 1 ||
            glyph == 0xFFFF)
            return 0;
        return glyph;
    }
};

FontCache::FontCache() : m_impl(std::make_unique<Impl>()) {}

FontCache::~FontCache() = default;

const FontInfo* FontCache::Resolve(const LOGFONTW& logFont) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Impl& impl = *m_impl;
    const std::wstring key =
        std::wstring(logFont.lfFaceName, wcsnlen(logFont.lfFaceName, LF_FACESIZE)) + L'\n' +
        std::to_wstring(logFont.lfWeight) + L'\n' + std::to_wstring(logFont.lfItalic) + L'\n' +
        std::to_wstring(logFont.lfCharSet) + L'\n' + std::to_wstring(logFont.lfPitchAndFamily);
    if (auto it = impl.byRequest.find(key); it != impl.byRequest.end())
        return it->second < 0 ? nullptr : &impl.fonts[it->second].info;
    const FontId id = impl.Realise(logFont, FaceNameOf(logFont));
    impl.byRequest.emplace(key, id);
    return id < 0 ? nullptr : &impl.fonts[id].info;
}

GlyphRef FontCache::MapCharacter(FontId font, char32_t character) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Impl& impl = *m_impl;
    if (font < 0 || static_cast<size_t>(font) >= impl.fonts.size()) return {};
    if (auto it = impl.fonts[font].characters.find(character);
        it != impl.fonts[font].characters.end())
        return it->second;
    GlyphRef ref{font, impl.GlyphOf(font, character)};
    // Spaces and controls never need another face.
    if (ref.glyph == 0 && character > 0x20 && character <= 0xFFFF) {
        for (FontId f : impl.fonts[font].fallbacks)
            if (const UINT g = impl.GlyphOf(f, character)) {
                ref = {f, g};
                break;
            }
        if (ref.glyph == 0) {
            for (const std::wstring& family : impl.Families()) {
                LOGFONTW other = impl.fonts[font].logFont;
                std::wcsncpy(other.lfFaceName, family.c_str(), LF_FACESIZE - 1);
                other.lfFaceName[LF_FACESIZE - 1] = 0;
                other.lfCharSet = DEFAULT_CHARSET;
                const FontId f = impl.Realise(other, {});
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

const FontInfo* FontCache::Info(FontId font) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (font < 0 || static_cast<size_t>(font) >= m_impl->fonts.size()) return nullptr;
    return &m_impl->fonts[font].info;
}

bool FontCache::HasGlyphIndex(FontId font, UINT glyph) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (font < 0 || static_cast<size_t>(font) >= m_impl->fonts.size()) return false;
    return glyph < m_impl->fonts[font].glyphCount;
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
    auto outline = std::make_shared<GlyphOutline>();
    const double tolerance = kFlatnessPixels / std::ldexp(1.0, fineness);
    SelectObject(impl.dc, impl.fonts[glyph.font].font);
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    GLYPHMETRICS metrics{};
    const UINT format = GGO_NATIVE | GGO_GLYPH_INDEX | GGO_UNHINTED;
    const DWORD size =
        GetGlyphOutlineW(impl.dc, glyph.glyph, format, &metrics, 0, nullptr, &identity);
    if (size != GDI_ERROR) {
        std::vector<BYTE> data(size);
        if (size == 0 || GetGlyphOutlineW(impl.dc, glyph.glyph, format, &metrics, size, data.data(),
                                          &identity) != GDI_ERROR) {
            ReadNativeOutline(data.data(), size, tolerance, outline.get());
            outline->advance = static_cast<double>(metrics.gmCellIncX) / kEmPixels;
        }
    }
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

// A page of 300 text records in three scripts (Latin, Chinese, Japanese)
// played by the reference host's player into the driver, against the same
// page drawn as paths: the glyph outlines the first page produced, written
// as path records. With the outlines cached, text costs about what its
// paths cost; the first play of a page also opens the faces and reads
// their outlines.
//
// The driver's polygon work takes most of that time, so the text layer is
// also measured alone: the pages played into a device that only counts
// what it is given to fill, for the plain page and for a page of scripts
// that are shaped (Arabic right to left, Devanagari, Thai). And one record
// of 6,000 different ideographs 4 m to the em, which once cost seconds and
// hundreds of MiB for a plot with nothing on it.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "driver/hpgl2_driver.h"
#include "playback/emf_player.h"
#include "playback/page_placement.h"
#include "pxrdriver/output_channel.h"
#include "support/emf_builder.h"
#include "win32/gdi32/fonts.h"
#include "win32/gdi32/metafile/metafile_player.h"

namespace {

class DiscardingChannel : public OutputChannel {
public:
    int Open(const char*) override { return 1; }
    void Abort() override {}
    void Write(const void*, int n) override { bytes += n; }
    void Close() override {}
    long long bytes = 0;
};

constexpr int kRecords = 300;
constexpr LONG kEm = 40;  // logical units (tenths of a millimetre): 4 mm letters

struct Script {
    const char16_t* face;
    BYTE charset;
    std::u16string text;
    DWORD options = 0;  // ETO_
};
using Scripts = std::array<Script, 3>;
const Scripts kScripts = {{
    {u"Arial", ANSI_CHARSET, u"Plan 12: outer wall, door D-04"},
    {u"SimSun", GB2312_CHARSET, u"\u5e73\u9762\u56fe\u5916\u5899\u95e8\u7a97\u697c\u68af"},
    {u"MS Gothic", SHIFTJIS_CHARSET, u"\u5e73\u9762\u56f3\u3001\u5916\u58c1\u3068\u30c9\u30a2"},
}};
// Scripts that are shaped, in faces that lack them (the runs fall back to
// the Noto face of their script).
const Scripts kShapedScripts = {{
    // مخطط الطابق 12: الجدار الخارجي
    {u"Arial", ARABIC_CHARSET,
     u"\u0645\u062e\u0637\u0637 \u0627\u0644\u0637\u0627\u0628\u0642 12: "
     u"\u0627\u0644\u062c\u062f\u0627\u0631 \u0627\u0644\u062e\u0627\u0631\u062c\u064a",
     ETO_RTLREADING},
    // योजना 12: बाहरी दीवार, दरवाज़ा
    {u"Arial", DEFAULT_CHARSET,
     u"\u092f\u094b\u091c\u0928\u093e 12: \u092c\u093e\u0939\u0930\u0940 "
     u"\u0926\u0940\u0935\u093e\u0930, \u0926\u0930\u0935\u093e\u091c\u093c\u093e"},
    // แผนผังชั้น 12: ผนังด้านนอก ประตู
    {u"Tahoma", THAI_CHARSET,
     u"\u0e41\u0e1c\u0e19\u0e1c\u0e31\u0e07\u0e0a\u0e31\u0e49\u0e19 12: "
     u"\u0e1c\u0e19\u0e31\u0e07\u0e14\u0e49\u0e32\u0e19\u0e19\u0e2d\u0e01 "
     u"\u0e1b\u0e23\u0e30\u0e15\u0e39"},
}};

LOGFONTW FontOf(const Script& s) {
    LOGFONTW lf{};
    lf.lfHeight = -kEm;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = s.charset;
    for (size_t i = 0; s.face[i]; ++i) lf.lfFaceName[i] = s.face[i];
    return lf;
}

std::vector<DWORD> Words(const void* data, size_t bytes) {
    std::vector<DWORD> words((bytes + 3) / 4, 0);
    std::memcpy(words.data(), data, bytes);
    return words;
}

POINT Origin(int record) {
    // Three columns of 100 lines on an A4 page in tenths of a millimetre.
    return {100 + (record % 3) * 650, 150 + (record / 3) * 27};
}

EmfBuilder Page(const Scripts& scripts) {
    EmfBuilder emf;
    emf.Frame(0, 0, 21000, 29700).Device(2100, 2970, 210, 297);
    for (DWORD i = 0; i < 3; ++i) {
        const LOGFONTW lf = FontOf(scripts[i]);
        std::vector<DWORD> payload{i + 1};
        const std::vector<DWORD> font = Words(&lf, sizeof lf);
        payload.insert(payload.end(), font.begin(), font.end());
        emf.Record(EMR_EXTCREATEFONTINDIRECTW, payload);
    }
    emf.Mode(EMR_SETBKMODE, TRANSPARENT).Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    return emf;
}

// The text page: each record selects its script's font and writes a line.
std::vector<BYTE> TextPage(const Scripts& scripts = kScripts) {
    EmfBuilder emf = Page(scripts);
    for (int r = 0; r < kRecords; ++r) {
        const Script& s = scripts[r % 3];
        emf.Select(static_cast<DWORD>(r % 3) + 1);
        const POINT at = Origin(r);
        std::vector<DWORD> p = {0,
                                0,
                                0,
                                0,
                                GM_COMPATIBLE,
                                EmfBuilder::Float(1),
                                EmfBuilder::Float(1),
                                static_cast<DWORD>(at.x),
                                static_cast<DWORD>(at.y),
                                static_cast<DWORD>(s.text.size()),
                                76,
                                s.options,
                                0,
                                0,
                                0,
                                0,
                                0};
        const std::vector<DWORD> str = Words(s.text.data(), s.text.size() * 2);
        p.insert(p.end(), str.begin(), str.end());
        emf.Record(EMR_EXTTEXTOUTW, p);
    }
    return emf.Bytes();
}

// The same page as paths: every glyph one path of its flattened outline,
// filled under the winding rule, as the player fills glyphs.
std::vector<BYTE> PathPage() {
    EmfBuilder emf = Page(kScripts);
    emf.CreateBrush(4, BS_SOLID, RGB(0, 0, 0)).Select(4).CreatePen(5, PS_NULL, 0, 0).Select(5);
    emf.Mode(EMR_SETPOLYFILLMODE, WINDING);
    FontCache& fonts = SharedFontCache();
    for (int r = 0; r < kRecords; ++r) {
        const Script& s = kScripts[r % 3];
        const FontInfo* info = fonts.Resolve(FontOf(s));
        double pen = 0;
        const POINT at = Origin(r);
        for (char16_t c : s.text) {
            // Plotted at 600 dpi: 0.1 mm is about 2.4 pixels.
            const auto outline = fonts.Outline(fonts.MapCharacter(info->id, c), kEm * 2.36);
            std::vector<std::vector<POINT>> polys;
            for (const auto& contour : outline->contours) {
                std::vector<POINT> poly;
                for (const GlyphPoint& g : contour)
                    poly.push_back({static_cast<LONG>(std::lround(at.x + pen + g.x * kEm)),
                                    static_cast<LONG>(std::lround(at.y - g.y * kEm))});
                polys.push_back(std::move(poly));
            }
            pen += outline->advance * kEm;
            if (polys.empty()) continue;
            emf.Record(EMR_BEGINPATH, {});
            emf.PolyPoly(EMR_POLYPOLYGON, polys);
            emf.Record(EMR_ENDPATH, {});
            emf.Record(EMR_FILLPATH, {0, 0, 0, 0});
        }
    }
    return emf.Bytes();
}

// Plays a page into an HP DesignJet driver at 600 dpi, clipping as the
// bundled DesignJets do (CLIPPER=7): a glyph inside the clip goes straight
// to the plotter. (Without a configuration the driver clips nothing itself,
// and every winding fill goes through the region algebra instead.)
long long PlayPage(const EmfDocument& doc) {
    HPGL2Driver driver(nullptr, "/nonexistent/hpgl2.ini", "bench");
    driver.m_devmode.dm.dmPrintQuality = 600;
    driver.m_devmode.nClipMode = CLIP_ENABLE | CLIP_RECT | CLIP_WINDING;
    HostContext host{};
    host.pDriver = &driver;
    driver.Attach(&host);
    const DriverCallbacks* t = host.pCallbacks;
    DiscardingChannel channel;
    DOCINFOA info{sizeof info, "bench", "bench.plt", nullptr, 0};
    std::string error;
    ReferenceDevice device;
    Placement placement;
    const PrintableArea area{t->GetDeviceCaps(&host, HORZRES), t->GetDeviceCaps(&host, VERTRES),
                             static_cast<double>(t->GetDeviceCaps(&host, LOGPIXELSX))};
    if (ReadReferenceDevice(doc.header, &device, &error) &&
        PlaceDrawing(doc.header, device, area, ScaleChoice::Auto, 1.0, &placement, &error) &&
        t->StartDocument(&host, &info, &channel)) {
        PlayOptions play;
        play.device = device;
        play.placement = placement.toDevice;
        play.dpi = area.dpi;
        RunSummary summary;
        if (!PlayMetafile(doc, &host, play, &summary, &error)) std::abort();
        t->EndDocument(&host);
    }
    driver.Detach(&host);
    return channel.bytes;
}

void Run(benchmark::State& state, const std::vector<BYTE>& bytes) {
    EmfDocument doc;
    std::string error;
    if (!ParseEnhMetaFile(bytes.data(), bytes.size(), &doc, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    long long written = 0;
    for (auto _ : state) written = PlayPage(doc);
    state.counters["plot_bytes"] = static_cast<double>(written);
    state.counters["records"] = static_cast<double>(doc.records.size());
}

// Registered first and run once: the faces are opened and the outlines
// read from them, the cost of a page's first text.
void BM_TextPageFirstPlay(benchmark::State& state) {
    static const std::vector<BYTE> page = TextPage();
    Run(state, page);
}
BENCHMARK(BM_TextPageFirstPlay)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_TextPage(benchmark::State& state) {
    static const std::vector<BYTE> page = TextPage();
    Run(state, page);
}
BENCHMARK(BM_TextPage)->Unit(benchmark::kMillisecond);

void BM_SamePageAsPaths(benchmark::State& state) {
    static const std::vector<BYTE> page = PathPage();
    Run(state, page);
}
BENCHMARK(BM_SamePageAsPaths)->Unit(benchmark::kMillisecond);

// One record of 6,000 different ideographs 4 m to the em from the page's
// corner: every glyph lies beyond the page.
std::vector<BYTE> OversizedPage() {
    EmfBuilder emf;
    emf.Frame(0, 0, 21000, 29700).Device(2100, 2970, 210, 297);
    LOGFONTW lf = FontOf(kScripts[1]);
    lf.lfHeight = -40000;
    std::vector<DWORD> payload{1};
    const std::vector<DWORD> font = Words(&lf, sizeof lf);
    payload.insert(payload.end(), font.begin(), font.end());
    emf.Record(EMR_EXTCREATEFONTINDIRECTW, payload).Select(1);
    emf.Mode(EMR_SETBKMODE, TRANSPARENT);
    constexpr DWORD kCount = 6000;
    std::u16string text;
    for (DWORD i = 0; i < kCount; ++i) text += static_cast<char16_t>(0x4E00 + i);
    const DWORD textWords = kCount / 2;
    std::vector<DWORD> p = {0,
                            0,
                            0,
                            0,
                            GM_COMPATIBLE,
                            EmfBuilder::Float(1),
                            EmfBuilder::Float(1),
                            0,
                            0,
                            kCount,
                            76,
                            0,
                            0,
                            0,
                            0,
                            0,
                            76 + 4 * textWords};
    const std::vector<DWORD> str = Words(text.data(), text.size() * 2);
    p.insert(p.end(), str.begin(), str.end());
    p.insert(p.end(), kCount, 40000);  // one em a character
    emf.Record(EMR_EXTTEXTOUTW, p);
    return emf.Bytes();
}

void BM_OversizedTextPage(benchmark::State& state) {
    static const std::vector<BYTE> page = OversizedPage();
    Run(state, page);
}
BENCHMARK(BM_OversizedTextPage)->Unit(benchmark::kMillisecond);

// A device that only counts the points it is given to fill, as large as an
// A4 page at 600 dpi.
class CountingDevice : public MetafileDevice {
public:
    int DeviceCaps(int index) const override {
        return index == HORZRES ? 4960 : index == VERTRES ? 7016 : 0;
    }
    RegionRef RectRegion(const RECT&) override { return Region(); }
    RegionRef PolygonRegion(std::span<const POINT>, int) override { return Region(); }
    RegionRef QuadsRegion(std::span<const std::array<POINT, 4>>) override { return Region(); }
    RegionRef CombineRegions(const RegionRef&, const RegionRef&, int) override { return Region(); }
    RegionRef OffsetRegion(const RegionRef&, POINT) override { return Region(); }
    void Fill(std::span<const Figure> figures, const GdiBrush*, const DcState&, bool) override {
        for (const Figure& f : figures) points += f.points.size();
    }
    void Stroke(std::span<const Figure>, const GdiPen*, const DcState&, const Affine&) override {}
    bool DrawBitmap(const DcState&, const RECT&, const RECT&, const void*, const BITMAPINFO*, UINT,
                    DWORD, bool) override {
        return true;
    }
    size_t points = 0;

private:
    static RegionRef Region() { return std::make_shared<MetafileRegion>(); }
};

void RunTextLayer(benchmark::State& state, const std::vector<BYTE>& bytes) {
    EmfDocument doc;
    std::string error;
    MetafilePlacement placement;
    CountingDevice device;
    if (!ParseEnhMetaFile(bytes.data(), bytes.size(), &doc, &error) ||
        !PlacementOnto(doc.header, {0, 0},
                       {static_cast<double>(device.DeviceCaps(HORZRES)),
                        static_cast<double>(device.DeviceCaps(VERTRES))},
                       &placement, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        device.points = 0;
        MetafilePlaySummary summary;
        if (!PlayMetafileRecords(doc, device, placement, &summary, &error)) std::abort();
    }
    state.counters["points"] = static_cast<double>(device.points);
}

void BM_TextLayerPlainPage(benchmark::State& state) {
    static const std::vector<BYTE> page = TextPage();
    RunTextLayer(state, page);
}
BENCHMARK(BM_TextLayerPlainPage)->Unit(benchmark::kMillisecond);

void BM_TextLayerShapedPage(benchmark::State& state) {
    static const std::vector<BYTE> page = TextPage(kShapedScripts);
    RunTextLayer(state, page);
}
BENCHMARK(BM_TextLayerShapedPage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

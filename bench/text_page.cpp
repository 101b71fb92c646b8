// A page of 300 text records in three scripts (Latin, Chinese, Japanese)
// played by the reference host's player into the driver, against the same
// page drawn as paths: the glyph outlines the first page produced, written
// as path records. With the outlines cached, text costs about what its
// paths cost; the first play of a page also opens the faces and reads
// their outlines.
#include <benchmark/benchmark.h>

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
} const kScripts[] = {
    {u"Arial", ANSI_CHARSET, u"Plan 12: outer wall, door D-04"},
    {u"SimSun", GB2312_CHARSET, u"\u5e73\u9762\u56fe\u5916\u5899\u95e8\u7a97\u697c\u68af"},
    {u"MS Gothic", SHIFTJIS_CHARSET, u"\u5e73\u9762\u56f3\u3001\u5916\u58c1\u3068\u30c9\u30a2"},
};

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

EmfBuilder Page() {
    EmfBuilder emf;
    emf.Frame(0, 0, 21000, 29700).Device(2100, 2970, 210, 297);
    for (DWORD i = 0; i < 3; ++i) {
        const LOGFONTW lf = FontOf(kScripts[i]);
        std::vector<DWORD> payload{i + 1};
        const std::vector<DWORD> font = Words(&lf, sizeof lf);
        payload.insert(payload.end(), font.begin(), font.end());
        emf.Record(EMR_EXTCREATEFONTINDIRECTW, payload);
    }
    emf.Mode(EMR_SETBKMODE, TRANSPARENT).Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    return emf;
}

// The text page: each record selects its script's font and writes a line.
std::vector<BYTE> TextPage() {
    EmfBuilder emf = Page();
    for (int r = 0; r < kRecords; ++r) {
        const Script& s = kScripts[r % 3];
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
                                0,
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
    EmfBuilder emf = Page();
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

// Plays a page into an HP DesignJet driver at 600 dpi.
long long PlayPage(const EmfDocument& doc) {
    HPGL2Driver driver(nullptr, "/nonexistent/hpgl2.ini", "bench");
    driver.m_devmode.dm.dmPrintQuality = 600;
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

}  // namespace

BENCHMARK_MAIN();

#include "recording_host.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <utility>

#include <gtest/gtest.h>

#include "playback/page_placement.h"
#include "pxrdriver/regions.h"
#include "win32/gdi32/metafile/metafile_player.h"

namespace {

RecordingHost* Of(HostContext* host) {
    return static_cast<RecordingHost*>(host->pJob);
}

std::string Points(const POINT* points, int count) {
    std::string text = std::to_string(count) + ":";
    for (int i = 0; i < count; ++i) {
        text += ' ';
        text += std::to_string(points[i].x);
        text += ',';
        text += std::to_string(points[i].y);
    }
    return text;
}

std::string Rgb(COLORREF c) {
    return std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
           std::to_string(GetBValue(c));
}

int Caps(HostContext* host, int index) {
    const RecordingHost* h = Of(host);
    switch (index) {
        case HORZRES: return h->width;
        case VERTRES: return h->height;
        case LOGPIXELSX:
        case LOGPIXELSY: return h->dpi;
        default: return 0;
    }
}

int Log(HostContext* host, std::string line) {
    Of(host)->log.push_back(std::move(line));
    return 1;
}

int SelectPen(HostContext* host, const HostPenRecord* pen) {
    char style[16];
    std::snprintf(style, sizeof style, "0x%X", static_cast<unsigned>(pen->nStyle));
    return Log(host, std::string("OnSelectPen style=") + style +
                         " width=" + std::to_string(pen->nWidth) + " rgb=" + Rgb(pen->crColor));
}

int SelectBrush(HostContext* host, const HostBrushRecord* brush) {
    return Log(host, "OnSelectBrush style=" + std::to_string(brush->nStyle) +
                         " rgb=" + Rgb(brush->crColor) + " hatch=" + std::to_string(brush->nHatch));
}

// The region as its bounding box and polygon count, which do not depend on
// how the region code orders its points.
int SetClipRegion(HostContext* host, const HT_ClipRgn* region) {
    if (!region) return Log(host, "OnSetClipRegion none");
    LONG l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN;
    int polygons = 0;
    for (const HT_ClipRgn* e = region; e; e = e->pNext, ++polygons)
        for (LONG i = 0; i < e->nCount; ++i) {
            l = std::min(l, e->pPoints[i].x);
            t = std::min(t, e->pPoints[i].y);
            r = std::max(r, e->pPoints[i].x);
            b = std::max(b, e->pPoints[i].y);
        }
    return Log(host, "OnSetClipRegion box=" + std::to_string(l) + "," + std::to_string(t) + "," +
                         std::to_string(r) + "," + std::to_string(b) +
                         " polygons=" + std::to_string(polygons));
}

// The call's rectangles and the bitmap as its header describes it.
std::string BitmapLine(const char* entry, int x, int y, int w, int h, int xs, int ys, int ws,
                       int hs, const BITMAPINFO* info, UINT usage, DWORD rop) {
    const BITMAPINFOHEADER& b = info->bmiHeader;
    char text[256];
    std::snprintf(text, sizeof text,
                  "%s dest=%d,%d,%d,%d src=%d,%d,%d,%d bitmap=%dx%d@%u compression=%u "
                  "sizeImage=%u usage=%u rop=0x%X",
                  entry, x, y, w, h, xs, ys, ws, hs, static_cast<int>(b.biWidth),
                  static_cast<int>(b.biHeight), b.biBitCount, b.biCompression, b.biSizeImage, usage,
                  static_cast<unsigned>(rop));
    return text;
}

// The pixels of a top-down 32-bit bitmap (the ones the host makes itself),
// row after row.
std::string TopDownPixels(const void* bits, const BITMAPINFO* info) {
    const BITMAPINFOHEADER& b = info->bmiHeader;
    if (b.biBitCount != 32 || b.biHeight >= 0 || b.biCompression != BI_RGB) return "";
    const auto* p = static_cast<const uint32_t*>(bits);
    std::string text = " pixels=";
    const size_t count = static_cast<size_t>(b.biWidth) * static_cast<size_t>(-b.biHeight);
    for (size_t i = 0; i < count; ++i) {
        char one[16];
        std::snprintf(one, sizeof one, "%s%08X", i ? "," : "", static_cast<unsigned>(p[i]));
        text += one;
    }
    return text;
}

int DrawBitmap(HostContext* host, int x, int y, int w, int h, int xs, int ys, int ws, int hs,
               const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    return Log(host, BitmapLine("OnDrawBitmap", x, y, w, h, xs, ys, ws, hs, info, usage, rop) +
                         TopDownPixels(bits, info));
}

int DrawBitmapAlpha(HostContext* host, int x, int y, int w, int h, int xs, int ys, int ws, int hs,
                    const void*, const BITMAPINFO* info, UINT usage, DWORD rop) {
    return Log(host, BitmapLine("OnDrawBitmapAlpha", x, y, w, h, xs, ys, ws, hs, info, usage, rop));
}

// The rectangle and the records of the metafile, by name: what a metafile
// region holds, and where it goes.
int RenderMetafileRegion(HostContext* host, HENHMETAFILE metafile, const double* transform,
                         const RECT* rect) {
    std::string line = "RenderMetafileRegion " + std::to_string(rect->left) + "," +
                       std::to_string(rect->top) + "," + std::to_string(rect->right) + "," +
                       std::to_string(rect->bottom);
    if (transform)
        for (int i = 0; i < 6; ++i)
            line += (i ? "," : " xform=") + std::to_string(int(transform[i]));
    line += ":";
    if (const EmfDocument* doc = EnhMetaFileDocument(metafile))
        for (const EmfRecordView& record : doc->records) {
            const char* name = EmfRecordTypeName(record.type);
            line += std::string(" ") + (name ? name : "?");
        }
    return Log(host, line);
}

}  // namespace

RecordingHost::RecordingHost(int w, int h, int d) : width(w), height(h), dpi(d) {
    m_table.GetDeviceCaps = Caps;
    m_table.OnPolyline = [](HostContext* h, const POINT* p, int n) {
        return Log(h, "OnPolyline " + Points(p, n));
    };
    m_table.OnPolygon = [](HostContext* h, const POINT* p, int n) {
        return Log(h, "OnPolygon " + Points(p, n));
    };
    m_table.OnBeginPath = [](HostContext* h) { return Log(h, "OnBeginPath"); };
    m_table.OnEndPath = [](HostContext* h) { return Log(h, "OnEndPath"); };
    m_table.OnFillPath = [](HostContext* h) { return Log(h, "OnFillPath"); };
    m_table.OnSetFillMode = [](HostContext* h, int mode) {
        return Log(h, "OnSetFillMode " + std::to_string(mode));
    };
    m_table.OnSetRop2 = [](HostContext* h, int rop2) {
        return Log(h, "OnSetRop2 " + std::to_string(rop2));
    };
    m_table.OnSelectPen = SelectPen;
    m_table.OnSelectBrush = SelectBrush;
    m_table.OnSetClipRegion = SetClipRegion;
    m_table.OnDrawBitmap = DrawBitmap;
    m_table.OnDrawBitmapAlpha = DrawBitmapAlpha;
    m_table.RenderMetafileRegion = RenderMetafileRegion;
    m_host.pJob = this;
    m_host.pCallbacks = &m_table;
}

std::vector<std::string> RecordingHost::Lines(std::string_view prefix) const {
    std::vector<std::string> lines;
    for (const std::string& line : log)
        if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
    return lines;
}

std::vector<std::string> RecordingHost::Drawing() const {
    std::vector<std::string> lines;
    for (const std::string& line : log)
        if (line.rfind("OnPolyline", 0) == 0 || line.rfind("OnPolygon", 0) == 0 ||
            line.rfind("OnBeginPath", 0) == 0 || line.rfind("OnEndPath", 0) == 0 ||
            line.rfind("OnFillPath", 0) == 0)
            lines.push_back(line);
    return lines;
}

PlayRun PlayInto(RecordingHost& host, const std::vector<BYTE>& metafile, bool framed) {
    PlayRun run;
    EmfDocument doc;
    if (!ParseEnhMetaFile(metafile.data(), metafile.size(), &doc, &run.error)) return run;
    PlayOptions options;
    Placement placement;
    if (!ReadReferenceDevice(doc.header, &options.device, &run.error) ||
        !PlaceDrawing(doc.header, options.device,
                      PrintableArea{host.width, host.height, static_cast<double>(host.dpi)},
                      ScaleChoice::Auto, 1, &placement, &run.error))
        return run;
    options.placement = placement.toDevice;
    options.dpi = host.dpi;
    if (framed) options.frame = placement.frame;
    run.ok = PlayMetafile(doc, host.Context(), options, &run.summary, &run.error);
    return run;
}

Lines LogOf(const EmfBuilder& emf) {
    RecordingHost host;
    const PlayRun run = PlayInto(host, emf.Bytes());
    EXPECT_TRUE(run.ok) << run.error;
    return host.log;
}

Lines DrawingOf(const EmfBuilder& emf) {
    RecordingHost host;
    const PlayRun run = PlayInto(host, emf.Bytes());
    EXPECT_TRUE(run.ok) << run.error;
    return host.Drawing();
}

std::vector<POINT> PointsOf(const std::string& line) {
    std::vector<POINT> points;
    size_t at = line.find(':');
    while ((at = line.find(' ', at + 1)) != std::string::npos) {
        POINT p{};
        std::sscanf(line.c_str() + at + 1, "%d,%d", &p.x, &p.y);
        points.push_back(p);
    }
    return points;
}

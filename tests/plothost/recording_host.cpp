#include "recording_host.h"

#include <algorithm>
#include <climits>
#include <cstdio>

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

int Polyline(HostContext* host, const POINT* points, int count) {
    Of(host)->log.push_back("OnPolyline " + Points(points, count));
    return 1;
}

int Polygon(HostContext* host, const POINT* points, int count) {
    Of(host)->log.push_back("OnPolygon " + Points(points, count));
    return 1;
}

int BeginPath(HostContext* host) {
    Of(host)->log.push_back("OnBeginPath");
    return 1;
}

int EndPath(HostContext* host) {
    Of(host)->log.push_back("OnEndPath");
    return 1;
}

int FillPath(HostContext* host) {
    Of(host)->log.push_back("OnFillPath");
    return 1;
}

int SetFillMode(HostContext* host, int mode) {
    Of(host)->log.push_back("OnSetFillMode " + std::to_string(mode));
    return 1;
}

int SetRop2(HostContext* host, int rop2) {
    Of(host)->log.push_back("OnSetRop2 " + std::to_string(rop2));
    return 1;
}

int SelectPen(HostContext* host, const HostPenRecord* pen) {
    char style[16];
    std::snprintf(style, sizeof style, "0x%X", static_cast<unsigned>(pen->nStyle));
    Of(host)->log.push_back(std::string("OnSelectPen style=") + style +
                            " width=" + std::to_string(pen->nWidth) + " rgb=" + Rgb(pen->crColor));
    return 1;
}

int SelectBrush(HostContext* host, const HostBrushRecord* brush) {
    Of(host)->log.push_back("OnSelectBrush style=" + std::to_string(brush->nStyle) + " rgb=" +
                            Rgb(brush->crColor) + " hatch=" + std::to_string(brush->nHatch));
    return 1;
}

// The region as its bounding box and polygon count, which do not depend on
// how the region code orders its points.
int SetClipRegion(HostContext* host, const HT_ClipRgn* region) {
    if (!region) {
        Of(host)->log.push_back("OnSetClipRegion none");
        return 1;
    }
    LONG l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN;
    int polygons = 0;
    for (const HT_ClipRgn* e = region; e; e = e->pNext, ++polygons)
        for (LONG i = 0; i < e->nCount; ++i) {
            l = std::min(l, e->pPoints[i].x);
            t = std::min(t, e->pPoints[i].y);
            r = std::max(r, e->pPoints[i].x);
            b = std::max(b, e->pPoints[i].y);
        }
    Of(host)->log.push_back("OnSetClipRegion box=" + std::to_string(l) + "," + std::to_string(t) +
                            "," + std::to_string(r) + "," + std::to_string(b) +
                            " polygons=" + std::to_string(polygons));
    return 1;
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
    Of(host)->log.push_back(
        BitmapLine("OnDrawBitmap", x, y, w, h, xs, ys, ws, hs, info, usage, rop) +
        TopDownPixels(bits, info));
    return 1;
}

int DrawBitmapAlpha(HostContext* host, int x, int y, int w, int h, int xs, int ys, int ws, int hs,
                    const void*, const BITMAPINFO* info, UINT usage, DWORD rop) {
    Of(host)->log.push_back(
        BitmapLine("OnDrawBitmapAlpha", x, y, w, h, xs, ys, ws, hs, info, usage, rop));
    return 1;
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
    Of(host)->log.push_back(line);
    return 1;
}

}  // namespace

RecordingHost::RecordingHost(int w, int h, int d) : width(w), height(h), dpi(d) {
    m_table.GetDeviceCaps = Caps;
    m_table.OnPolyline = Polyline;
    m_table.OnPolygon = Polygon;
    m_table.OnBeginPath = BeginPath;
    m_table.OnEndPath = EndPath;
    m_table.OnFillPath = FillPath;
    m_table.OnSetFillMode = SetFillMode;
    m_table.OnSetRop2 = SetRop2;
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

PlayRun PlayInto(RecordingHost& host, const std::vector<BYTE>& metafile) {
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
    run.ok = PlayMetafile(doc, host.Context(), options, &run.summary, &run.error);
    return run;
}

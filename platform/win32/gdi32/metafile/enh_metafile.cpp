// Metafile handles over the reader's documents, and PlayEnhMetaFile into
// the raster GDI's memory device contexts.
#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "gdi32/metafile/dc_placement.h"
#include "gdi32/metafile/raster_device.h"
#include "win32/gdi32/device_style.h"
#include "win32/gdi32/emf/emf_reader.h"
#include "win32/gdi32/enh_metafile.h"
#include "win32/gdi32/metafile/metafile_player.h"

struct HENHMETAFILE__ {
    EmfDocument doc;
};

namespace {

std::mutex& HandlesLock() {
    static std::mutex lock;
    return lock;
}
std::set<const HENHMETAFILE__*>& Handles() {
    static std::set<const HENHMETAFILE__*> handles;
    return handles;
}

HENHMETAFILE Register(std::unique_ptr<HENHMETAFILE__> metafile) {
    std::lock_guard guard(HandlesLock());
    Handles().insert(metafile.get());
    return metafile.release();
}

// A handle over a copy of the bytes; null when they do not parse.
HENHMETAFILE FromBytes(const BYTE* bytes, size_t size) {
    if (!bytes || size == 0 || size > kEmfMaxFileBytes) return nullptr;
    auto metafile = std::make_unique<HENHMETAFILE__>();
    std::vector<BYTE> storage(bytes, bytes + size);
    std::string error;
    if (!ParseEnhMetaFile(storage.data(), storage.size(), &metafile->doc, &error)) return nullptr;
    // Moving the vector keeps its block, which the document's views point into.
    metafile->doc.storage = std::move(storage);
    return Register(std::move(metafile));
}

// The context's logical -> device mapping as one transform (it is affine:
// read off at the origin and the unit points).
Affine LogicalToDevice(const HDC__& dc) {
    const DPointF o = dc.ToDevice(0, 0);
    const DPointF x = dc.ToDevice(1, 0);
    const DPointF y = dc.ToDevice(0, 1);
    return Affine{x.x - o.x, x.y - o.y, y.x - o.x, y.y - o.y, o.x, o.y};
}

}  // namespace

const EmfDocument* EnhMetaFileDocument(HENHMETAFILE metafile) {
    std::lock_guard guard(HandlesLock());
    return Handles().count(metafile) ? &metafile->doc : nullptr;
}

bool PlacementOnto(const ENHMETAHEADER& header, const DPoint& topLeft, const DPoint& bottomRight,
                   MetafilePlacement* placement, std::string* error) {
    ReferenceDevice device;
    if (!ReadReferenceDevice(header, &device, error)) return false;
    // The frame, in pixels of the reference device; the bounds stand in for
    // a frame that is empty.
    const RECTL& f = header.rclFrame;
    double left, top, right, bottom;
    if (f.right > f.left && f.bottom > f.top) {
        const double px = device.pixelsX / device.millimetresX / 100.0;
        const double py = device.pixelsY / device.millimetresY / 100.0;
        left = f.left * px, right = f.right * px, top = f.top * py, bottom = f.bottom * py;
    } else {
        const RECTL& b = header.rclBounds;
        left = b.left, top = b.top;
        right = static_cast<double>(b.right) + 1, bottom = static_cast<double>(b.bottom) + 1;
    }
    if (!(right > left) || !(bottom > top)) {
        *error = "the metafile has neither a frame nor bounds";
        return false;
    }
    const double sx = (bottomRight.x - topLeft.x) / (right - left);
    const double sy = (bottomRight.y - topLeft.y) / (bottom - top);
    placement->device = device;
    placement->placement =
        Then(Then(Translation(-left, -top), Scaling(sx, sy)), Translation(topLeft.x, topLeft.y));
    return true;
}

bool PlacementInDc(const HDC__& dc, const EmfDocument& doc, const RECT& rect,
                   MetafilePlacement* placement, std::string* error) {
    // The frame lands on rect in the context's logical units; the context's
    // world transform and window/viewport mapping then take the picture to
    // device pixels, as the metafile's own transforms compose under them.
    if (!PlacementOnto(doc.header,
                       DPoint{static_cast<double>(rect.left), static_cast<double>(rect.top)},
                       DPoint{static_cast<double>(rect.right), static_cast<double>(rect.bottom)},
                       placement, error))
        return false;
    placement->placement = Then(placement->placement, LogicalToDevice(dc));
    placement->brushOrigin = dc.brushOrg;
    return true;
}

bool PlayMetafileIntoDc(HDC hdc, const EmfDocument& doc, const MetafilePlacement& placement,
                        MetafilePlaySummary* summary, std::string* error) {
    HDC__* dc = FindDc(hdc);
    if (!dc || !dc->bitmap) {
        *error = "the device context has no bitmap to draw into";
        return false;
    }
    RasterDevice device(*dc, dc->styleUnit);
    return PlayMetafileRecords(doc, device, placement, summary, error);
}

extern "C" {

HENHMETAFILE WINAPI GetEnhMetaFileA(LPCSTR lpName) {
    if (!lpName) return nullptr;
    auto metafile = std::make_unique<HENHMETAFILE__>();
    std::string error;
    if (!LoadEnhMetaFile(lpName, &metafile->doc, &error)) return nullptr;
    return Register(std::move(metafile));
}

HENHMETAFILE WINAPI SetEnhMetaFileBits(UINT nSize, const BYTE* pb) {
    return FromBytes(pb, nSize);
}

HENHMETAFILE WINAPI CopyEnhMetaFileA(HENHMETAFILE hEnh, LPCSTR lpFileName) {
    const EmfDocument* doc = EnhMetaFileDocument(hEnh);
    if (!doc) return nullptr;
    if (lpFileName) {
        std::FILE* file = std::fopen(lpFileName, "wb");
        if (!file) return nullptr;
        const bool written = std::fwrite(doc->data, 1, doc->size, file) == doc->size;
        if (std::fclose(file) != 0 || !written) return nullptr;
    }
    return FromBytes(doc->data, doc->size);
}

BOOL WINAPI SetDeviceStyleUnit(HDC hdc, double pixels) {
    HDC__* dc = FindDc(hdc);
    if (!dc || !(pixels >= 1) || !std::isfinite(pixels)) return FALSE;
    dc->styleUnit = pixels;
    return TRUE;
}

BOOL WINAPI DeleteEnhMetaFile(HENHMETAFILE hmf) {
    {
        std::lock_guard guard(HandlesLock());
        if (!Handles().erase(hmf)) return FALSE;
    }
    delete hmf;
    return TRUE;
}

BOOL WINAPI PlayEnhMetaFile(HDC hdc, HENHMETAFILE hmf, const RECT* lprect) {
    HDC__* dc = FindDc(hdc);
    const EmfDocument* doc = EnhMetaFileDocument(hmf);
    if (!dc || !doc || !lprect) return FALSE;
    MetafilePlacement placement;
    std::string error;
    if (!PlacementInDc(*dc, *doc, *lprect, &placement, &error)) return FALSE;
    MetafilePlaySummary summary;
    return PlayMetafileIntoDc(hdc, *doc, placement, &summary, &error) ? TRUE : FALSE;
}

}  // extern "C"

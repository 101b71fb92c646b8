// Records that draw bitmaps: played through the driver's bitmap entries
// with the arguments of StretchDIBits, the destination in device pixels.
// Bitmaps the raster GDI cannot read (JPEG and PNG, run-length bitmaps too
// large to expand, malformed ones) are skipped and counted, never drawn
// wrong.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "win32/gdi32/metafile/emf_playback.h"
#include "win32/gdi32/dib.h"

namespace {

using R = RecordResult;

constexpr DWORD kAcSrcAlpha = 0x01;

// The record's BITMAPINFO, copied to aligned memory, with the size of
// compressed pixel data in biSizeImage (GDI reads compressed bits that far,
// so it must be what the record holds).
class BitmapInfoCopy {
public:
    explicit BitmapInfoCopy(const EmfBitmap& bitmap) {
        const size_t bytes = sizeof(BITMAPINFOHEADER) + bitmap.colors.size();
        m_words.assign((bytes + 3) / 4 + 1, 0);
        std::memcpy(m_words.data(), &bitmap.header, sizeof bitmap.header);
        std::memcpy(reinterpret_cast<BYTE*>(m_words.data()) + bitmap.header.biSize,
                    bitmap.colors.data(), bitmap.colors.size());
        m_size = bitmap.header.biSize + bitmap.colors.size();
        if (Header().biCompression != BI_RGB && Header().biCompression != BI_BITFIELDS)
            Header().biSizeImage = static_cast<DWORD>(bitmap.bits.size());
    }
    BITMAPINFOHEADER& Header() { return *reinterpret_cast<BITMAPINFOHEADER*>(m_words.data()); }
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(m_words.data()); }
    size_t Size() const { return m_size; }

private:
    std::vector<uint32_t> m_words;
    size_t m_size = 0;
};

LONG Round(double v) {
    return static_cast<LONG>(std::clamp(std::floor(v + 0.5), -2147483648.0, 2147483647.0));
}

// The destination box in device pixels: the transformed corners, so that a
// mirroring transform mirrors the image (a rotation draws it in its box).
RECT DeviceDestination(Playback& pb, LONG x, LONG y, LONG cx, LONG cy) {
    const DPoint a = pb.Device({static_cast<double>(x), static_cast<double>(y)});
    const DPoint b = pb.Device({static_cast<double>(x) + cx, static_cast<double>(y) + cy});
    const LONG left = Round(a.x), top = Round(a.y);
    return RECT{left, top, static_cast<LONG>(Round(b.x) - int64_t{left}),
                static_cast<LONG>(Round(b.y) - int64_t{top})};
}

// Blits name their source rectangle from the top of the source bitmap;
// StretchDIBits counts rows of a bottom-up bitmap from its bottom.
LONG DibSourceY(const BITMAPINFOHEADER& h, LONG ySrc, LONG cySrc) {
    if (h.biHeight < 0) return ySrc;
    return static_cast<LONG>(int64_t{h.biHeight} - ySrc - cySrc);
}

void WarnOnce(Playback& pb, const std::string& warning) {
    // Told once for each reason, however many bitmaps share it.
    if (std::find(pb.warnings.begin(), pb.warnings.end(), warning) == pb.warnings.end())
        pb.warnings.push_back(warning);
}

bool NearZero(double v) {
    return std::fabs(v) < 1e-9;
}

// The pixels a quarter-turned bitmap may have when they are turned.
constexpr uint64_t kMaxTurnedPixels = uint64_t{64} << 20;

// A bitmap's source rectangle turned a quarter: a top-down 32-bit bitmap
// whose columns are the source's rows and whose rows are its columns.
struct TurnedBitmap {
    BITMAPINFO info{};
    std::vector<uint32_t> pixels;  // 0xAARRGGBB, alpha kept
};

bool TurnSource(const DibImage& image, const RECT& source, TurnedBitmap* out) {
    // The source rectangle in display rows (StretchDIBits counts the rows of
    // a bottom-up bitmap from the bottom).
    const int64_t H = image.Height();
    const int64_t top = image.TopDown() ? source.top : H - source.top - source.bottom;
    const int64_t x0 = std::min<int64_t>(source.left, int64_t{source.left} + source.right);
    const int64_t y0 = std::min<int64_t>(top, top + source.bottom);
    const int64_t w = std::abs(int64_t{source.right}), h = std::abs(int64_t{source.bottom});
    if (x0 < 0 || y0 < 0 || x0 + w > image.Width() || y0 + h > H || w == 0 || h == 0 ||
        static_cast<uint64_t>(w * h) > kMaxTurnedPixels)
        return false;
    out->info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    out->info.bmiHeader.biWidth = static_cast<LONG>(h);
    out->info.bmiHeader.biHeight = -static_cast<LONG>(w);
    out->info.bmiHeader.biPlanes = 1;
    out->info.bmiHeader.biBitCount = 32;
    out->pixels.resize(static_cast<size_t>(w * h));
    std::vector<uint32_t> row(static_cast<size_t>(image.Width()));
    for (int64_t r = 0; r < h; ++r) {
        image.ReadRow(static_cast<int>(y0 + r), row.data());
        for (int64_t c = 0; c < w; ++c)
            out->pixels[static_cast<size_t>(c * h + r)] = row[static_cast<size_t>(x0 + c)];
    }
    return true;
}

// dest is the logical destination (x, y, width, height), source the source
// rectangle as StretchDIBits takes it.
R DrawBitmap(Playback& pb, const EmfBitmap& bitmap, BitmapInfoCopy& info, const RECT& logical,
             const RECT& source, DWORD rop, bool alpha) {
    DibImage image;
    std::string why;
    if (image.Open(info.Info(), info.Size(), bitmap.bits.data(), bitmap.bits.size(), bitmap.usage,
                   &why) != DibStatus::Ok) {
        WarnOnce(pb, "a bitmap was not drawn: " + why);
        return R::Skipped;
    }
    RECT dest = DeviceDestination(pb, logical.left, logical.top, logical.right, logical.bottom);
    if (dest.right == 0 || dest.bottom == 0) return R::Played;  // nothing to cover
    const Affine& t = pb.ToDevice();
    if (NearZero(t.m11) && NearZero(t.m22)) {
        // A quarter turn: device x follows the source's rows, device y its
        // columns. The driver's rasters stand upright, so the bitmap turns.
        TurnedBitmap turned;
        if (!TurnSource(image, source, &turned)) {
            WarnOnce(pb, "a turned bitmap whose source rectangle leaves the bitmap was not drawn");
            return R::Skipped;
        }
        // Mirrored sources mirror the turned destination.
        if (source.right < 0) dest.bottom = -dest.bottom;
        if (source.bottom < 0) dest.right = -dest.right;
        const RECT all{0, 0, turned.info.bmiHeader.biWidth, -turned.info.bmiHeader.biHeight};
        pb.device.DrawBitmap(pb.State(), dest, all, turned.pixels.data(), &turned.info,
                             DIB_RGB_COLORS, rop, alpha);
        return R::Played;
    }
    if (!NearZero(t.m12) || !NearZero(t.m21))
        WarnOnce(pb,
                 "bitmaps under a rotation other than a quarter turn are drawn upright in "
                 "their box");
    pb.device.DrawBitmap(pb.State(), dest, source, bitmap.bits.data(), info.Info(), bitmap.usage,
                         rop, alpha);
    return R::Played;
}

R PlayStretchDIBits(Playback& pb, const EmfRecordView& r) {
    EmfStretchDIBits view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    if (!view.source.present) return R::Played;
    const EMRSTRETCHDIBITS& rec = *view.record;
    BitmapInfoCopy info(view.source);
    return DrawBitmap(pb, view.source, info, RECT{rec.xDest, rec.yDest, rec.cxDest, rec.cyDest},
                      RECT{rec.xSrc, rec.ySrc, rec.cxSrc, rec.cySrc}, rec.dwRop, false);
}

R PlaySetDIBitsToDevice(Playback& pb, const EmfRecordView& r) {
    EmfSetDIBitsToDevice view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    if (!view.source.present) return R::Played;
    const EMRSETDIBITSTODEVICE& rec = *view.record;
    BitmapInfoCopy info(view.source);
    // The record holds only the scans from iStartScan on: the bitmap drawn
    // is those rows, and the source rectangle moves with them.
    LONG ySrc = rec.ySrc;
    BITMAPINFOHEADER& h = info.Header();
    const int64_t rows = h.biHeight < 0 ? -int64_t{h.biHeight} : h.biHeight;
    if (view.source.rows < rows) {
        h.biHeight = h.biHeight < 0 ? -static_cast<LONG>(view.source.rows)
                                    : static_cast<LONG>(view.source.rows);
        if (h.biHeight > 0) ySrc = static_cast<LONG>(int64_t{ySrc} - rec.iStartScan);
    }
    if (h.biHeight == 0) return R::Played;
    return DrawBitmap(pb, view.source, info, RECT{rec.xDest, rec.yDest, rec.cxSrc, rec.cySrc},
                      RECT{rec.xSrc, ySrc, rec.cxSrc, rec.cySrc}, SRCCOPY, false);
}

R PlayStretchBlt(Playback& pb, const EmfRecordView& r) {
    EmfStretchBlt view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    const EMRSTRETCHBLT& rec = *view.record;
    // An alpha blend's dwRop is its BLENDFUNCTION: operation, flags,
    // constant alpha, alpha format. The source's own alpha counts only with
    // AC_SRC_ALPHA; a constant alpha of 0 leaves the page as it is.
    const bool blend = r.type == EMR_ALPHABLEND;
    const bool alpha = blend && ((rec.dwRop >> 24) & kAcSrcAlpha) != 0;
    if (blend && ((rec.dwRop >> 16) & 0xFF) == 0) return R::Played;
    if (!view.source.present) return blend ? R::Played : R::Skipped;
    BitmapInfoCopy info(view.source);
    const RECT source{rec.xSrc, DibSourceY(info.Header(), rec.ySrc, rec.cySrc), rec.cxSrc,
                      rec.cySrc};
    // A blend reaches the device as a copy that carries the source's own
    // alpha: the plotter cannot mix it with what lies below, the raster
    // device mixes it by that alpha (the constant alpha is not applied).
    return DrawBitmap(pb, view.source, info, RECT{rec.xDest, rec.yDest, rec.cxDest, rec.cyDest},
                      source, blend ? SRCCOPY : rec.dwRop, alpha);
}

}  // namespace

RecordResult PlaySourceBitBlt(Playback& pb, const EmfBitBlt& view) {
    const EMRBITBLT& rec = *view.record;
    BitmapInfoCopy info(view.source);
    // A blit copies as many source pixels as it covers.
    const RECT source{rec.xSrc, DibSourceY(info.Header(), rec.ySrc, rec.cyDest), rec.cxDest,
                      rec.cyDest};
    return DrawBitmap(pb, view.source, info, RECT{rec.xDest, rec.yDest, rec.cxDest, rec.cyDest},
                      source, rec.dwRop, false);
}

void AddBitmapHandlers(HandlerTable& t) {
    t[EMR_STRETCHDIBITS] = PlayStretchDIBits;
    t[EMR_SETDIBITSTODEVICE] = PlaySetDIBitsToDevice;
    t[EMR_STRETCHBLT] = PlayStretchBlt;
    t[EMR_ALPHABLEND] = PlayStretchBlt;
}

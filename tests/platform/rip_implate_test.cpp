// CRIPImplate: a picture rendered band by band, on one thread or several,
// reaches the callback top to bottom, each row once, with the pixels one
// whole playback of the same picture gives.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>
#include "plothost/text_builder.h"
#include "pxrdriver/rip_implate.h"
#include "win32/gdi32/metafile/metafile_player.h"
#include "support/dib_builder.h"
#include "support/dib_canvas.h"
#include "support/emf_builder.h"

namespace {

constexpr DWORD kStockNullPen = 0x80000000u | NULL_PEN;

// Sets the band tuning variables for one scope (0: unset).
class RipEnvironment {
public:
    RipEnvironment(unsigned threads, unsigned bandRows) {
        Put("PXR_RIP_THREADS", threads);
        Put("PXR_RIP_BAND_ROWS", bandRows);
    }
    ~RipEnvironment() {
        unsetenv("PXR_RIP_THREADS");
        unsetenv("PXR_RIP_BAND_ROWS");
    }

private:
    static void Put(const char* name, unsigned value) {
        if (value)
            setenv(name, std::to_string(value).c_str(), 1);
        else
            unsetenv(name);
    }
};

// A 2 x 2 bitmap drawn over 600 x 600 logical units at (200, 200).
std::vector<DWORD> StretchDibRecord() {
    return StretchDibitsPayload(DirectDib(2, 2, 24, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00}), 200,
                                200, 600, 600);
}

// Fills, a thick stroked curve, paths of lines and of curves reaching far
// beyond the frame, a clipped hatch, a bitmap and text over the builder's
// 1000 x 1000 reference frame, with edges on many rows; dashed: a dashed
// curve too, whose dashes must run on unchanged from band to band.
std::vector<BYTE> SampleDrawing(bool dashed) {
    EmfBuilder emf;
    emf.Record(EMR_STRETCHDIBITS, StretchDibRecord());
    emf.CreateBrush(1, BS_SOLID, RGB(200, 30, 40)).Select(1);
    emf.CreatePen(2, PS_SOLID, 25, RGB(20, 40, 220)).Select(2);
    emf.Poly(EMR_POLYGON, {{50, 30}, {900, 120}, {400, 650}});
    emf.Poly(EMR_POLYBEZIER, {{100, 900}, {300, 100}, {700, 1200}, {950, 300}});
    emf.Box(EMR_ELLIPSE, 600, 550, 980, 980);
    emf.Record(EMR_BEGINPATH, {});
    emf.Poly(EMR_POLYGON, {{80, 700}, {300, 980}, {520, 700}, {300, 420}});
    emf.Record(EMR_ENDPATH, {});
    emf.Record(EMR_STROKEANDFILLPATH, {0, 0, 1000, 1000});
    emf.CreateBrush(5, BS_SOLID, RGB(240, 200, 0)).Select(5);
    emf.Record(EMR_BEGINPATH, {});
    emf.MoveTo(50, 950);
    emf.Poly(EMR_POLYBEZIERTO,
             {{-900, -1600}, {2400, -1300}, {950, 900}, {700, 2300}, {300, 1300}, {50, 950}});
    emf.Record(EMR_CLOSEFIGURE, {});
    emf.Record(EMR_ENDPATH, {});
    emf.Record(EMR_STROKEANDFILLPATH, {0, 0, 1000, 1000});
    if (dashed) {
        emf.CreatePen(6, PS_DASH, 1, RGB(0, 0, 0)).Select(6);
        // The first curve lies in the top rows only; the dashes of the
        // second one, through every row, follow on from its length.
        emf.MoveTo(0, 100);
        emf.Poly(EMR_POLYBEZIERTO,
                 {{200, 300}, {600, -100}, {900, 100}, {1200, 400}, {-200, 700}, {100, 1000}});
    }
    emf.Box(EMR_INTERSECTCLIPRECT, 100, 330, 870, 610);
    emf.CreateBrush(3, BS_HATCHED, RGB(0, 128, 0), HS_DIAGCROSS).Select(3).Select(kStockNullPen);
    emf.Box(EMR_RECTANGLE, 0, 0, 1000, 1000);
    CreateFont(emf, 4, LogFont(u"Liberation Sans", -220)).Select(4);
    emf.Mode(EMR_SETBKMODE, TRANSPARENT).Mode(EMR_SETTEXTCOLOR, RGB(90, 0, 90));
    TextOut(emf, {.x = 120, .y = 360, .text = u"Hg"});
    return emf.Bytes();
}

HENHMETAFILE MetafileOf(const std::vector<BYTE>& bytes) {
    return SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
}

struct Band {
    RECT whole;
    RECT band;
    RipBandBits bits;
    std::vector<uint32_t> pixels;
    std::thread::id thread;
};

// Keeps what each band brought; refuses the band numbered refuseAt.
class RecordingCallback : public CRipCallBack {
public:
    explicit RecordingCallback(int refuseAt = -1) : m_refuseAt(refuseAt) {}
    int OnBand(void*, const RECT* pWhole, const RECT* pBand, const RipBandBits* pBits) override {
        Band b{*pWhole, *pBand, *pBits, {}, std::this_thread::get_id()};
        const size_t count = static_cast<size_t>(pBits->nStride) * pBits->nRows;
        b.pixels.resize(count);
        std::memcpy(b.pixels.data(), pBits->pBits, count * 4);
        bands.push_back(std::move(b));
        return static_cast<int>(bands.size()) - 1 == m_refuseAt ? 0 : 1;
    }
    std::vector<Band> bands;

private:
    int m_refuseAt;
};

constexpr XFORM kPlayTransform{0.75f, 0, 0, 0.75f, 9, 5};

// The picture played once onto one DIB section of the raster's size, as the
// bands must show it: the DC's origin at dest's corner, the transform in
// GM_ADVANCED.
std::vector<uint32_t> WholePlayback(const std::vector<BYTE>& bytes, int width, int height,
                                    const RECT& dest, const XFORM& xform) {
    DibCanvas canvas(width, height);
    SetViewportOrgEx(canvas.dc, -dest.left, -dest.top, nullptr);
    EXPECT_EQ(SetGraphicsMode(canvas.dc, GM_ADVANCED), GM_COMPATIBLE);
    EXPECT_TRUE(SetWorldTransform(canvas.dc, &xform));
    HENHMETAFILE metafile = MetafileOf(bytes);
    EXPECT_TRUE(PlayEnhMetaFile(canvas.dc, metafile, &dest));
    DeleteEnhMetaFile(metafile);
    return canvas.Image().pixels;
}

TEST(RipImplate, BandsCoverEveryRowOnceWithThePixelsOfOneWholePlayback) {
    constexpr int kWidth = 97, kHeight = 83;
    const RECT dest{13, 21, 13 + kWidth, 21 + kHeight};
    for (const bool dashed : {false, true}) {
        const std::vector<BYTE> bytes = SampleDrawing(dashed);
        const std::vector<uint32_t> expected =
            WholePlayback(bytes, kWidth, kHeight, dest, kPlayTransform);
        size_t distinct = 0;
        for (size_t i = 1; i < expected.size(); ++i) distinct += expected[i] != expected[i - 1];
        ASSERT_GT(distinct, 200u) << "the picture must have edges to compare";
        struct Case {
            unsigned threads;
            unsigned bandRows;  // 0: chosen by the processor
            int expectedBandRows;
        };
        const std::vector<Case> cases = {
            {1, 0, kHeight}, {1, 7, 7}, {2, 7, 7}, {3, 5, 5}, {4, 1, 1}, {2, 40, 40},
        };
        for (const Case& c : cases) {
            const std::string what = (dashed ? "dashed, " : "") + std::to_string(c.threads) +
                                     " threads, bands of " + std::to_string(c.bandRows);
            RipEnvironment environment(c.threads, c.bandRows);
            RecordingCallback callback;
            CRIPImplate rip(&callback);
            ASSERT_NE(rip.CreateRIPBuffer(kWidth, kHeight, 32, 0), 0) << what;
            rip.BeginRIP(CRect(dest), CRect());
            HENHMETAFILE source = MetafileOf(bytes);
            rip.m_xformPlay = kPlayTransform;
            rip.m_hPlayMetaFile = CopyEnhMetaFileA(source, nullptr);
            const HENHMETAFILE copy = rip.m_hPlayMetaFile;
            ASSERT_NE(copy, nullptr);
            ASSERT_EQ(rip.EndRIP(), 1) << what;
            EXPECT_EQ(rip.m_hPlayMetaFile, nullptr) << what;
            EXPECT_EQ(EnhMetaFileDocument(copy), nullptr) << what << ": the copy is released";
            EXPECT_TRUE(DeleteEnhMetaFile(source));
            int nextTop = 0;
            for (const Band& b : callback.bands) {
                EXPECT_EQ(b.thread, std::this_thread::get_id()) << what;
                EXPECT_EQ(CRect(b.whole), CRect(0, 0, kWidth, kHeight));
                ASSERT_EQ(CRect(b.band), CRect(0, nextTop, kWidth, b.band.bottom)) << what;
                EXPECT_EQ(b.bits.nStride, kWidth);
                EXPECT_EQ(b.bits.nBytesPerPixel, 4);
                EXPECT_EQ(b.bits.nRows, b.band.bottom - b.band.top);
                EXPECT_EQ(b.bits.nRows, std::min(c.expectedBandRows, kHeight - nextTop)) << what;
                for (int y = 0; y < b.bits.nRows; ++y)
                    for (int x = 0; x < kWidth; ++x)
                        ASSERT_EQ(b.pixels[static_cast<size_t>(y) * kWidth + x],
                                  expected[static_cast<size_t>(nextTop + y) * kWidth + x])
                            << what << ": pixel " << x << "," << nextTop + y;
                nextTop = b.band.bottom;
            }
            EXPECT_EQ(nextTop, kHeight) << what;
        }
    }
}

// A band the callback refuses, or a metafile that fails to play, ends the
// raster with nothing more delivered; the metafile stays the caller's.
TEST(RipImplate, RefusedBandOrFailedPlaybackEndsTheRasterAndKeepsTheMetafile) {
    // The selection names an object the table cannot hold: the record fails
    // after the first shapes were drawn.
    EmfBuilder failing;
    failing.Handles(2).CreateBrush(1, BS_SOLID, RGB(255, 0, 0)).Select(1);
    failing.Box(EMR_RECTANGLE, 0, 0, 500, 500);
    failing.Select(9);
    failing.Box(EMR_RECTANGLE, 500, 500, 1000, 1000);
    const std::vector<BYTE> sound = SampleDrawing(false), fails = failing.Bytes();
    struct Case {
        unsigned threads;
        unsigned bandRows;
        int refuseAt;  // -1: the metafile fails, no band is delivered
    };
    // 50 rows: bands of 4 make 13, of 1 make 50.
    const std::vector<Case> cases = {{1, 4, 0}, {1, 4, 5},  {3, 4, 0},  {3, 4, 2}, {2, 1, 30},
                                     {4, 1, 1}, {2, 4, 12}, {1, 3, -1}, {3, 3, -1}};
    for (const Case& c : cases) {
        const std::string what =
            std::to_string(c.threads) + " threads, band " + std::to_string(c.refuseAt) + " refused";
        RipEnvironment environment(c.threads, c.bandRows);
        RecordingCallback callback(c.refuseAt);
        CRIPImplate rip(&callback);
        ASSERT_NE(rip.CreateRIPBuffer(60, 50, 32, 0), 0);
        rip.BeginRIP(CRect(), CRect());
        rip.m_hPlayMetaFile = MetafileOf(c.refuseAt < 0 ? fails : sound);
        EXPECT_EQ(rip.EndRIP(), 0) << what;
        EXPECT_EQ(callback.bands.size(), static_cast<size_t>(c.refuseAt + 1)) << what;
        ASSERT_NE(rip.m_hPlayMetaFile, nullptr) << what;
        EXPECT_TRUE(DeleteEnhMetaFile(rip.m_hPlayMetaFile)) << what << ": the caller's to delete";
    }
}

TEST(RipImplate, SizesAreRefusedOrBandedWithinTheBudget) {
    RipEnvironment environment(2, 0);
    constexpr unsigned kBandBytes = 8u << 20;
    struct Case {
        unsigned width, height;
        int bitsPerPixel;
        bool made;
    };
    const std::vector<Case> cases = {
        {0, 0, 32, false},
        {0, 10, 32, false},
        {10, 0, 32, false},
        {100, 100, 24, false},
        {100, 100, 1, false},
        {kBandBytes / 4 + 1, 1, 32, false},  // a row wider than a band
        {UINT_MAX, 1, 32, false},
        {10, 0x80000000u, 32, false},  // beyond what a RECT counts
        {kBandBytes / 4, 3, 32, true},
        {19866 * 4, 0x7FFFFFFF, 32, true},
        {1, 1, 32, true},
    };
    const std::vector<BYTE> bytes = SampleDrawing(false);
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.width) + " x " + std::to_string(c.height);
        RecordingCallback callback(0);
        CRIPImplate rip(&callback);
        EXPECT_EQ(rip.CreateRIPBuffer(c.width, c.height, c.bitsPerPixel, 0) != 0, c.made) << what;
        if (!c.made) {
            EXPECT_EQ(rip.GetRIPDC(), nullptr) << what;
            EXPECT_EQ(rip.EndRIP(), 0) << what;
            continue;
        }
        // The first band is all that renders before the refusal.
        rip.BeginRIP(CRect(), CRect());
        rip.m_hPlayMetaFile = MetafileOf(bytes);
        EXPECT_EQ(rip.EndRIP(), 0) << what;
        ASSERT_EQ(callback.bands.size(), 1u) << what;
        const Band& first = callback.bands[0];
        EXPECT_EQ(first.band.top, 0);
        EXPECT_EQ(first.whole.bottom, static_cast<LONG>(c.height));
        EXPECT_LE(static_cast<size_t>(first.bits.nRows) * c.width * 4, size_t{kBandBytes}) << what;
        EXPECT_GE(first.bits.nRows, 1);
        DeleteEnhMetaFile(rip.m_hPlayMetaFile);
    }
    EXPECT_EQ(HT_IsWindowNT(), TRUE);
}

TEST(RipImplate, WhatIsDrawnIntoTheDcIsDeliveredWhenItFits) {
    struct Case {
        unsigned width, height, bandRows;
        bool draw;
        int result;
    };
    const std::vector<Case> cases = {
        {30, 20, 6, true, 1},      // whole DC, four bands
        {30, 20, 0, true, 1},      // whole DC, one band
        {30, 20, 6, false, 1},     // nothing drawn: white
        {3000, 2000, 0, true, 0},  // 24 MB: the DC holds only the first band
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.width) + " x " + std::to_string(c.height) +
                                 (c.draw ? " drawn" : " not drawn");
        RipEnvironment environment(1, c.bandRows);
        RecordingCallback callback;
        CRIPImplate rip(&callback);
        EXPECT_EQ(rip.GetRIPDC(), nullptr);
        ASSERT_NE(rip.CreateRIPBuffer(c.width, c.height, 32, 0), 0) << what;
        // The DC counts in the drawing's pixels: dest starts at (100, 200).
        rip.BeginRIP(CRect(100, 200, 100 + c.width, 200 + c.height), CRect());
        if (c.draw) {
            HDC dc = rip.GetRIPDC();
            ASSERT_NE(dc, nullptr);
            HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
            const RECT box{110, 205, 120, 217};  // raster columns 10..19, rows 5..16
            EXPECT_NE(FillRect(dc, &box, brush), 0);
            DeleteObject(brush);
        }
        EXPECT_EQ(rip.EndRIP(), c.result) << what;
        if (c.result == 0) {
            EXPECT_TRUE(callback.bands.empty()) << what;
            continue;
        }
        size_t rows = 0;
        for (const Band& b : callback.bands)
            for (int y = 0; y < b.bits.nRows; ++y, ++rows)
                for (int x = 0; x < static_cast<int>(c.width); ++x) {
                    const int row = b.band.top + y;
                    const bool inked = c.draw && x >= 10 && x < 20 && row >= 5 && row < 17;
                    ASSERT_EQ(b.pixels[static_cast<size_t>(y) * c.width + x],
                              inked ? 0x123456u : 0xFFFFFFu)
                        << what << " at " << x << "," << row;
                }
        EXPECT_EQ(rows, c.height) << what;
    }
}

}  // namespace

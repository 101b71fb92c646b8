// Records that draw bitmaps reach the driver's bitmap entries with the
// arguments of StretchDIBits, the destination in device pixels.
#include <gtest/gtest.h>

#include <cstring>

#include <windows.h>
#include "recording_host.h"
#include "support/dib_builder.h"
#include "win32/gdi32/dib.h"

namespace {

std::vector<DWORD> Words(const std::vector<uint8_t>& bytes) {
    std::vector<DWORD> words((bytes.size() + 3) / 4, 0);
    std::memcpy(words.data(), bytes.data(), bytes.size());
    return words;
}

// A record: its fixed fields (after the EMR), then the BITMAPINFO and the
// bits, with the four offset and size fields at fieldIndex (counted in
// DWORDs after the EMR) filled in.
std::vector<DWORD> WithBitmap(std::vector<DWORD> fixed, size_t fieldIndex, const TestDib& dib) {
    const DWORD offBmi = static_cast<DWORD>(8 + 4 * fixed.size());
    const std::vector<DWORD> info = Words(dib.info);
    const std::vector<DWORD> bits = Words(dib.bits);
    fixed[fieldIndex] = offBmi;
    fixed[fieldIndex + 1] = static_cast<DWORD>(dib.info.size());
    fixed[fieldIndex + 2] = offBmi + static_cast<DWORD>(4 * info.size());
    fixed[fieldIndex + 3] = static_cast<DWORD>(dib.bits.size());
    fixed.insert(fixed.end(), info.begin(), info.end());
    fixed.insert(fixed.end(), bits.begin(), bits.end());
    return fixed;
}

DWORD U(LONG v) {
    return static_cast<DWORD>(v);
}

// EMRSTRETCHDIBITS after the EMR: bounds, xDest, yDest, xSrc, ySrc, cxSrc,
// cySrc, offBmi, cbBmi, offBits, cbBits, iUsage, dwRop, cxDest, cyDest.
std::vector<DWORD> StretchDIBits(LONG x, LONG y, LONG cx, LONG cy, LONG xs, LONG ys, LONG cxs,
                                 LONG cys, const TestDib& dib) {
    return WithBitmap({0, 0, 0, 0, U(x), U(y), U(xs), U(ys), U(cxs), U(cys), 0, 0, 0, 0,
                       DIB_RGB_COLORS, SRCCOPY, U(cx), U(cy)},
                      10, dib);
}

// EMRSTRETCHBLT after the EMR: bounds, xDest, yDest, cxDest, cyDest, dwRop,
// xSrc, ySrc, xformSrc (6), crBkColorSrc, iUsageSrc, offBmi, cbBmi,
// offBits, cbBits, cxSrc, cySrc. EMRBITBLT is the same without the last two.
std::vector<DWORD> StretchBlt(LONG x, LONG y, LONG cx, LONG cy, DWORD rop, LONG xs, LONG ys,
                              LONG cxs, LONG cys, const TestDib& dib, bool withSize = true) {
    const DWORD one = EmfBuilder::Float(1.0f);
    std::vector<DWORD> fixed{0,   0, 0, 0,   U(x), U(y), U(cx), U(cy),          rop, U(xs), U(ys),
                             one, 0, 0, one, 0,    0,    0,     DIB_RGB_COLORS, 0,   0,     0,
                             0};
    if (withSize) fixed.insert(fixed.end(), {U(cxs), U(cys)});
    return WithBitmap(fixed, 19, dib);
}

struct Played {
    Lines log;
    PlayRun run;
};

Played Play(EmfBuilder& emf) {
    RecordingHost host;
    Played p;
    p.run = PlayInto(host, emf.Bytes());
    EXPECT_TRUE(p.run.ok) << p.run.error;
    p.log = host.Lines("OnDrawBitmap");
    return p;
}

const TestDib kDib = DirectDib(2, 2, 24, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});

TEST(BitmapRecords, StretchDIBitsDrawsThroughOnDrawBitmap) {
    EmfBuilder emf;
    emf.Record(EMR_STRETCHDIBITS, StretchDIBits(10, 20, 40, 30, 0, 0, 2, 2, kDib));
    const Played p = Play(emf);
    EXPECT_EQ(p.log, (Lines{"OnDrawBitmap dest=10,20,40,30 src=0,0,2,2 bitmap=2x2@24 "
                            "compression=0 sizeImage=0 usage=0 rop=0xCC0020"}));
    EXPECT_EQ(p.run.summary.SkippedCount(), 0u);
}

TEST(BitmapRecords, DestinationFollowsTheTransformMirrorsIncluded) {
    EmfBuilder emf;
    emf.World(2, 0, 0, -1, 100, 500)
        .Record(EMR_STRETCHDIBITS, StretchDIBits(10, 20, 40, 30, 0, 0, 2, 2, kDib));
    // (10, 20) -> (120, 480); the extents (80, -30): drawn upside down.
    EXPECT_EQ(Play(emf).log, (Lines{"OnDrawBitmap dest=120,480,80,-30 src=0,0,2,2 bitmap=2x2@24 "
                                    "compression=0 sizeImage=0 usage=0 rop=0xCC0020"}));
}

// A quarter turn (x' = 100 - y, y' = x) turns the bitmap itself: the
// driver's rasters stand upright, so the host hands it the source turned,
// its columns the source's rows. The top left (red) lands top right.
TEST(BitmapRecords, QuarterTurnsTurnTheBitmap) {
    EmfBuilder emf;
    emf.World(0, 1, -1, 0, 100, 0)
        .Record(EMR_STRETCHDIBITS, StretchDIBits(10, 20, 4, 2, 0, 0, 2, 2, kDib));
    const Played p = Play(emf);
    // Turned rows: red, blue (the source's first column), then green, white.
    EXPECT_EQ(p.log, (Lines{"OnDrawBitmap dest=80,10,-2,4 src=0,0,2,2 bitmap=2x-2@32 "
                            "compression=0 sizeImage=0 usage=0 rop=0xCC0020 "
                            "pixels=FFFF0000,FF0000FF,FF00FF00,FFFFFFFF"}));
    EXPECT_TRUE(p.run.summary.warnings.empty());
    // Other angles are drawn upright in their box, and said so once.
    EmfBuilder slanted;
    slanted.World(0.8f, 0.6f, -0.6f, 0.8f, 100, 0)
        .Record(EMR_STRETCHDIBITS, StretchDIBits(10, 20, 4, 2, 0, 0, 2, 2, kDib))
        .Record(EMR_STRETCHDIBITS, StretchDIBits(10, 20, 4, 2, 0, 0, 2, 2, kDib));
    const Played q = Play(slanted);
    EXPECT_EQ(q.log.size(), 2u);
    EXPECT_EQ(q.run.summary.warnings,
              (std::vector<std::string>{"bitmaps under a rotation other than a quarter turn are "
                                        "drawn upright in their box"}));
}

// Blits name the source from its top row; StretchDIBits counts the rows of
// a bottom-up bitmap from the bottom: row 0 of 2, one row high, is row 1.
TEST(BitmapRecords, BlitsWithASourceCountSourceRowsFromTheBottom) {
    EmfBuilder emf;
    emf.Record(EMR_BITBLT, StretchBlt(5, 6, 2, 1, SRCCOPY, 0, 0, 0, 0, kDib, false))
        .Record(EMR_STRETCHBLT, StretchBlt(5, 6, 20, 10, SRCAND, 1, 0, 1, 1, kDib));
    EXPECT_EQ(Play(emf).log,
              (Lines{"OnDrawBitmap dest=5,6,2,1 src=0,1,2,1 bitmap=2x2@24 compression=0 "
                     "sizeImage=0 usage=0 rop=0xCC0020",
                     "OnDrawBitmap dest=5,6,20,10 src=1,1,1,1 bitmap=2x2@24 compression=0 "
                     "sizeImage=0 usage=0 rop=0x8800C6"}));
}

// The BLENDFUNCTION decides: the source's alpha with AC_SRC_ALPHA, an
// opaque copy without it, nothing at a constant alpha of 0.
TEST(BitmapRecords, AlphaBlendFollowsItsBlendFunction) {
    const TestDib dib = DirectDib(1, 1, 32, {0x80FF0000});
    struct Case {
        DWORD blend;
        Lines log;
    } cases[] = {
        {0x01FF0000,
         {"OnDrawBitmapAlpha dest=0,0,8,8 src=0,0,1,1 bitmap=1x1@32 compression=0 "
          "sizeImage=0 usage=0 rop=0xCC0020"}},
        {0x00800000,
         {"OnDrawBitmap dest=0,0,8,8 src=0,0,1,1 bitmap=1x1@32 compression=0 "
          "sizeImage=0 usage=0 rop=0xCC0020"}},
        {0x01000000, {}},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        emf.Record(EMR_ALPHABLEND, StretchBlt(0, 0, 8, 8, c.blend, 0, 0, 1, 1, dib));
        EXPECT_EQ(Play(emf).log, c.log) << std::hex << c.blend;
    }
}

TEST(BitmapRecords, SetDIBitsToDeviceDrawsItsScansAtOnePixelEach) {
    // EMRSETDIBITSTODEVICE after the EMR: bounds, xDest, yDest, xSrc, ySrc,
    // cxSrc, cySrc, offBmi, cbBmi, offBits, cbBits, iUsage, iStartScan, cScans.
    EmfBuilder emf;
    emf.Record(
        EMR_SETDIBITSTODEVICE,
        WithBitmap({0, 0, 0, 0, 7, 8, 0, 0, 2, 2, 0, 0, 0, 0, DIB_RGB_COLORS, 0, 2}, 10, kDib));
    EXPECT_EQ(Play(emf).log, (Lines{"OnDrawBitmap dest=7,8,2,2 src=0,0,2,2 bitmap=2x2@24 "
                                    "compression=0 sizeImage=0 usage=0 rop=0xCC0020"}));
    // Only one scan in the record, from scan 1: a bitmap of that row.
    TestDib oneRow = kDib;
    oneRow.bits.resize(8);
    EmfBuilder partial;
    partial.Record(
        EMR_SETDIBITSTODEVICE,
        WithBitmap({0, 0, 0, 0, 7, 8, 0, 1, 2, 1, 0, 0, 0, 0, DIB_RGB_COLORS, 1, 1}, 10, oneRow));
    EXPECT_EQ(Play(partial).log, (Lines{"OnDrawBitmap dest=7,8,2,1 src=0,0,2,1 bitmap=2x1@24 "
                                        "compression=0 sizeImage=0 usage=0 rop=0xCC0020"}));
}

// Compressed bits are read as far as biSizeImage says: the copy handed on
// says what the record holds, whatever the writer put there.
TEST(BitmapRecords, RunLengthBitmapsCarryTheirDataSize) {
    TestDib rle = IndexedDib(4, 1, 8, {0x000000, 0xFF0000}, {1, 1, 1, 1});
    rle.Header().biCompression = BI_RLE8;
    rle.Header().biSizeImage = 1000;  // a lie
    rle.bits = {4, 1, 0, 1};          // four of index 1, end of bitmap
    EmfBuilder emf;
    emf.Record(EMR_STRETCHDIBITS, StretchDIBits(0, 0, 4, 1, 0, 0, 4, 1, rle));
    EXPECT_EQ(Play(emf).log, (Lines{"OnDrawBitmap dest=0,0,4,1 src=0,0,4,1 bitmap=4x1@8 "
                                    "compression=1 sizeImage=4 usage=0 rop=0xCC0020"}));
}

// JPEG and PNG bitmaps, and bitmaps the decoder refuses, are counted as
// skipped and never handed on to be misread.
TEST(BitmapRecords, BitmapsThatCannotBeReadAreSkippedAndCounted) {
    TestDib jpeg = DirectDib(2, 2, 24, {0, 0, 0, 0});
    jpeg.Header().biCompression = BI_JPEG;
    jpeg.Header().biBitCount = 0;
    jpeg.bits = {0xFF, 0xD8, 0xFF, 0xE0};
    // A run-length bitmap of 10^8 pixels from four bytes: more than the
    // decoder expands.
    TestDib huge = IndexedDib(1, 1, 8, {0, 0xFFFFFF}, {0});
    huge.Header().biCompression = BI_RLE8;
    huge.Header().biWidth = 10000;
    huge.Header().biHeight = 10000;
    huge.bits = {255, 1, 0, 1};
    EmfBuilder emf;
    emf.Record(EMR_STRETCHDIBITS, StretchDIBits(0, 0, 2, 2, 0, 0, 2, 2, jpeg))
        .Record(EMR_STRETCHDIBITS, StretchDIBits(0, 0, 2, 1, 0, 0, 2, 1, huge))
        .Record(EMR_STRETCHDIBITS, StretchDIBits(0, 0, 2, 2, 0, 0, 2, 2, jpeg));
    const Played p = Play(emf);
    EXPECT_TRUE(p.log.empty());
    EXPECT_EQ(p.run.summary.skipped.at(EMR_STRETCHDIBITS), 3u);
    ASSERT_EQ(p.run.summary.warnings.size(), 2u);  // once for each reason
    EXPECT_EQ(p.run.summary.warnings[0],
              "a bitmap was not drawn: the bitmap is a JPEG or PNG image");
}

}  // namespace

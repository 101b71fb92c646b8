#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>
#include "support/dib_builder.h"
#include "win32/gdi32/dib.h"

namespace {

using Pixels = std::vector<uint32_t>;

DibStatus Open(DibImage* image, const TestDib& dib, std::string* why = nullptr,
               UINT usage = DIB_RGB_COLORS) {
    return image->Open(dib.info.data(), dib.info.size(), dib.bits.data(), dib.bits.size(), usage,
                       why);
}

Pixels AllRows(const DibImage& image) {
    Pixels all(static_cast<size_t>(image.Width()) * image.Height());
    for (int y = 0; y < image.Height(); ++y)
        image.ReadRow(y, all.data() + static_cast<size_t>(y) * image.Width());
    return all;
}

// Colour tables and masks appended to a header.
TestDib WithHeader(const BITMAPINFOHEADER& h, std::vector<uint32_t> extra,
                   std::vector<uint8_t> bits) {
    TestDib dib;
    dib.info.resize(sizeof h + 4 * extra.size());
    std::memcpy(dib.info.data(), &h, sizeof h);
    if (!extra.empty()) std::memcpy(dib.info.data() + sizeof h, extra.data(), 4 * extra.size());
    dib.bits = std::move(bits);
    return dib;
}

TEST(DibDecoder, EveryDepthReadsTopRowFirstInEitherRowOrder) {
    const Pixels colours = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF808080};
    const Pixels palette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};
    const std::vector<int> indexes = {0, 1, 2, 3, 4, 5};
    for (int height : {2, -2}) {
        for (int bits : {4, 8, 24, 32}) {
            const TestDib dib = bits <= 8 ? IndexedDib(3, height, bits, palette, indexes)
                                          : DirectDib(3, height, bits, colours);
            DibImage image;
            ASSERT_EQ(Open(&image, dib), DibStatus::Ok) << bits << " " << height;
            EXPECT_EQ(image.TopDown(), height < 0);
            EXPECT_EQ(AllRows(image), colours) << bits << " bits, height " << height;
        }
    }
    // One bit: a two-entry table, 47 pixels (odd width, padded rows).
    std::vector<int> ones(47 * 3);
    for (size_t i = 0; i < ones.size(); ++i) ones[i] = (i % 3 == 0) ? 1 : 0;
    const TestDib mono = IndexedDib(47, 3, 1, {0x000000, 0xFFFFFF}, ones);
    DibImage image;
    ASSERT_EQ(Open(&image, mono), DibStatus::Ok);
    const Pixels all = AllRows(image);
    for (size_t i = 0; i < ones.size(); ++i)
        ASSERT_EQ(all[i], ones[i] ? 0xFFFFFFFFu : 0xFF000000u) << i;
}

TEST(DibDecoder, SixteenBitsAndMasks) {
    // 5-5-5 without masks: 0x7C00 is full red; 5 bits scale to 8 (31 -> 255).
    BITMAPINFOHEADER h = TestHeader(2, 1, 16, BI_RGB);
    DibImage image;
    // The image reads the bits where they lie: they must outlive it.
    const TestDib rgb555 = WithHeader(h, {}, {0x00, 0x7C, 0x10, 0x42});
    ASSERT_EQ(Open(&image, rgb555), DibStatus::Ok);
    // 0x4210 = 10000 10000 10000: 16 of 31 -> 132.
    EXPECT_EQ(AllRows(image), (Pixels{0xFFFF0000, 0xFF848484}));
    // 5-6-5 through BI_BITFIELDS after a plain header.
    h.biCompression = BI_BITFIELDS;
    const TestDib rgb565 = WithHeader(h, {0xF800, 0x07E0, 0x001F}, {0xE0, 0x07, 0x1F, 0x00});
    ASSERT_EQ(Open(&image, rgb565), DibStatus::Ok);
    EXPECT_EQ(AllRows(image), (Pixels{0xFF00FF00, 0xFF0000FF}));
    // 32 bits with masks in a V5 header, alpha included.
    std::vector<uint8_t> v5(124, 0);
    BITMAPINFOHEADER h32 = TestHeader(1, 1, 32, BI_BITFIELDS);
    h32.biSize = 124;
    std::memcpy(v5.data(), &h32, sizeof h32);
    const DWORD masks[4] = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};  // R and B swapped
    std::memcpy(v5.data() + 40, masks, sizeof masks);
    TestDib dib;
    dib.info = v5;
    dib.bits = {0x11, 0x22, 0x33, 0x44};
    ASSERT_EQ(Open(&image, dib), DibStatus::Ok);
    EXPECT_TRUE(image.HasAlpha());
    EXPECT_EQ(AllRows(image), (Pixels{0x44112233}));
}

TEST(DibDecoder, CoreHeadersAndPaletteIndexTables) {
    // BITMAPCOREHEADER: 16-bit sizes, three-byte colour entries.
    TestDib core;
    const BITMAPCOREHEADER c{12, 2, 1, 1, 1};
    core.info.resize(12 + 6);
    std::memcpy(core.info.data(), &c, sizeof c);
    const uint8_t table[6] = {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00};  // red, blue
    std::memcpy(core.info.data() + 12, table, 6);
    core.bits = {0x40, 0, 0, 0};  // pixels 0, 1
    DibImage image;
    ASSERT_EQ(Open(&image, core), DibStatus::Ok);
    EXPECT_EQ(AllRows(image), (Pixels{0xFFFF0000, 0xFF0000FF}));
    // DIB_PAL_COLORS: WORD indexes into the default palette (13 is red, 16 blue).
    BITMAPINFOHEADER h = TestHeader(2, 1, 1, BI_RGB);
    TestDib pal = WithHeader(h, {0x0010000D}, {0x40, 0, 0, 0});
    ASSERT_EQ(Open(&image, pal, nullptr, DIB_PAL_COLORS), DibStatus::Ok);
    EXPECT_EQ(AllRows(image), (Pixels{0xFFFF0000, 0xFF0000FF}));
}

TEST(DibDecoder, RunLengthStreams) {
    auto rle = [](DWORD compression, int bits, int w, int h, std::vector<uint8_t> stream) {
        TestDib dib = IndexedDib(w, h, bits, {}, std::vector<int>(size_t(w) * h, 0));
        dib.Header().biCompression = compression;
        dib.Header().biClrUsed = 0;
        dib.info.resize(40 + 4 * (size_t(1) << bits));
        for (int i = 0; i < (1 << bits); ++i) dib.info[40 + 4 * i] = static_cast<uint8_t>(i);
        dib.bits = std::move(stream);
        return dib;
    };
    auto indexes = [](const DibImage& image) {
        std::vector<int> out;
        for (uint32_t p : AllRows(image)) out.push_back(static_cast<int>(p & 0xFF));
        return out;
    };
    struct Case {
        const char* name;
        DWORD compression;
        int bits;
        std::vector<uint8_t> stream;
        std::vector<int> top_first;  // 4 x 2 pixels
    } cases[] = {
        // Bottom row: run of 3 x 5, absolute 1 pixel (padded); end of line;
        // top row: absolute 3 (7, 8, 9 + pad), end of bitmap.
        {"rle8", BI_RLE8, 8, {3, 5, 0, 0, 0, 3, 7, 8, 9, 0, 0, 1}, {7, 8, 9, 0, 5, 5, 5, 0}},
        // Delta: 2 right, 1 up, then a run of 2.
        {"delta", BI_RLE8, 8, {0, 2, 2, 1, 2, 6, 0, 1}, {0, 0, 6, 6, 0, 0, 0, 0}},
        // A run longer than the row is cut at its edge.
        {"long run", BI_RLE8, 8, {200, 3, 0, 0, 1, 4}, {4, 0, 0, 0, 3, 3, 3, 3}},
        // The stream ends early: what was read stays, the rest is index 0.
        {"cut short", BI_RLE8, 8, {2, 9, 0}, {0, 0, 0, 0, 9, 9, 0, 0}},
        // An absolute run past the end of the data is not read.
        {"absolute past end", BI_RLE8, 8, {1, 2, 0, 5, 1, 1}, {0, 0, 0, 0, 2, 0, 0, 0}},
        // RLE4: a run alternates the two nibbles; absolute 3 nibbles (2 bytes).
        {"rle4", BI_RLE4, 4, {4, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1}, {3, 4, 5, 0, 1, 2, 1, 2}},
        // Deltas past the bitmap end the picture.
        {"delta past top", BI_RLE8, 8, {0, 2, 0, 9, 1, 1}, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        DibImage image;
        const TestDib dib = rle(c.compression, c.bits, 4, 2, c.stream);
        ASSERT_EQ(Open(&image, dib), DibStatus::Ok) << c.name;
        EXPECT_EQ(indexes(image), c.top_first) << c.name;
    }
}

TEST(DibDecoder, BadHeadersAreRefusedByName) {
    struct Case {
        const char* name;
        TestDib dib;
        DibStatus status;
        const char* why;
    };
    std::vector<Case> cases;
    auto base = [] { return DirectDib(2, 2, 24, {0, 0, 0, 0}); };
    {
        TestDib d = base();
        d.Header().biSize = 41;
        cases.push_back({"header larger than given", d, DibStatus::Malformed,
                         "the bitmap header is larger than the bytes given"});
    }
    {
        TestDib d = base();
        d.info.resize(48);
        d.Header().biSize = 48;
        cases.push_back({"size of no header form", d, DibStatus::Malformed,
                         "the bitmap header has a size no header form has"});
    }
    for (WORD bits : {0, 2, 7, 33}) {
        TestDib d = base();
        d.Header().biBitCount = bits;
        cases.push_back({"bit count", d, DibStatus::Malformed,
                         "the bit count and compression of the bitmap do not go together"});
    }
    for (DWORD compression : {DWORD{BI_RLE8}, DWORD{BI_RLE4}, DWORD{BI_BITFIELDS}, DWORD{9}}) {
        TestDib d = base();  // 24 bits fit none of these
        d.Header().biCompression = compression;
        cases.push_back({"compression", d, DibStatus::Malformed,
                         "the bit count and compression of the bitmap do not go together"});
    }
    for (DWORD compression : {DWORD{BI_JPEG}, DWORD{BI_PNG}}) {
        TestDib d = base();
        d.Header().biCompression = compression;
        cases.push_back(
            {"JPEG or PNG", d, DibStatus::Unsupported, "the bitmap is a JPEG or PNG image"});
    }
    {
        TestDib d = base();
        d.bits.pop_back();
        cases.push_back({"bits one byte short", d, DibStatus::Malformed,
                         "the pixel data is shorter than the bitmap's rows"});
    }
    {
        TestDib d = base();
        d.Header().biWidth = INT_MAX;
        d.Header().biHeight = INT_MIN + 1;  // rows x stride beyond 2^64
        d.Header().biBitCount = 32;
        cases.push_back({"overflowing size", d, DibStatus::Malformed,
                         "the pixel data is shorter than the bitmap's rows"});
    }
    for (LONG w : {0, -1}) {
        TestDib d = base();
        d.Header().biWidth = w;
        cases.push_back({"no width", d, DibStatus::Malformed, "the bitmap has no pixels"});
    }
    for (LONG h : {0, INT_MIN}) {
        TestDib d = base();
        d.Header().biHeight = h;
        cases.push_back({"no height", d, DibStatus::Malformed, "the bitmap has no pixels"});
    }
    {
        TestDib d = IndexedDib(2, 1, 8, {0, 1}, {0, 1});
        d.Header().biClrUsed = 3;  // three entries announced, two given
        cases.push_back({"table past the end", d, DibStatus::Malformed,
                         "the colour table runs past the bytes given"});
    }
    {
        TestDib d = IndexedDib(2, -1, 8, {0, 1}, {0, 1});
        d.Header().biCompression = BI_RLE8;
        cases.push_back({"top-down run-length", d, DibStatus::Malformed,
                         "a run-length bitmap cannot be top-down"});
    }
    {
        TestDib d = IndexedDib(1, 1, 8, {0, 1}, {0});
        d.Header().biCompression = BI_RLE8;
        d.Header().biWidth = 8193;
        d.Header().biHeight = 8192;  // 2^26 + 8192 pixels
        cases.push_back({"too large to expand", d, DibStatus::TooLarge,
                         "the run-length bitmap is too large to expand"});
    }
    {
        TestDib d = IndexedDib(1, 1, 16, {}, {0});
        d.Header().biCompression = BI_BITFIELDS;
        d.info.resize(40 + 8);  // two masks of three
        cases.push_back({"masks past the end", d, DibStatus::Malformed,
                         "the colour masks run past the header"});
    }
    for (const Case& c : cases) {
        DibImage image;
        std::string why;
        EXPECT_EQ(Open(&image, c.dib, &why), c.status) << c.name;
        EXPECT_EQ(why, c.why) << c.name;
    }
    DibImage image;
    EXPECT_EQ(image.Open(nullptr, 0, nullptr, 0, DIB_RGB_COLORS), DibStatus::Malformed);
}

// A colour table longer than the bit count allows is read as the whole
// table of that depth: the extra entries are never used.
TEST(DibDecoder, ColourCountAboveTheDepthMeansTheWholeTable) {
    TestDib d = IndexedDib(2, 1, 1, {0xFF0000, 0x0000FF}, {1, 0});
    d.Header().biClrUsed = 1000;
    DibImage image;
    ASSERT_EQ(Open(&image, d), DibStatus::Ok);
    EXPECT_EQ(AllRows(image), (Pixels{0xFF0000FF, 0xFFFF0000}));
}

}  // namespace

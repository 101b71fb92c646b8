// What each colour format makes of source pixels: row bytes, configure-image-
// data bytes, the grey palette, the method commands per compression, every
// source pixel size; and round trips of whole pages through the decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "row_kinds.h"
#include "rtl/rtl_rip.h"
#include "rtl_test_host.h"
#include "support/pcl_row_decoder.h"

namespace {

const uint32_t kWhite = 0x00FFFFFF;

// The body of one embedded band (no header or trailer).
std::vector<std::string> BodyOf(int nColorFormat, int nCompression, int nWidth, TestBand& band) {
    RtlTestHost t;
    CRTLRip rip(t.Host(), nullptr);
    rip.m_nColorFormat = nColorFormat;
    rip.m_nCompression = nCompression;
    rip.m_bEmbedded = 1;
    const RECT rect{0, 0, nWidth, band.bits.nRows};
    EXPECT_EQ(rip.EncodeBand(0, rect, &band.bits), 1);
    return t.channel.chunks;
}

// The decoded rows of one embedded band.
std::vector<pcl::Bytes> RowsOf(int nColorFormat, int nCompression, int nWidth, TestBand& band,
                               size_t nRowBytes) {
    std::string stream;
    for (const auto& chunk : BodyOf(nColorFormat, nCompression, nWidth, band)) stream += chunk;
    pcl::RasterRows decoded = pcl::DecodeRasterRows(stream, nRowBytes);
    EXPECT_EQ(decoded.error, "");
    return decoded.rows;
}

TEST(BandEncoders, MonoPacksLeftmostPixelHighAndOnlyPureWhiteIsWhite) {
    const struct {
        const char* name;
        std::vector<uint32_t> pixels;
        pcl::Bytes row;
    } cases[] = {
        // pixels 8 and 9 white; the six bits beyond the raster are sent white
        {"W=10, first black",
         {0, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite},
         {128, 0}},
        // ink: 0xFFFFFFFF (top byte), 0x00FFFFFE (near white), 0x01FFFFFF, 0
        {"what counts as ink",
         {0xFFFFFFFF, kWhite, 0x00FFFFFE, kWhite, 0x01FFFFFF, kWhite, kWhite, 0},
         {0xA9}},  // 1010 1001
        {"W=3 all ink", {0, 0x123456, 0x00FFFF00}, {0xE0}},
        {"W=9 all white", std::vector<uint32_t>(9, kWhite), {0, 0}},
    };
    for (const auto& c : cases) {
        const int nWidth = static_cast<int>(c.pixels.size());
        auto band = TestBand::From32(c.pixels, nWidth, 1);
        EXPECT_EQ(RowsOf(1, 1, nWidth, band, c.row.size()), std::vector<pcl::Bytes>{c.row})
            << c.name;
    }
}

// Every width from 1 to 70 (whole blocks of 16 pixels and every remainder),
// rows that start off any alignment, pixel values on both sides of white,
// and ink in the stride beyond the width, which must not reach the row.
TEST(BandEncoders, MonoPacksEveryWidthAndEveryValueNearWhite) {
    const uint32_t values[] = {kWhite,     0,          0x00FFFFFE, 0x01FFFFFF,
                               0xFFFFFFFF, 0x00FEFFFF, 0x80FFFFFF, kWhite};
    uint32_t state = 7;
    for (int nWidth = 1; nWidth <= 70; ++nWidth) {
        const int nStride = nWidth + 3, nRows = 2;
        // One pixel of ink before the first row puts rows 4 bytes off any
        // 16-byte boundary.
        std::vector<uint32_t> pixels(1 + static_cast<size_t>(nStride) * nRows, 0);
        std::vector<pcl::Bytes> expected(nRows, pcl::Bytes((nWidth + 7) / 8, 0));
        for (int y = 0; y < nRows; ++y) {
            for (int x = 0; x < nWidth; ++x) {
                state = state * 1664525u + 1013904223u;
                const uint32_t p = values[(state >> 24) % 8];
                pixels[1 + static_cast<size_t>(y) * nStride + x] = p;
                if (p != kWhite) expected[y][x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        auto band = TestBand::From32(pixels, nStride, nRows);
        band.bits.pBits += 4;
        EXPECT_EQ(RowsOf(1, 1, nWidth, band, expected[0].size()), expected) << "W=" << nWidth;
    }
}

TEST(BandEncoders, MethodCommandsPerCompressionAndColourFormat) {
    // Two rows of one pixel 0x123456, the second with a top byte, which no
    // format reads: the rows are equal.
    const std::string rgbRow1 = Bytes({0, 18, 0, 52, 0, 86});
    const std::string greyRow1 = Bytes({0, 52});  // (18 + 52 + 86) / 3 = 52
    const std::string monoRow1 = Bytes({0, 0x80});
    const struct {
        int format;
        int compression;
        std::vector<std::string> body;
    } cases[] = {
        {1, 0, {ESC "*b1M", ESC "*b2W", monoRow1, ESC "*b2W", monoRow1}},
        {1, 2, {ESC "*b1M", ESC "*b2W", monoRow1, ESC "*b2W", monoRow1}},
        // a negative index counts as method 1
        {1, -1, {ESC "*b1M", ESC "*b2W", monoRow1, ESC "*b2W", monoRow1}},
        // one bit: "\e*b3M" without "\e*b0Y"; the second row is its seed: (0, 0x80)
        {1,
         4,
         {ESC "*b3M", ESC "*b1M", ESC "*b2W", monoRow1, ESC "*b3M", ESC "*b2W", Bytes({0, 0x80})}},
        {-256,
         4,
         {ESC "*b3M", ESC "*b0Y", ESC "*b1M", ESC "*b2W", greyRow1, ESC "*b3M", ESC "*b2W",
          Bytes({0, 52})}},
        // RGB, compression 3: the unchanged second row is one command that
        // replaces its last byte (offset 2) with itself
        {24,
         3,
         {ESC "*b3M", ESC "*b0Y", ESC "*b1M", ESC "*b6W", rgbRow1, ESC "*b3M", ESC "*b2W",
          Bytes({2, 86})}},
        {24,
         4,
         {ESC "*b3M", ESC "*b0Y", ESC "*b1M", ESC "*b6W", rgbRow1, ESC "*b3M", ESC "*b2W",
          Bytes({2, 86})}},
        // other colour formats: non-negative to RGB, negative to grey
        {0, 1, {ESC "*b1M", ESC "*b6W", rgbRow1, ESC "*b6W", rgbRow1}},
        {8, 1, {ESC "*b1M", ESC "*b6W", rgbRow1, ESC "*b6W", rgbRow1}},
        {-1, 1, {ESC "*b1M", ESC "*b2W", greyRow1, ESC "*b2W", greyRow1}},
        // compression above 4: no method command and no rows
        {24, 5, {}},
        {-256, 5, {}},
        {1, 5, {}},
    };
    for (const auto& c : cases) {
        auto band = TestBand::From32({0x123456, 0xAB123456}, 1, 2);
        EXPECT_EQ(BodyOf(c.format, c.compression, 1, band), c.body)
            << "format " << c.format << " compression " << c.compression;
    }
}

// The configure-image-data bytes of the header, by the encoder a colour
// format and compression reach.
TEST(BandEncoders, ConfigureImageDataByEncoder) {
    const struct {
        int format;
        int compression;
        std::string cid;
    } cases[] = {
        {1, 1, Bytes({0, 1, 0, 0, 0, 0})},    {1, 3, Bytes({0, 1, 0, 0, 0, 0})},
        {-256, 1, Bytes({0, 1, 8, 8, 8, 8})}, {24, 1, Bytes({0, 3, 3, 8, 8, 8})},
        {1, 5, Bytes({0, 3, 3, 8, 8, 8})},  // one bit with an unknown compression: RGB
    };
    for (const auto& c : cases) {
        RtlTestHost t(1, 1);
        CRTLRip rip(t.Host(), nullptr);
        rip.m_nColorFormat = c.format;
        rip.m_nCompression = c.compression;
        rip.m_bEmbedded = 1;
        auto band = TestBand::From32({kWhite}, 1, 1);
        ASSERT_EQ(rip.EncodeBand(RIP_FIRST_BAND, RECT{0, 0, 1, 1}, &band.bits), 1);
        ASSERT_GT(t.channel.chunks.size(), 7u);
        EXPECT_EQ(t.channel.chunks[6], ESC "*v6W" + c.cid) << c.format << "/" << c.compression;
        // grey: its ramp comes between the two
        EXPECT_EQ(t.channel.chunks[c.format == -256 ? 7 + 256 : 7], ESC "*r1A");
    }
}

// "\e*v6W" gives the raster a new palette of default colours, so the grey
// ramp follows it, on a page of its own (which also pushes the palette) and
// inside a vector plot alike; sent before it, the levels would be drawn in
// the default palette's colours.
TEST(BandEncoders, GreyRampFollowsTheConfigureImageData) {
    std::vector<std::string> ramp;
    for (int i = 0; i < 256; ++i) {
        const std::string n = std::to_string(i);
        ramp.push_back(ESC "*v" + n + "a" + n + "b" + n + "c" + n + "I");
    }
    const std::vector<std::string> rows = {ESC "*b1M", ESC "*b2W", Bytes({0, 255})};
    const auto join = [](std::initializer_list<std::vector<std::string>> parts) {
        std::vector<std::string> all;
        for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    const std::vector<std::string> cid = {ESC "*r1S", ESC "*t300R",
                                          ESC "*v6W" + Bytes({0, 1, 8, 8, 8, 8})};
    const struct {
        int embedded;
        std::vector<std::string> expected;
    } cases[] = {
        {1, join({{ESC "%1A", ESC "v1N", ESC "v1O", ESC "&a0N"},
                  cid,
                  ramp,
                  {ESC "*r1A"},
                  rows,
                  {ESC "*rC", ESC "%0B"}})},
        {0, join({{ESC "%0BTR0;PUPA0,0;", ESC "%1A", ESC "v1N", ESC "v1O", ESC "&a1N", ESC "*p0P"},
                  cid,
                  ramp,
                  {ESC "*r1A"},
                  rows,
                  {ESC "*p0P", ESC "*rC", ESC "%0B", "PG;" ESC "E", ESC "%-12345X @PJL EOJ"}})},
    };
    for (const auto& c : cases) {
        RtlTestHost t(1, 1);
        CRTLRip rip(t.Host(), nullptr);  // grey is the default format
        rip.m_bEmbedded = c.embedded;
        auto band = TestBand::From32({kWhite}, 1, 1);
        ASSERT_EQ(rip.EncodeBand(RIP_FIRST_BAND | RIP_LAST_BAND, RECT{0, 0, 1, 1}, &band.bits), 1);
        EXPECT_EQ(t.channel.chunks, c.expected) << "embedded " << c.embedded;
    }
}

TEST(BandEncoders, EverySourcePixelSize) {
    // Three pixels a row, two rows; rows of the stride 3.
    const std::vector<uint8_t> bytes1 = {0, 5, 0, 255, 0, 7};
    const std::vector<uint8_t> bytes2 = {0, 0, 0, 1, 1, 0, 9, 9, 9, 9, 9, 9};
    // blue, green, red in memory
    const std::vector<uint8_t> bytes3 = {3, 2, 1, 255, 255, 255, 0,  0, 9,
                                         6, 6, 6, 0,   0,   0,   30, 0, 0};
    const std::vector<uint8_t> packed = {0xFF, 0x4F};  // rows at bits 0 and 3 (stride 3)
    const struct {
        const char* name;
        int format;
        int compression;
        int bytesPerPixel;
        std::vector<uint8_t> source;
        size_t rowBytes;
        std::vector<pcl::Bytes> rows;
    } cases[] = {
        // packed bits: the byte holding the row's first pixel, bits past W cleared
        {"mono packed", 1, 1, 0, packed, 1, {{0xE0}, {0xE0}}},
        {"mono 1-byte", 1, 1, 1, bytes1, 1, {{0x40}, {0xA0}}},  // nonzero is ink
        {"mono 2-byte", 1, 3, 2, bytes2, 1, {{0x60}, {0xE0}}},
        {"mono 3-byte", 1, 1, 3, bytes3, 1, {{0}, {0}}},  // white
        {"mono size 5", 1, 1, 5, bytes1, 1, {{0}, {0}}},
        {"mono size -1", 1, 4, -1, bytes1, 1, {{0}, {0}}},
        {"grey 1-byte", -256, 1, 1, bytes1, 3, {{0, 5, 0}, {255, 0, 7}}},
        {"grey 1-byte delta", -256, 3, 1, bytes1, 3, {{0, 5, 0}, {255, 0, 7}}},
        {"grey 2-byte", -256, 1, 2, bytes2, 6, {{0, 0, 0, 1, 1, 0}, {9, 9, 9, 9, 9, 9}}},
        {"grey 2-byte delta", -256, 3, 2, bytes2, 0, {{}, {}}},
        // (1 + 2 + 3) / 3 = 2, 255, (9 + 0 + 0) / 3 = 3; 6; 0; 10
        {"grey 3-byte", -256, 1, 3, bytes3, 3, {{2, 255, 3}, {6, 0, 10}}},
        {"grey 3-byte delta", -256, 3, 3, bytes3, 0, {{}, {}}},
        {"grey packed", -256, 1, 0, packed, 0, {{}, {}}},
        {"grey size 7", -256, 3, 7, bytes1, 0, {{}, {}}},
        {"rgb 1-byte", 24, 1, 1, bytes1, 3, {{0, 5, 0}, {255, 0, 7}}},
        {"rgb 2-byte", 24, 1, 2, bytes2, 6, {{0, 0, 0, 1, 1, 0}, {9, 9, 9, 9, 9, 9}}},
        {"rgb 2-byte delta", 24, 4, 2, bytes2, 0, {{}, {}}},
        {"rgb 3-byte",
         24,
         1,
         3,
         bytes3,
         9,
         {{1, 2, 3, 255, 255, 255, 9, 0, 0}, {6, 6, 6, 0, 0, 0, 0, 0, 30}}},
        {"rgb 3-byte delta", 24, 3, 3, bytes3, 0, {{}, {}}},
        {"rgb packed", 24, 1, 0, packed, 0, {{}, {}}},
        {"rgb size 8", 24, 1, 8, bytes1, 0, {{}, {}}},
    };
    for (const auto& c : cases) {
        auto band = TestBand::FromBytes(c.source, 3, 2, c.bytesPerPixel);
        EXPECT_EQ(RowsOf(c.format, c.compression, 3, band, c.rowBytes), c.rows) << c.name;
    }
}

// Packed one-bit rows lie nStride bits apart: row y starts at bit 20y, so
// its bytes are (20y + 8i) / 8: rows 0, 1, 2 read bytes 0-2, 2-4 and 5-7.
// Every byte differs, so a row read from any other byte shows; the last
// byte of each row keeps its 4 pixels of the 20 and clears the rest.
TEST(BandEncoders, MonoPackedRowsStartAtTheirBit) {
    const std::vector<uint8_t> bits = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    auto band = TestBand::FromBytes(bits, 20, 3, 0);
    const std::vector<pcl::Bytes> rows = {
        {0x11, 0x22, 0x30}, {0x33, 0x44, 0x50}, {0x66, 0x77, 0x80}};
    EXPECT_EQ(RowsOf(1, 1, 20, band, 3), rows);
}

// What the plotter should see for a pixel, computed here independently.
pcl::Bytes ExpectedRow(int format, const std::vector<uint32_t>& pixels, size_t first, int width) {
    pcl::Bytes row;
    if (format == 1) {
        row.assign((static_cast<size_t>(width) + 7) / 8, 0);
        for (int x = 0; x < width; ++x) {
            if (pixels[first + x] != kWhite) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    } else {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[first + x];
            const uint8_t r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
            if (format == 24) {
                row.insert(row.end(), {r, g, b});
            } else {
                row.push_back(static_cast<uint8_t>((r + g + b) / 3));
            }
        }
    }
    return row;
}

TEST(BandEncoders, PagesRoundTripForEveryFormatMethodRowKindAndWidth) {
    constexpr int kRows = 5;  // bands of 2, 2 and 1 rows
    for (int format : {1, -256, 24}) {
        for (int compression : {1, 3}) {
            for (RowKind kind : kAllRowKinds) {
                for (size_t widthBytes : kRoundTripWidths) {
                    const int width = static_cast<int>(widthBytes);
                    // Pixels from rows of the kind: three bytes each, top byte 0,
                    // so that white stretches are pure white.
                    std::vector<uint32_t> pixels;
                    for (int y = 0; y < kRows; ++y) {
                        const auto bytes = MakeRow(kind, 3 * widthBytes, y);
                        for (size_t x = 0; x < widthBytes; ++x) {
                            pixels.push_back(uint32_t{bytes[3 * x]} << 16 |
                                             uint32_t{bytes[3 * x + 1]} << 8 | bytes[3 * x + 2]);
                        }
                    }
                    RtlTestHost t(width, kRows);
                    CRTLRip rip(t.Host(), nullptr);
                    rip.m_nColorFormat = format;
                    rip.m_nCompression = compression;
                    const RECT whole{0, 0, width, kRows};
                    for (int top = 0; top < kRows; top += 2) {
                        const int bottom = std::min(top + 2, kRows);
                        std::vector<uint32_t> slice(pixels.begin() + top * width,
                                                    pixels.begin() + bottom * width);
                        auto band = TestBand::From32(slice, width, bottom - top);
                        const RECT rect{0, top, width, bottom};
                        ASSERT_EQ(rip.OnBand(nullptr, &whole, &rect, &band.bits), 1);
                    }
                    const size_t rowBytes = ExpectedRow(format, pixels, 0, width).size();
                    const auto decoded = pcl::DecodeRasterRows(t.channel.Bytes(), rowBytes);
                    const std::string what = "format " + std::to_string(format) + " method " +
                                             std::to_string(compression) + " " + RowKindName(kind) +
                                             " width " + std::to_string(width);
                    ASSERT_EQ(decoded.error, "") << what;
                    ASSERT_EQ(decoded.rows.size(), size_t{kRows}) << what;
                    for (int y = 0; y < kRows; ++y) {
                        EXPECT_EQ(
                            decoded.rows[y],
                            ExpectedRow(format, pixels, static_cast<size_t>(y) * width, width))
                            << what << " row " << y;
                    }
                    EXPECT_EQ(t.channel.closes, 1) << what;
                }
            }
        }
    }
}

}  // namespace

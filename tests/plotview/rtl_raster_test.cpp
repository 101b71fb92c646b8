#include <gtest/gtest.h>

#include <string>

#include "reader/plot_reader.h"
#include "plotview/plot_bytes.h"

namespace {

using namespace plotbytes;
using plot::Rgb;

TEST(RtlRaster, WhiteRasterPixelsFollowTheTransparencyMode) {
    // A black square, then an all-white raster over it: under "TR1" the
    // square shows through, under "TR0" the raster covers it.
    for (const bool transparent : {true, false}) {
        const std::string raster = std::string(transparent ? "" : "TR0") +
                                   "PUPA10,10" ESC "%1A" ESC "*r8S" ESC "*t300R" ESC "*r1A" ESC
                                   "*b1M" +
                                   Transfer(std::string("\x00\x00", 2)) + ESC "*rC" ESC "%0B";
        const auto r = Render(Header() + "NP256PC1,0,0,0SP1" +
                              Polygon({{0, 0}, {50, 0}, {50, 50}, {0, 50}}) + "FP" + raster + kEnd);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.pages.at(0).At(12, 10), transparent ? kBlack : kWhite);
        EXPECT_EQ(r.pages.at(0).At(12, 11), kBlack);
    }
}

TEST(RtlRaster, ScaledRasterAsTheDriverPlacesBitmaps) {
    // 2 x 2 source pixels shown on 40 x 20 device pixels: 96 and 48
    // decipoints at 300 dpi. Pixel (0,0) and (1,1) are ink.
    const std::string raster = "PUPA50,60" ESC "%1A" ESC "%1A" ESC "v1N" ESC "v1O" ESC "&a0N" ESC
                               "*r2S" ESC "*r2T" ESC "*t96H" ESC "*t48V" ESC "*v6W" +
                               Bytes({0, 1, 0, 0, 0, 0}) + ESC "*r3A" ESC "*b1M" +
                               Transfer(std::string("\x00\x80", 2)) +
                               Transfer(std::string("\x00\x40", 2)) + ESC "*rC" ESC "%0B" ESC "%1B";
    const auto r = Render(Header() + raster + kEnd);
    ASSERT_TRUE(r.ok) << r.error;
    const plot::Image& page = r.pages.at(0);
    EXPECT_EQ(page.At(50, 60), kBlack);
    EXPECT_EQ(page.At(69, 69), kBlack);
    EXPECT_EQ(page.At(70, 60), kWhite);
    EXPECT_EQ(page.At(50, 70), kWhite);
    EXPECT_EQ(page.At(70, 70), kBlack);
    EXPECT_EQ(page.At(89, 79), kBlack);
    EXPECT_EQ(page.At(90, 79), kWhite);
    EXPECT_TRUE(HasWarning(r, "\"\\ev1N\" is not a PCL sequence"));
    EXPECT_TRUE(HasWarning(r, "\"\\ev1O\" is not a PCL sequence"));
    EXPECT_TRUE(HasWarning(r, "0 bits per index"));
}

TEST(RtlRaster, GreyPageOfItsOwnAndThePaletteADeviceKeeps) {
    // The page framing of a raster rendered in the computer: its palette
    // comes before "\e*v6W", which creates a new palette of 256 default
    // colours; before it the palette has two entries, so a device ignores
    // the assignments of indices 2 to 255. Row: indices 0, 85, 170, 255.
    std::string palette;
    for (int i = 0; i < 256; ++i) {
        const std::string n = std::to_string(i);
        palette += ESC "*v" + n + "a" + n + "b" + n + "c" + n + "I";
    }
    const std::string page =
        Header() +
        ESC "%1A" ESC "%0BTR0;PUPA0,0;" ESC "%1A" ESC "v1N" ESC "v1O" ESC "&a1N" ESC "*p0P" +
        palette + ESC "*r4S" ESC "*t300R" ESC "*v6W" + Bytes({0, 1, 8, 8, 8, 8}) +
        ESC "*r1A" ESC "*b1M" + Transfer(std::string("\x00\x00\x00\x55\x00\xAA\x00\xFF", 8)) +
        ESC "*p0P" ESC "*rC" ESC "%0BPG;" ESC "E" ESC "%-12345X @PJL EOJ";
    const auto lenient = Render(page, true);
    ASSERT_TRUE(lenient.ok) << lenient.error;
    ASSERT_EQ(lenient.pages.size(), 1u);
    EXPECT_EQ(lenient.pages[0].At(0, 0), kBlack);
    EXPECT_EQ(lenient.pages[0].At(1, 0), Rgb(85, 85, 85));
    EXPECT_EQ(lenient.pages[0].At(2, 0), Rgb(170, 170, 170));
    EXPECT_EQ(lenient.pages[0].At(3, 0), kWhite);

    const auto device = Render(page);
    ASSERT_TRUE(device.ok) << device.error;
    // Default colours: index bits 0, 1, 2 are red, green, blue, repeating
    // every 8 entries: 85 = 8 * 10 + 5 is magenta, 170 = 8 * 21 + 2 green.
    EXPECT_EQ(device.pages.at(0).At(1, 0), Rgb(255, 0, 255));
    EXPECT_EQ(device.pages.at(0).At(2, 0), Rgb(0, 255, 0));
    EXPECT_TRUE(HasWarning(device, "palette index 2 beyond the palette of 2 entries"));
    EXPECT_TRUE(HasWarning(device, "never assigned"));
    EXPECT_TRUE(HasWarning(device, "palette pushed inside raster graphics"));
}

TEST(RtlRaster, MalformedRastersFailAtTheirOffset) {
    const std::string start = Header() + "PUPA10,10" ESC "%1A";
    const std::string mono = ESC "*r8S" ESC "*r1A";  // one byte a row
    const struct {
        std::string body;
        size_t offset;  // within the body
        std::string message;
    } cases[] = {
        {mono + ESC "*b1M" + Transfer(std::string(1, '\0')), 15, "odd byte count"},
        {mono + ESC "*b1M" + Transfer("\x01\xFF"), 15, "row of 2 bytes in a raster of 1 bytes"},
        // Offset 31 + 0 from the extension byte: past the one-byte row.
        {mono + ESC "*b3M" + Transfer(std::string("\x1F\x00\xFF", 3)), 15, "method-3 row"},
        {ESC "*v3Wabc", 0, "configure image data of 3 bytes"},
        {ESC "*v6W" + Bytes({0, 0, 8, 8, 8, 8}), 0, "more than one plane"},
        {ESC "*v6W" + Bytes({1, 1, 8, 8, 8, 8}), 0, "colour space 1"},
        {ESC "*b9M", 0, "compression method 9"},
        {ESC "*r1A", 0, "without a source raster width"},
        {mono + ESC "*r9S", 10, "configuration inside raster graphics"},
        {ESC "*r8S" ESC "*r1T" ESC "*r1A" ESC "*b1M" + Transfer(std::string(2, '\0')) +
             Transfer(std::string(2, '\0')),
         27, "beyond the raster height 1"},
        {ESC "*p5X", 0, "palette stack or position"},
        {ESC "*b2Y", 0, "vertical move outside raster graphics"},
        {ESC "(s1P", 0, "escape sequence not read"},
        {ESC "Z", 0, "two-character escape"},
        {ESC "%2A", 0, "language switch"},
        {ESC "*p1P", 0, "palette pop with an empty stack"},
        // Rows are placed as they come, so only the row count is bounded:
        // 10^9 rows, reached by moves of at most 999999999 rows each.
        {mono + ESC "*b999999999Y" ESC "*b1Y" ESC "*b1Y", 28,
         "raster of 8 pixels by more than 1000000000 rows is beyond reason"},
        {mono + ESC "*b1000000000Y", 10, "vertical move of 1000000000"},
        // 300 / 9000000 of a device pixel per raster pixel.
        {ESC "*r8S" ESC "*t9000000R" ESC "*r1A" ESC "*b1M" + Transfer(std::string(2, '\0')) +
             ESC "*rC",
         33, "raster pixels of"},
    };
    for (const auto& c : cases) {
        const auto r = Render(start + c.body);
        EXPECT_FALSE(r.ok) << c.message;
        EXPECT_EQ(r.errorOffset, start.size() + c.offset) << c.message << ": " << r.error;
        EXPECT_NE(r.error.find(c.message), std::string::npos) << r.error;
    }
}

TEST(RtlRaster, ImplicitStartIsReported) {
    // Direct colour from the raster writer has no "\e*r1A": the first
    // transfer starts raster graphics where the active position is.
    const auto r = Render(Header() + "PUPA20,30" ESC "%1A" ESC "*r1S" ESC "*t300R" ESC "*v6W" +
                          Bytes({0, 3, 3, 8, 8, 8}) + ESC "*b1M" +
                          Transfer(std::string("\x00\x11\x00\x22\x00\x33", 6)) +
                          ESC "*rC" ESC "%0B" ESC "%1B" + kEnd);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.pages.at(0).At(20, 30), Rgb(0x11, 0x22, 0x33));
    EXPECT_TRUE(HasWarning(r, "started implicitly"));
}

}  // namespace

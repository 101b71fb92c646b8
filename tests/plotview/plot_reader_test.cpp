#include <gtest/gtest.h>

#include <string>

#include "reader/plot_reader.h"
#include "plotview/plot_bytes.h"

namespace {

using namespace plotbytes;
using plot::Rgb;

struct Probe {
    int x, y;
    uint32_t colour;
};

void ExpectPixels(const plot::PlotRendering& r, std::initializer_list<Probe> probes) {
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.pages.size(), 1u);
    const plot::Image& page = r.pages[0];
    for (const Probe& p : probes) {
        EXPECT_EQ(page.At(p.x, p.y), p.colour) << "at (" << p.x << "," << p.y << ")";
    }
}

TEST(PlotReader, PageSizeFollowsPlotSizeAndRotation) {
    // PS4000,2000 with RO90: x runs across the 2000 units, 2000 / 1016 *
    // 300 = 590.6 pixels, y along the 4000: 1181.1; both rounded up.
    auto r = Render(Header() + kEnd);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.pages.empty()) << "nothing drawn, no page";
    r = Render(Header() + Pe().MoveAbsolute(5, 5).Draw(6, 5).Text() + kEnd);
    ASSERT_EQ(r.pages.size(), 1u);
    EXPECT_EQ(r.pages[0].width, 591);
    EXPECT_EQ(r.pages[0].height, 1182);
    EXPECT_DOUBLE_EQ(r.summary.resolution, 300);
    // A plot wider than long (PS2000,4000) has its axes turned a quarter
    // before any RO; with RO180, the driver's choice for it, x runs across
    // the 4000 units, as the host drew it on its landscape page.
    std::string header = Header(2000, 4000);
    header.replace(header.find("RO90"), 4, "RO180");
    r = Render(header + Pe().MoveAbsolute(5, 5).Draw(6, 5).Text() + kEnd);
    ASSERT_EQ(r.pages.size(), 1u);
    EXPECT_EQ(r.pages[0].width, 1182);
    EXPECT_EQ(r.pages[0].height, 591);
}

TEST(PlotReader, TriangleInPolygonModeFilledInItsPenColour) {
    const auto r = Render(Header() + "NP256PC3,0,128,255SP3" +
                          Polygon({{100, 100}, {300, 100}, {100, 300}}) + "FP" + kEnd);
    ExpectPixels(r, {{150, 150, Rgb(0, 128, 255)},
                     {101, 101, Rgb(0, 128, 255)},
                     {250, 140, Rgb(0, 128, 255)},
                     {99, 150, kWhite},
                     {150, 99, kWhite},
                     {250, 250, kWhite}});
    EXPECT_EQ(r.summary.polygons, 1u);
    EXPECT_EQ(r.summary.pensDefined, 1u);
    EXPECT_TRUE(r.warnings.empty()) << r.warnings[0];
}

TEST(PlotReader, PolylineWithPenUpMovesAndAbsolutePairs) {
    // A one-pixel pen: (10,50)-(110,50), a pen-up move to (10,80), then down
    // to (10,180); an absolute pair in the middle of the data continues the
    // line to (60,180).
    const std::string pe = Pe().MoveAbsolute(10, 50)
                               .Draw(110, 50)
                               .Move(10, 80)
                               .Draw(10, 180)
                               .DrawAbsolute(60, 180)
                               .Text();
    const auto r = Render(Header() + "NP256PC1,0,0,0SP1PW0LA1,1" + pe + kEnd);
    ExpectPixels(r, {{60, 50, kBlack},
                     {60, 49, kWhite},
                     {60, 51, kWhite},
                     {10, 130, kBlack},
                     {11, 130, kWhite},
                     {35, 180, kBlack},
                     {60, 65, kWhite},  // on the pen-up move from (110,50) to (10,80)
                     {9, 50, kWhite}});
    EXPECT_EQ(r.summary.polylines, 2u);
    EXPECT_EQ(r.summary.minX, 10);
    EXPECT_EQ(r.summary.maxY, 180);
}

TEST(PlotReader, PenWidthInMillimetresAndLineEnds) {
    // PW1.00 at 300 dpi: 11.8 pixels, so 5.9 on each side of the centre of
    // row 200: rows 195 to 205.
    const std::string line = Pe().MoveAbsolute(100, 200).Draw(300, 200).Text();
    auto r = Render(Header() + "NP256PC1,0,0,0SP1PW1.00LA1,1" + line + kEnd);
    ExpectPixels(r, {{200, 205, kBlack},
                     {200, 195, kBlack},
                     {200, 206, kWhite},
                     {200, 194, kWhite},
                     {97, 200, kWhite}});
    r = Render(Header() + "NP256PC1,0,0,0SP1PW1.00LA1,4" + line + kEnd);
    ExpectPixels(r, {{97, 200, kBlack}, {303, 200, kBlack}});
}

TEST(PlotReader, InputWindowClipsIncludingItsEdges) {
    // The driver's window for the rectangle (50,50)-(150,150) is one unit
    // larger all round; here the window itself is tested: its edges belong
    // to it.
    const std::string fill = Polygon({{0, 0}, {300, 0}, {300, 300}, {0, 300}}) + "FP";
    const auto r = Render(Header() + "NP256PC1,0,0,0SP1IW;IW50,50,150,150" + fill + "IW;" +
                          Polygon({{400, 400}, {410, 400}, {410, 410}}) + "FP" + kEnd);
    ExpectPixels(r, {{50, 50, kBlack},
                     {150, 150, kBlack},
                     {100, 100, kBlack},
                     {49, 100, kWhite},
                     {151, 100, kWhite},
                     {100, 151, kWhite},
                     {100, 49, kWhite},
                     {409, 401, kBlack}});
}

TEST(PlotReader, TransparencyModeAndWhitePens) {
    // Black square, then white squares over it: pure white leaves the paper
    // as it is under "TR1"; 255,255,254 is ink; under "TR0" white covers.
    const std::string square = Polygon({{0, 0}, {100, 0}, {100, 100}, {0, 100}}) + "FP";
    const auto r =
        Render(Header() + "NP256PC1,0,0,0SP1" + square + "PC2,255,255,255SP2" +
               Polygon({{10, 10}, {30, 10}, {30, 30}, {10, 30}}) + "FP" + "PC3,255,255,254SP3" +
               Polygon({{40, 10}, {60, 10}, {60, 30}, {40, 30}}) + "FP" + "TR0SP2" +
               Polygon({{70, 10}, {90, 10}, {90, 30}, {70, 30}}) + "FP" + kEnd);
    ExpectPixels(r, {{20, 20, kBlack}, {50, 20, Rgb(255, 255, 254)}, {80, 20, kWhite}});
}

TEST(PlotReader, MergeControlAndMultipliesColours) {
    // Yellow, then cyan over it with "MC1,160" (destination AND source):
    // green where they overlap.
    const auto r = Render(Header() + "NP256PC1,255,255,0SP1" +
                          Polygon({{0, 0}, {100, 0}, {100, 100}, {0, 100}}) + "FP" +
                          "MC1,160PC2,0,255,255SP2" +
                          Polygon({{50, 0}, {150, 0}, {150, 100}, {50, 100}}) + "FP" + kEnd);
    ExpectPixels(
        r, {{25, 50, Rgb(255, 255, 0)}, {75, 50, Rgb(0, 255, 0)}, {125, 50, Rgb(0, 255, 255)}});
}

TEST(PlotReader, FillRulesAndSubPolygons) {
    // Two squares, the inner one inside the outer, both clockwise, as two
    // sub-polygons (PM1 between them): "FP" leaves the inner one empty,
    // "FP1" fills it; "EP" strokes the edges but not the move between them.
    const std::string buffer =
        Pe().MoveAbsolute(0, 0).Text() + "PM" +
        Pe(0, 0).Draw(200, 0).Draw(200, 200).Draw(0, 200).Draw(0, 0).Text() + "PM1" +
        Pe(0, 0).Move(50, 50).Draw(150, 50).Draw(150, 150).Draw(50, 150).Draw(50, 50).Text() +
        "PM2";
    const std::string pens = "NP256PC1,0,0,0PC2,255,0,0SP1PW0";
    auto r = Render(Header() + pens + buffer + "FP" + kEnd);
    ExpectPixels(r, {{20, 100, kBlack}, {100, 100, kWhite}});
    r = Render(Header() + pens + buffer + "FP1" + kEnd);
    ExpectPixels(r, {{20, 100, kBlack}, {100, 100, kBlack}});
    r = Render(Header() + pens + buffer + "SP2EP" + kEnd);
    ExpectPixels(r, {{100, 0, Rgb(255, 0, 0)},
                     {100, 50, Rgb(255, 0, 0)},
                     {20, 100, kWhite},
                     {25, 25, kWhite}});  // the pen-up move from (0,0) to (50,50)
    EXPECT_EQ(r.summary.edges, 1u);
}

TEST(PlotReader, DrawingStateThatCannotBeReadIsAnError) {
    const std::string h = Header();
    const std::string draw = Pe().MoveAbsolute(1, 1).Draw(5, 5).Text();
    const std::string unscaled = ESC "%0BPS4000,2000";
    const std::string unsized = ESC "%0BIP0,0,1016,-1016SC0,300,0,300;";
    const struct {
        std::string stream;
        size_t offset;
        std::string message;
    } cases[] = {
        {h + "ZZ1;", h.size(), "unknown HP-GL/2 instruction"},
        {h + "NP256SP256", h.size() + 5, "outside the palette of 256 pens"},
        {h + "SP9", h.size(), "outside the palette of 8 pens"},  // no NP256 before
        {h + "LT1", h.size(), "line types other than solid"},
        {h + "MC1,100", h.size(), "raster operation 100"},
        {h + "PM1", h.size(), "outside polygon mode"},
        {h + "PMSP1", h.size() + 2, "inside polygon mode"},
        {h + "PMPM", h.size() + 2, "entered twice"},
        {h + "WU1", h.size(), "relative units"},
        {h + "SC0,1,0,1,1", h.size(), "only anisotropic scaling"},
        {unscaled + draw, unscaled.size(), "before scaling"},
        {unsized + draw, unsized.size(), "without a plot size"},
        {h + ESC "*r4S", h.size(), "escape sequence in HP-GL/2 mode"},
        {h + "PM" ESC "%1A", h.size() + 2, "inside polygon mode"},
    };
    for (const auto& c : cases) {
        const auto r = Render(c.stream);
        EXPECT_FALSE(r.ok) << c.message;
        EXPECT_EQ(r.errorOffset, c.offset) << c.message << ": " << r.error;
        EXPECT_NE(r.error.find(c.message), std::string::npos) << r.error;
        EXPECT_NE(r.error.find("at byte " + std::to_string(c.offset)), std::string::npos);
    }
}

TEST(PlotReader, QuestionableDrawingIsReported) {
    // Pen 0 and a pen never defined draw black, with a warning each; a job
    // that draws without "PG" keeps its page.
    const std::string line = Pe().MoveAbsolute(10, 10).Draw(20, 10).Text();
    const auto r = Render(Header() + "NP256SP0" + line + "SP7" + line + ESC "%-12345X");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.pages.size(), 1u);
    EXPECT_EQ(r.pages[0].At(15, 10), kBlack);
    ASSERT_EQ(r.warnings.size(), 3u);
    EXPECT_NE(r.warnings[0].find("pen 0"), std::string::npos);
    EXPECT_NE(r.warnings[1].find("pen 7 never defined"), std::string::npos);
    EXPECT_NE(r.warnings[2].find("without \"PG\""), std::string::npos);
}

TEST(PlotReader, ScaleReducesThePicture) {
    plot::RenderOptions options;
    options.scale = 4;
    const auto r = plot::RenderPlot(Header() + "NP256PC1,0,0,0SP1" +
                                        Polygon({{100, 100}, {300, 100}, {300, 300}, {100, 300}}) +
                                        "FP" + kEnd,
                                    options);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.pages[0].width, 148);  // 591 / 4, rounded up
    EXPECT_EQ(r.pages[0].At(50, 50), kBlack);
    EXPECT_EQ(r.pages[0].At(24, 50), kWhite);
    // Device pixels 100 to 300; picture pixel i is sampled at device 4i + 2,
    // inside for i = 25 .. 74.
    EXPECT_EQ(plot::ToString(r.summary.ink), "[25,25]-[74,74]");
    EXPECT_NE(r.SummaryLine().find("polygons=1 "), std::string::npos) << r.SummaryLine();
}

}  // namespace

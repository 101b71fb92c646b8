// Only the drawing's own page, its frame, reaches the paper: objects an
// editor left beyond it are cut off, whatever the clip records say.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playback/page_placement.h"
#include "plothost_run.h"
#include "reader/plot_reader.h"
#include "recording_host.h"

namespace {

using Lines = std::vector<std::string>;

// Played as plothost plays a plot: placed, and bounded by the frame.
Lines FramedLog(EmfBuilder& emf) {
    RecordingHost host;
    EmfDocument doc;
    std::string error;
    const std::vector<BYTE> bytes = emf.Bytes();
    EXPECT_TRUE(ParseEnhMetaFile(bytes.data(), bytes.size(), &doc, &error)) << error;
    PlayOptions options;
    Placement placement;
    EXPECT_TRUE(ReadReferenceDevice(doc.header, &options.device, &error)) << error;
    EXPECT_TRUE(PlaceDrawing(doc.header, options.device,
                             PrintableArea{host.width, host.height, double(host.dpi)},
                             ScaleChoice::Auto, 1, &placement, &error))
        << error;
    options.placement = placement.toDevice;
    options.dpi = host.dpi;
    options.frame = placement.frame;
    RunSummary summary;
    EXPECT_TRUE(PlayMetafile(doc, host.Context(), options, &summary, &error)) << error;
    Lines lines;
    for (const std::string& line : host.log)
        if (line.rfind("OnSetClipRegion", 0) == 0 || line.rfind("OnPolyline", 0) == 0)
            lines.push_back(line);
    return lines;
}

TEST(FrameClip, TheFrameBoundsEveryClip) {
    // The builder's device: a tenth of a millimetre a pixel, one plotter
    // pixel at 254 dpi. A frame of 50 x 40 mm from (10, 20) mm: plotter
    // pixels 0..500 and 0..400, edges included.
    const char* kFrame = "OnSetClipRegion box=0,0,501,401 polygons=1";
    const struct {
        const char* what;
        void (*records)(EmfBuilder&);
        Lines expected;
    } cases[] = {
        {"no clip records: the frame",
         [](EmfBuilder& e) {
             e.Poly(EMR_POLYLINE, {{0, 0}, {900, 900}});
         },
         {kFrame, "OnPolyline 2: -100,-200 800,700"}},
        {"a clip inside the frame",
         [](EmfBuilder& e) {
             e.Box(EMR_INTERSECTCLIPRECT, 200, 300, 400, 500)
                 .Poly(EMR_POLYLINE, {{0, 0}, {900, 900}});
         },
         {"OnSetClipRegion box=100,100,300,300 polygons=1", "OnPolyline 2: -100,-200 800,700"}},
        {"a clip reaching beyond the frame",
         [](EmfBuilder& e) {
             e.Box(EMR_INTERSECTCLIPRECT, 400, 400, 900, 900)
                 .Poly(EMR_POLYLINE, {{0, 0}, {900, 900}});
         },
         {"OnSetClipRegion box=300,200,501,401 polygons=1", "OnPolyline 2: -100,-200 800,700"}},
        {"no clip again: back to the frame, told once for two lines",
         [](EmfBuilder& e) {
             e.Box(EMR_INTERSECTCLIPRECT, 200, 300, 400, 500)
                 .Poly(EMR_POLYLINE, {{0, 0}, {900, 900}})
                 .SelectClipRegion(RGN_COPY, {}, false)
                 .Poly(EMR_POLYLINE, {{0, 0}, {900, 900}})
                 .Poly(EMR_POLYLINE, {{900, 0}, {0, 900}});
         },
         {"OnSetClipRegion box=100,100,300,300 polygons=1", "OnPolyline 2: -100,-200 800,700",
          kFrame, "OnPolyline 2: -100,-200 800,700", "OnPolyline 2: 800,-200 -100,700"}},
    };
    for (const auto& c : cases) {
        EmfBuilder emf;
        emf.Frame(1000, 2000, 6000, 6000);
        c.records(emf);
        EXPECT_EQ(FramedLog(emf), c.expected) << c.what;
    }
}

TEST(FrameClip, FrameInPlotterPixelsAtTheDrawingsScale) {
    const struct {
        RECTL frame;  // hundredths of a millimetre
        ScaleChoice choice;
        double scale;
        RECT expected;
    } cases[] = {
        // 50 x 40 mm at 1:1, 254 dpi: a pixel a tenth of a millimetre.
        {{1000, 2000, 6000, 6000}, ScaleChoice::Auto, 1, {0, 0, 501, 401}},
        // 200 x 100 mm on 100 x 100 mm: fitted at 0.5, 1000 x 500 pixels.
        {{0, 0, 20000, 10000}, ScaleChoice::Auto, 1, {0, 0, 1001, 501}},
        // At half size by choice.
        {{0, 0, 5000, 4000}, ScaleChoice::Fixed, 0.5, {0, 0, 251, 201}},
        // No frame and no bounds: nothing to bound by.
        {{0, 0, 0, 0}, ScaleChoice::Auto, 1, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        ENHMETAHEADER header{};
        header.rclFrame = c.frame;
        header.rclBounds = RECTL{0, 0, -1, -1};
        const ReferenceDevice device{1000, 1000, 100, 100};
        Placement placement;
        std::string error;
        ASSERT_TRUE(PlaceDrawing(header, device, PrintableArea{1000, 1000, 254}, c.choice, c.scale,
                                 &placement, &error))
            << error;
        EXPECT_EQ(placement.frame.left, c.expected.left);
        EXPECT_EQ(placement.frame.top, c.expected.top);
        EXPECT_EQ(placement.frame.right, c.expected.right) << c.frame.right;
        EXPECT_EQ(placement.frame.bottom, c.expected.bottom) << c.frame.bottom;
    }
}

TEST(FrameClip, ObjectsBeyondThePageDoNotReachThePaper) {
    // A page of 50 x 50 mm with a black square of 80 x 80 mm on it, as
    // editors store objects that overhang their page. Plotted 1:1 on A4 and
    // read back, the ink ends at the page's edge.
    ScratchDir dir;
    EmfBuilder emf;
    emf.Frame(0, 0, 5000, 5000)
        .CreateBrush(1, BS_SOLID, RGB(0, 0, 0))
        .Select(1)
        .Select(ENHMETA_STOCK_OBJECT | NULL_PEN)
        .Box(EMR_RECTANGLE, 0, 0, 800, 800);
    ASSERT_TRUE(WriteBytes(dir.path() + "/square.emf", emf.Bytes()));
    const PlothostRun run = RunPlothostIn(dir, "plot square.emf -o square.plt");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("50.0 x 50.0 mm on ISO A4 portrait"), std::string::npos)
        << run.errors;
    plot::RenderOptions options;
    options.dpi = 254;  // a pixel a tenth of a millimetre
    const plot::PlotRendering r = plot::RenderPlotFile(dir.path() + "/square.plt", options);
    ASSERT_TRUE(r.ok) << r.error;
    const plot::InkBox& ink = r.summary.ink;
    EXPECT_EQ(ink.left, 0);
    EXPECT_EQ(ink.top, 0);
    // 50 mm: 500 pixels, the edge pixel of the page included.
    EXPECT_NEAR(ink.right, 500, 2);
    EXPECT_NEAR(ink.bottom, 500, 2);
}

}  // namespace

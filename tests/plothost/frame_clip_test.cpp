// Only the drawing's own page, its frame, reaches the paper: objects an
// editor left beyond it are cut off, whatever the clip records say.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playback/page_placement.h"
#include "recording_host.h"

namespace {

// Played as plothost plays a plot: placed, and bounded by the frame.
Lines FramedLog(EmfBuilder& emf) {
    RecordingHost host;
    const PlayRun run = PlayInto(host, emf.Bytes(), /*framed=*/true);
    EXPECT_TRUE(run.ok) << run.error;
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

}  // namespace

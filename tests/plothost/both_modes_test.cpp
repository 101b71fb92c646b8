// One drawing plotted in both transaction modes puts the same ink on paper:
// the vector plot (plothost's plot device, the driver's callbacks, HP-GL/2)
// and the whole page rendered in the computer (the raster GDI, HP RTL),
// both read back by plotview's reader at the plot's resolution.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include "picture/image_compare.h"
#include "plothost_run.h"
#include "reader/plot_reader.h"
#include "support/emf_builder.h"
#include "support/reference_drawings.h"
#include "support/test_files.h"

namespace {

constexpr const char* kVector = "--driver 1";
constexpr const char* kInComputer = "--driver 'DesignJet 750C Raster'";

// A drawing whose header's bounds lie inside its frame while some of its
// shapes reach beyond it, where no viewer shows them: 600 x 450 pixels at
// 300 dpi, bounds claiming the top-left quarter.
std::vector<BYTE> BeyondTheFrame() {
    EmfBuilder emf;
    emf.Device(3000, 3000, 254, 254).Frame(0, 0, 5080, 3810).Bounds(0, 0, 299, 224);
    emf.CreateBrush(1, BS_SOLID, RGB(0, 90, 200)).Select(1);
    emf.Box(EMR_RECTANGLE, 400, 100, 900, 300);  // half of it beyond the right edge
    emf.Box(EMR_RECTANGLE, 100, 350, 300, 700);  // half of it below the bottom edge
    emf.CreatePen(2, PS_SOLID, 5, RGB(200, 0, 0)).Select(2);
    emf.MoveTo(-200, 20).LineTo(800, 20);
    return emf.Bytes();
}

// A thick geometric pen with a user style, as CAD drawings in hundredths
// of a millimetre have it: 203 units (2.03 mm) wide, dashes and gaps of 4
// units, flat caps.
std::vector<BYTE> ThickUserStyle() {
    EmfBuilder emf;
    emf.Device(3000, 3000, 254, 254).Frame(0, 0, 5080, 3810);
    // One logical unit a hundredth of a millimetre.
    const float unit = 300.0f / 2540.0f;
    emf.World(unit, 0, 0, unit, 0, 0);
    emf.ExtCreatePen(1, PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, 203, RGB(0, 0, 0), {4, 4});
    emf.Select(1).MoveTo(500, 500).LineTo(4500, 500);
    emf.MoveTo(500, 1000).LineTo(4500, 3500);
    emf.Poly(EMR_POLYLINE, {{500, 3000}, {1500, 2000}, {2500, 3000}});
    return emf.Bytes();
}

struct Drawing {
    std::string name;
    std::vector<BYTE> bytes;
    int dpi = 300;
};

std::vector<Drawing> Drawings() {
    std::vector<Drawing> drawings;
    for (const char* sample : {"cadplan", "tiger"}) {
        const std::string bytes = ReadWhole(std::string(HPGL2_TEST_DATA_DIR "/") + sample + ".emf");
        drawings.push_back({sample, std::vector<BYTE>(bytes.begin(), bytes.end())});
    }
    for (const ReferenceDrawing& d : ReferenceDrawings()) drawings.push_back({d.name, d.build()});
    drawings.push_back({"beyond_the_frame", BeyondTheFrame()});
    drawings.push_back({"thick_user_style", ThickUserStyle()});
    // Dashes of 0.04 mm show at 600 dpi (at 300 both plots draw the bar solid).
    drawings.push_back({"thick_user_style_600", ThickUserStyle(), 600});
    return drawings;
}

// Both pictures cut to the box of their ink, widened by a margin: the
// comparison looks at nothing else.
std::pair<plot::Image, plot::Image> AroundTheInk(const plot::Image& a, const plot::Image& b) {
    constexpr int kMargin = 8;
    const plot::InkBox ia = plot::FindInkBox(a, 32), ib = plot::FindInkBox(b, 32);
    if (ia.Empty() && ib.Empty()) return {a, b};
    const int left = std::max(
        0, std::min(ia.Empty() ? ib.left : ia.left, ib.Empty() ? ia.left : ib.left) - kMargin);
    const int top =
        std::max(0, std::min(ia.Empty() ? ib.top : ia.top, ib.Empty() ? ia.top : ib.top) - kMargin);
    const int right =
        std::min(std::min(a.width, b.width) - 1, std::max(ia.right, ib.right) + kMargin);
    const int bottom =
        std::min(std::min(a.height, b.height) - 1, std::max(ia.bottom, ib.bottom) + kMargin);
    const auto cut = [&](const plot::Image& image) {
        plot::Image part(right - left + 1, bottom - top + 1);
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) part.At(x - left, y - top) = image.At(x, y);
        return part;
    };
    return {cut(a), cut(b)};
}

TEST(BothModes, DrawingsPutTheSameInkOnPaper) {
    for (const Drawing& d : Drawings()) {
        ScratchDir dir;
        ASSERT_TRUE(WriteBytes(dir.path() + "/drawing.emf", d.bytes)) << d.name;
        const std::string plot = "plot drawing.emf --paper A4 --dpi " + std::to_string(d.dpi) + " ";
        const PlothostRun vector = RunPlothostIn(dir, plot + kVector + " -o vector.plt");
        ASSERT_EQ(vector.status, 0) << d.name << ": " << vector.errors;
        const PlothostRun page = RunPlothostIn(dir, plot + kInComputer + " -o page.plt");
        ASSERT_EQ(page.status, 0) << d.name << ": " << page.errors;
        const plot::PlotRendering v = plot::RenderPlotFile(dir.path() + "/vector.plt");
        const plot::PlotRendering p = plot::RenderPlotFile(dir.path() + "/page.plt");
        ASSERT_TRUE(v.ok) << d.name << ": " << v.error;
        ASSERT_TRUE(p.ok) << d.name << ": " << p.error;
        // With HPGL2_BOTH_MODES_OUT naming a folder, both pictures and the
        // comparison's map go there.
        const char* keep = std::getenv("HPGL2_BOTH_MODES_OUT");
        plot::CompareOptions options;
        options.makeDifference = keep != nullptr;
        const auto [pagePicture, vectorPicture] =
            AroundTheInk(plot::FirstPage(p), plot::FirstPage(v));
        const plot::ImageComparison c = plot::CompareImages(pagePicture, vectorPicture, options);
        ASSERT_TRUE(c.ok) << c.error;
        if (keep) {
            const std::string base = std::string(keep) + "/" + d.name;
            std::string error;
            EXPECT_TRUE(plot::SavePng(vectorPicture, base + "-vector.png", &error)) << error;
            EXPECT_TRUE(plot::SavePng(pagePicture, base + "-page.png", &error)) << error;
            EXPECT_TRUE(plot::SavePng(c.difference, base + "-differences.png", &error)) << error;
        }
        const double f1 = c.coverage + c.precision > 0
                              ? 2 * c.coverage * c.precision / (c.coverage + c.precision)
                              : 0;
        std::printf("%-18s ink F1 %.4f (%s)\n", d.name.c_str(), f1, c.ToString().c_str());
        EXPECT_GE(f1, 0.99) << d.name << ": " << c.ToString();
    }
}

}  // namespace

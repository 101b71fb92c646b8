// Page placement of the drawing's frame, and the curve flattening under it.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "curve_distance.h"
#include "playback/page_placement.h"

namespace {

// A header of an A3 landscape drawing (420 x 297 mm) recorded on a device
// of 10 pixels a millimetre.
ENHMETAHEADER A3Header() {
    ENHMETAHEADER h{};
    h.rclFrame = RECTL{0, 0, 42000, 29700};
    h.szlDevice = SIZEL{4200, 2970};
    h.szlMillimeters = SIZEL{420, 297};
    return h;
}

TEST(PagePlacement, TrueSizeWhenItFitsElseFittedOrAsAsked) {
    ReferenceDevice device;
    std::string error;
    ASSERT_TRUE(ReadReferenceDevice(A3Header(), &device, &error)) << error;
    // 300 dpi: A1 printable 584 x 831 mm holds it; A4 200 x 263 mm does not.
    const PrintableArea a1{6897, 9815, 300};
    const PrintableArea a4{2362, 3106, 300};
    struct Case {
        const char* name;
        PrintableArea area;
        ScaleChoice choice;
        double fixed;
        double scale;
        bool fits;
    } cases[] = {
        {"fits: 1:1", a1, ScaleChoice::Auto, 1, 1, true},
        // min(200.0 / 420, 263.0 / 297): the width decides.
        {"too large: fitted", a4, ScaleChoice::Auto, 1, 2362 * 25.4 / 300 / 420, true},
        {"--fit enlarges", a1, ScaleChoice::Fit, 1, 6897 * 25.4 / 300 / 420, true},
        {"--scale 2 overhangs", a1, ScaleChoice::Fixed, 2, 2, false},
    };
    for (const Case& c : cases) {
        Placement p;
        ASSERT_TRUE(PlaceDrawing(A3Header(), device, c.area, c.choice, c.fixed, &p, &error))
            << c.name;
        EXPECT_NEAR(p.scale, c.scale, 1e-9) << c.name;
        EXPECT_EQ(p.fits, c.fits) << c.name;
        // The frame's far corner: 4200 reference pixels of 0.1 mm.
        const DPoint corner = Apply(p.toDevice, {4200, 2970});
        EXPECT_NEAR(corner.x, 420 * c.scale * 300 / 25.4, 1e-6) << c.name;
        EXPECT_NEAR(corner.y, 297 * c.scale * 300 / 25.4, 1e-6) << c.name;
    }
}

TEST(PagePlacement, BadHeadersAndAreasAreRefused) {
    ENHMETAHEADER h = A3Header();
    h.szlMillimeters = SIZEL{0, 297};
    ReferenceDevice device;
    std::string error;
    EXPECT_FALSE(ReadReferenceDevice(h, &device, &error));
    EXPECT_NE(error.find("reference device"), std::string::npos);
    ASSERT_TRUE(ReadReferenceDevice(A3Header(), &device, &error));
    Placement p;
    EXPECT_FALSE(PlaceDrawing(A3Header(), device, PrintableArea{0, 100, 300}, ScaleChoice::Auto, 1,
                              &p, &error));
    EXPECT_FALSE(PlaceDrawing(A3Header(), device, PrintableArea{100, 100, 300}, ScaleChoice::Fixed,
                              -1, &p, &error));
    // Micrometres, when the header has them, are finer than millimetres.
    h = A3Header();
    h.szlMillimeters = SIZEL{421, 297};
    h.szlMicrometers = SIZEL{420000, 297000};
    ASSERT_TRUE(ReadReferenceDevice(h, &device, &error));
    EXPECT_DOUBLE_EQ(device.millimetresX, 420);
}

TEST(CurveFlattening, CubicStaysWithinTheTolerance) {
    const DPoint p0{0, 0}, c1{0, 300}, c2{300, 300}, p3{300, 0};
    for (double tolerance : {0.25, 1.0, 4.0}) {
        std::vector<DPoint> out{p0};
        FlattenCubic(p0, c1, c2, p3, tolerance, &out);
        ASSERT_GT(out.size(), 1u);
        EXPECT_EQ(out.back().x, 300);
        EXPECT_LE(FarthestFrom(out, Cubic(p0, c1, c2, p3)), tolerance) << tolerance;
    }
    // A straight "curve" is one piece.
    std::vector<DPoint> straight;
    FlattenCubic({0, 0}, {1, 0}, {2, 0}, {3, 0}, 0.25, &straight);
    EXPECT_EQ(straight.size(), 1u);
}

TEST(CurveFlattening, ArcSweepsAndPieceCounts) {
    constexpr double pi = std::numbers::pi;
    EXPECT_NEAR(ArcSweep(0, pi / 2, false), pi / 2, 1e-12);
    EXPECT_NEAR(ArcSweep(0, pi / 2, true), -3 * pi / 2, 1e-12);
    EXPECT_NEAR(ArcSweep(1, 1, false), 2 * pi, 1e-12);  // equal ends: whole turn
    EXPECT_NEAR(ArcSweep(1, 1, true), -2 * pi, 1e-12);
    // A circle of radius 100 pixels: pieces of at most 2 acos(1 - 0.25/100)
    // = 0.1415 radians keep the sagitta within a quarter pixel: 45 for a
    // whole turn.
    EllipseArc circle{{0, 0}, 100, 100, 0, 2 * pi};
    std::vector<DPoint> points;
    FlattenArc(circle, Affine{}, 0.25, true, &points);
    EXPECT_EQ(points.size(), 46u);
    for (const DPoint& p : points) EXPECT_NEAR(std::hypot(p.x, p.y), 100, 1e-9);
    // Under a transform that doubles x, the long radius (200) counts: 64.
    points.clear();
    FlattenArc(circle, Affine{2, 0, 0, 1, 0, 0}, 0.25, true, &points);
    EXPECT_EQ(points.size(), 64u);
}

}  // namespace

// The page handed to a whole-page plotter: the drawing's metafile with the
// printable area as its frame, cut to the drawing's own frame only where
// the drawing reaches beyond it.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "playback/page_metafile.h"
#include "support/emf_builder.h"
#include "win32/gdi32/emf/emf_reader.h"
#include "win32/gdi32/metafile/gdi_state.h"

namespace {

// The page is always cut at the drawing's frame, also when the header's
// bounds claim the drawing lies inside it: its shapes may reach beyond.
TEST(PageMetafile, FrameWidensToThePageAndAlwaysClips) {
    struct Case {
        const char* what;
        LONG right, bottom;              // the far corner of a rectangle the drawing fills
        LONG boundsRight, boundsBottom;  // what the header says of it
    };
    const Case cases[] = {
        {"inside its frame", 900, 900, 900, 900},
        {"reaching past the right edge", 1200, 900, 1200, 900},
        {"reaching below the bottom edge", 900, 1500, 900, 1500},
        {"beyond the frame, bounds inside", 1200, 1500, 900, 900},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;  // frame: 100 x 100 mm, 1000 x 1000 reference pixels
        emf.CreateBrush(1, BS_SOLID, RGB(255, 0, 0)).Select(1);
        emf.Box(EMR_RECTANGLE, 100, 100, c.right, c.bottom);
        // The header's bounds are reference pixels, edges included.
        emf.Bounds(100, 100, c.boundsRight, c.boundsBottom);
        const std::vector<BYTE> bytes = emf.Bytes();
        EmfDocument doc;
        std::string error;
        ASSERT_TRUE(ParseEnhMetaFile(bytes.data(), bytes.size(), &doc, &error)) << error;
        ReferenceDevice device;
        ASSERT_TRUE(ReadReferenceDevice(doc.header, &device, &error)) << error;
        // A printable area of 2000 x 3000 pixels at 254 dpi (0.1 mm a pixel),
        // the drawing at 1:1 in its top left corner.
        const PrintableArea area{2000, 3000, 254};
        Placement placement;
        ASSERT_TRUE(
            PlaceDrawing(doc.header, device, area, ScaleChoice::Auto, 1, &placement, &error))
            << error;
        std::vector<BYTE> page;
        ASSERT_TRUE(BuildPageMetafile(doc, device, placement, area, &page, &error)) << error;

        EmfDocument built;
        ASSERT_TRUE(ParseEnhMetaFile(page.data(), page.size(), &built, &error))
            << c.what << ": " << error;
        // 2000 x 3000 pixels of 0.1 mm: 200 x 300 mm from the frame's corner.
        EXPECT_EQ(built.header.rclFrame.left, 0) << c.what;
        EXPECT_EQ(built.header.rclFrame.top, 0) << c.what;
        EXPECT_EQ(built.header.rclFrame.right, 20000) << c.what;
        EXPECT_EQ(built.header.rclFrame.bottom, 30000) << c.what;
        EXPECT_EQ(built.header.nBytes, page.size()) << c.what;
        EXPECT_EQ(built.header.nRecords, built.records.size()) << c.what;
        EXPECT_EQ(built.records.size(), doc.records.size() + 2) << c.what;
        const EmfRecordView second = built.records[1];
        ASSERT_EQ(second.type, static_cast<DWORD>(EMR_INTERSECTCLIPRECT)) << c.what;
        RECTL clip;
        std::memcpy(&clip, page.data() + second.offset + 8, sizeof clip);
        // The frame's 1000 pixels and its edge: plotter pixel 1000 is
        // reference pixel 1000 here.
        EXPECT_EQ(clip.left, 0) << c.what;
        EXPECT_EQ(clip.top, 0) << c.what;
        EXPECT_EQ(clip.right, 1001) << c.what;
        EXPECT_EQ(clip.bottom, 1001) << c.what;
        EXPECT_EQ(built.records[2].type, static_cast<DWORD>(EMR_SETMETARGN)) << c.what;
    }
}

// The page in the drawing's units must fit the 32-bit coordinates of a
// metafile's records: a reference device of 2^31 pixels, or a scale that
// makes the page billions of the drawing's units wide, is refused by the
// placement both plot modes share, and by the page builder itself.
TEST(PageMetafile, APageBeyondThirtyTwoBitCoordinatesIsRefused) {
    struct Case {
        const char* what;
        LONG devicePixels;  // of 100 mm
        ScaleChoice choice;
        double scale;
        bool placed;
    };
    // The area is 2000 x 3000 pixels of 0.1 mm. At scale s it spans 30000 / s
    // hundredths of a millimetre of the drawing down: 2.0e9 at 1.5e-5 fits
    // in 2^31 - 1, 2.3e9 at 1.3e-5 does not.
    const Case cases[] = {
        {"a reference device of 0x7ffffffe pixels", 0x7ffffffe, ScaleChoice::Auto, 1, false},
        {"scale 1e-6", 1000, ScaleChoice::Fixed, 1e-6, false},
        {"scale 1.3e-5", 1000, ScaleChoice::Fixed, 1.3e-5, false},
        {"scale 1.5e-5", 1000, ScaleChoice::Fixed, 1.5e-5, true},
        // The drawing's frame far beyond any page stays a clip of the page.
        {"scale 1e12", 1000, ScaleChoice::Fixed, 1e12, true},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        emf.Device(c.devicePixels, c.devicePixels, 100, 100);
        emf.MoveTo(0, 0).LineTo(900, 900);
        const std::vector<BYTE> bytes = emf.Bytes();
        EmfDocument doc;
        std::string error;
        ASSERT_TRUE(ParseEnhMetaFile(bytes.data(), bytes.size(), &doc, &error)) << error;
        ReferenceDevice device;
        ASSERT_TRUE(ReadReferenceDevice(doc.header, &device, &error)) << error;
        const PrintableArea area{2000, 3000, 254};
        Placement placement;
        const bool placed =
            PlaceDrawing(doc.header, device, area, c.choice, c.scale, &placement, &error);
        EXPECT_EQ(placed, c.placed) << c.what << ": " << error;
        if (!placed) {
            EXPECT_NE(error.find("32-bit coordinates"), std::string::npos)
                << c.what << ": " << error;
            continue;
        }
        EXPECT_GT(placement.frame.right, 0) << c.what;
        EXPECT_GT(placement.frame.bottom, 0) << c.what;
        std::vector<BYTE> page;
        if (BuildPageMetafile(doc, device, placement, area, &page, &error)) {
            EmfDocument built;
            EXPECT_TRUE(ParseEnhMetaFile(page.data(), page.size(), &built, &error))
                << c.what << ": " << error;
        }
    }
}

TEST(PageMetafile, ThePageBuilderChecksThirtyTwoBitLimitsItself) {
    // A hundredth of a millimetre a reference pixel: frame and bounds share
    // their units.
    EmfBuilder emf;
    emf.Device(10000, 10000, 100, 100);
    emf.MoveTo(0, 0).LineTo(900, 900);
    const std::vector<BYTE> bytes = emf.Bytes();
    EmfDocument doc;
    std::string error;
    ASSERT_TRUE(ParseEnhMetaFile(bytes.data(), bytes.size(), &doc, &error)) << error;
    ReferenceDevice device;
    ASSERT_TRUE(ReadReferenceDevice(doc.header, &device, &error)) << error;
    const PrintableArea area{2000, 3000, 254};
    struct Case {
        const char* what;
        double dx;   // the page's left edge is at -dx reference pixels
        double m11;  // plotter pixels a reference pixel
        LONG left;   // the frame's left and right edges when built
        LONG right;
    } cases[] = {
        {"left edge at the lower limit", 2147483648.0, 1, INT_MIN, INT_MIN + 2000},
        {"left edge past the lower limit", 2147483649.0, 1, 0, 0},
        {"right edge at the upper limit", -(2147483647.0 - 2000), 1, INT_MAX - 2000, INT_MAX},
        {"right edge past the upper limit", -(2147483648.0 - 2000), 1, 0, 0},
        // 2000 plotter pixels are 2e9 reference pixels, then 4e9.
        {"a page of 2e9 reference pixels", 0, 1e-6, 0, 2000000000},
        {"a page of 4e9 reference pixels", 0, 0.5e-6, 0, 0},
    };
    for (const Case& c : cases) {
        Placement placement;
        placement.toDevice = Affine{c.m11, 0, 0, 1, c.dx, 0};
        std::vector<BYTE> page;
        const bool built = BuildPageMetafile(doc, device, placement, area, &page, &error);
        EXPECT_EQ(built, c.left != c.right) << c.what << ": " << error;
        if (!built) {
            EXPECT_NE(error.find("32-bit coordinates"), std::string::npos)
                << c.what << ": " << error;
            continue;
        }
        EmfDocument parsed;
        ASSERT_TRUE(ParseEnhMetaFile(page.data(), page.size(), &parsed, &error)) << c.what;
        EXPECT_EQ(parsed.header.rclFrame.left, c.left) << c.what;
        EXPECT_EQ(parsed.header.rclFrame.right, c.right) << c.what;
        // The bounds include their right edge.
        EXPECT_EQ(parsed.header.rclBounds.right, c.right - 1) << c.what;
    }
}

}  // namespace

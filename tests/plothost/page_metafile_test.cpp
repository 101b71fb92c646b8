// The page handed to a whole-page plotter: the drawing's metafile with the
// printable area as its frame, cut to the drawing's own frame only where
// the drawing reaches beyond it.
#include <gtest/gtest.h>

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

}  // namespace

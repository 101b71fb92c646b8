// The metafile a gradient fill travels in to the driver's metafile region
// entry: exact records, and a placement that leaves plotter pixels as they
// are when the metafile is played onto its own frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <windows.h>

#include "gdi/gradient_metafile.h"
#include "win32/gdi32/emf/emf.h"
#include "win32/gdi32/metafile/metafile_player.h"

namespace {

std::vector<std::string> RecordNames(const EmfDocument& doc) {
    std::vector<std::string> names;
    for (const EmfRecordView& r : doc.records) names.push_back(EmfRecordTypeName(r.type));
    return names;
}

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// A vertex as "x,y red green blue alpha", the colours in hexadecimal.
std::string Text(const TRIVERTEX& v) {
    char text[64];
    std::snprintf(text, sizeof text, "%d,%d %04X %04X %04X %04X", int(v.x), int(v.y), v.Red,
                  v.Green, v.Blue, v.Alpha);
    return text;
}

const GradientVertex kVertices[] = {
    {{10.4, 20.6}, 0xFF00, 0x8000, 0x0000},
    {{99.5, 50.2}, 0x0000, 0x1200, 0xFFFF},
};
const GRADIENT_RECT kRects[] = {{1, 0}};

TEST(GradientMetafile, HoldsTheClipPathThenTheGradientInPlotterPixels) {
    const GradientMesh mesh{kVertices, kRects, {}, GRADIENT_FILL_RECT_V};
    CKestRgn clip;
    clip.CreateRectRgn(0, 0, 60, 40);
    const RECT frame{10, 21, 60, 40};
    const std::vector<BYTE> bytes = GradientMetafile(mesh, clip.GetClipRgnRef(), frame);
    EmfDocument doc;
    std::string error;
    ASSERT_TRUE(ParseEnhMetaFile(bytes.data(), bytes.size(), &doc, &error)) << error;
    EXPECT_EQ(RecordNames(doc),
              (std::vector<std::string>{"EMR_HEADER", "EMR_BEGINPATH", "EMR_POLYGON", "EMR_ENDPATH",
                                        "EMR_SELECTCLIPPATH", "EMR_GRADIENTFILL", "EMR_EOF"}));
    EXPECT_EQ(doc.header.nRecords, 7u);
    EXPECT_EQ(doc.header.nBytes, bytes.size());
    EXPECT_EQ(doc.header.rclFrame.left, 10);
    EXPECT_EQ(doc.header.rclFrame.bottom, 40);

    // The clip region's polygon, corner for corner.
    EmfPolyline polygon;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[2], &polygon, &error)) << error;
    const HT_ClipRgn* region = clip.GetClipRgnRef();
    ASSERT_EQ(polygon.points.size(), static_cast<size_t>(region->nCount));
    for (size_t i = 0; i < polygon.points.size(); ++i) {
        EXPECT_EQ(polygon.points[i].x, region->pPoints[i].x) << i;
        EXPECT_EQ(polygon.points[i].y, region->pPoints[i].y) << i;
    }
    const auto* select = EmfFixedRecord<EMRSELECTCLIPPATH>(doc, doc.records[4], &error);
    ASSERT_NE(select, nullptr) << error;
    EXPECT_EQ(select->iMode, DWORD{RGN_COPY});

    // Vertices rounded to whole pixels, colours and mesh as given.
    EmfGradientFill gradient;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[5], &gradient, &error)) << error;
    EXPECT_EQ(gradient.record->ulMode, GRADIENT_FILL_RECT_V);
    ASSERT_EQ(gradient.vertices.size(), 2u);
    EXPECT_EQ(Text(gradient.vertices[0]), "10,21 FF00 8000 0000 0000");
    EXPECT_EQ(Text(gradient.vertices[1]), "100,50 0000 1200 FFFF 0000");
    ASSERT_EQ(gradient.rects.size(), 1u);
    EXPECT_EQ(gradient.rects[0].UpperLeft, 1u);
    EXPECT_EQ(gradient.rects[0].LowerRight, 0u);

    // Played onto its frame, one logical unit is one pixel where it was.
    MetafilePlacement placement;
    ASSERT_TRUE(PlacementOnto(doc.header, DPoint{10, 21}, DPoint{60, 40}, &placement, &error))
        << error;
    const Affine& t = placement.placement;
    EXPECT_EQ((std::vector<double>{t.m11, t.m12, t.m21, t.m22, t.dx, t.dy}),
              (std::vector<double>{1, 0, 0, 1, 0, 0}));
}

TEST(GradientMetafile, WithoutAClipHoldsTheGradientAlone) {
    const GRADIENT_TRIANGLE triangle[] = {{0, 1, 0}};
    const GradientMesh mesh{kVertices, {}, triangle, GRADIENT_FILL_TRIANGLE};
    const std::vector<BYTE> bytes = GradientMetafile(mesh, nullptr, RECT{0, 0, 100, 100});
    EmfDocument doc;
    std::string error;
    ASSERT_TRUE(ParseEnhMetaFile(bytes.data(), bytes.size(), &doc, &error)) << error;
    EXPECT_EQ(RecordNames(doc),
              (std::vector<std::string>{"EMR_HEADER", "EMR_GRADIENTFILL", "EMR_EOF"}));
    EmfGradientFill gradient;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[1], &gradient, &error)) << error;
    ASSERT_EQ(gradient.triangles.size(), 1u);
    EXPECT_EQ(gradient.triangles[0].Vertex2, 1u);
    EXPECT_TRUE(gradient.rects.empty());
}

TEST(GradientMetafile, BoundsAreTheVerticesRounded) {
    EXPECT_EQ(GradientBounds(GradientMesh{}).right, 0);
    EXPECT_EQ(Text(GradientBounds(GradientMesh{kVertices, kRects, {}, GRADIENT_FILL_RECT_H})),
              "10,21,100,50");
    // Far and unreadable coordinates stay inside what a LONG holds.
    const GradientVertex far[] = {{{-1e300, 0}}, {{1e300, std::nan("")}}};
    EXPECT_EQ(Text(GradientBounds(GradientMesh{far, kRects, {}, GRADIENT_FILL_RECT_H})),
              "-100000000,0,100000000,0");
}

}  // namespace

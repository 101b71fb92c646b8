// EMR_GRADIENTFILL: the reader refuses records whose counts or indexes do
// not fit, and the raster GDI shades rectangles and triangles between their
// corners' colours, inside the clip.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <windows.h>
#include "support/dib_builder.h"
#include "support/dib_canvas.h"
#include "support/platform_pictures.h"
#include "support/emf_builder.h"

namespace {

using Words = std::vector<DWORD>;

struct Vertex {
    LONG x, y;
    BYTE r, g, b;
};

// The payload of an EMR_GRADIENTFILL after its EMR: rclBounds, nVer, nTri,
// ulMode, the vertices (colours in the high byte), then the mesh indexes.
Words GradientPayload(ULONG mode, const std::vector<Vertex>& vertices, DWORD elements,
                      const Words& indexes) {
    Words words{0, 0, 1000, 1000, static_cast<DWORD>(vertices.size()), elements, mode};
    for (const Vertex& v : vertices) {
        words.push_back(static_cast<DWORD>(v.x));
        words.push_back(static_cast<DWORD>(v.y));
        words.push_back(DWORD{v.r} << 8 | DWORD{v.g} << 24);
        words.push_back(DWORD{v.b} << 8);
    }
    words.insert(words.end(), indexes.begin(), indexes.end());
    return words;
}

using Canvas = DibCanvas;

constexpr uint32_t kWhite = 0xFFFFFF;

TEST(GradientFill, RasterShadesBetweenTheCornersInsideTheClip) {
    // The builder's reference device is 1000 x 1000 pixels on its frame: on
    // a 100 x 100 section ten logical units are one pixel.
    const std::vector<Vertex> redToBlue{{100, 200, 255, 0, 0}, {900, 800, 0, 0, 255}};
    const Words oneRect{0, 1};
    struct Case {
        const char* name;
        ULONG mode;
        std::vector<Vertex> vertices;
        DWORD elements;
        Words indexes;
        std::vector<PixelProbe> probes;
        void (*prepare)(EmfBuilder&) = nullptr;  // before the gradient
    };
    const Case cases[] = {
        {"across",
         GRADIENT_FILL_RECT_H,
         redToBlue,
         1,
         oneRect,
         {{10, 20, 0xFD0002},
          {10, 79, 0xFD0002},
          {89, 50, 0x0200FD},
          {50, 50, 0x7F007F},
          {30, 30, 0xBF003F},
          // The right and bottom edges stay out, as in GDI's rectangles.
          {90, 50, kWhite},
          {50, 80, kWhite},
          {9, 50, kWhite},
          {50, 19, kWhite}}},
        {"down",
         GRADIENT_FILL_RECT_V,
         {{100, 200, 0, 255, 0}, {900, 800, 0, 0, 0}},
         1,
         oneRect,
         {{10, 20, 0x00FC00},
          {89, 20, 0x00FC00},
          {50, 79, 0x000200},
          {50, 50, 0x007F00},
          {50, 80, kWhite}}},
        {"corners given the other way round",
         GRADIENT_FILL_RECT_H,
         {{900, 800, 0, 0, 255}, {100, 200, 255, 0, 0}},
         1,
         oneRect,
         {{10, 50, 0xFD0002}, {89, 50, 0x0200FD}, {50, 50, 0x7F007F}, {90, 50, kWhite}}},
        {"triangle",
         GRADIENT_FILL_TRIANGLE,
         {{0, 0, 255, 0, 0}, {1000, 0, 0, 255, 0}, {0, 1000, 0, 0, 255}},
         1,
         {0, 1, 2},
         {{0, 0, 0xFF0000},
          {98, 0, 0x05FA00},
          {0, 98, 0x0500FA},
          {49, 0, 0x818000},
          {33, 33, 0x555555},
          // Beyond the long side.
          {60, 60, kWhite},
          {99, 99, kWhite}}},
        {"two triangles sharing a side make a square",
         GRADIENT_FILL_TRIANGLE,
         {{0, 0, 0, 0, 0}, {1000, 0, 0, 0, 0}, {0, 1000, 0, 0, 0}, {1000, 1000, 255, 255, 255}},
         2,
         {0, 1, 2, 1, 3, 2},
         {{0, 0, 0x000000}, {98, 1, 0x030303}, {75, 75, 0x828282}, {98, 98, 0xF7F7F7}}},
        // The section sees the middle of the triangle: a quarter red, a
        // quarter green, half blue.
        {"triangle far larger than the section",
         GRADIENT_FILL_TRIANGLE,
         {{-300000, -300000, 255, 0, 0}, {300000, -300000, 0, 255, 0}, {0, 300000, 0, 0, 255}},
         1,
         {0, 1, 2},
         {{50, 50, 0x3F4080}, {0, 0, 0x404080}, {99, 99, 0x3F4080}}},
        {"vertices near the ends of the coordinate range",
         GRADIENT_FILL_TRIANGLE,
         {{-2000000000, -2000000000, 255, 0, 0},
          {2000000000, -2000000000, 0, 255, 0},
          {0, 2000000000, 0, 0, 255}},
         1,
         {0, 1, 2},
         {{50, 50, 0x3F4080}}},
        {"rectangle far wider than the section",
         GRADIENT_FILL_RECT_H,
         {{-2000000000, 0, 255, 0, 0}, {2000000000, 1000, 0, 0, 255}},
         1,
         oneRect,
         {{0, 0, 0x7F007F}, {99, 99, 0x7F007F}}},
        {"clipped to a rectangle",
         GRADIENT_FILL_RECT_H,
         redToBlue,
         1,
         oneRect,
         {{29, 50, kWhite},
          {30, 50, 0xBF003F},
          {50, 50, 0x7F007F},
          {69, 50, 0x3F00BF},
          {70, 50, kWhite}},
         [](EmfBuilder& e) { e.Box(EMR_INTERSECTCLIPRECT, 300, 0, 700, 1000); }},
        {"clipped to a triangular path",
         GRADIENT_FILL_RECT_H,
         redToBlue,
         1,
         oneRect,
         {{20, 30, 0xDF001F}, {60, 30, 0x5F009F}, {60, 50, kWhite}, {80, 70, kWhite}},
         [](EmfBuilder& e) {
             e.Record(EMR_BEGINPATH, {}).Poly(EMR_POLYGON, {{0, 0}, {1000, 0}, {0, 1000}});
             e.Record(EMR_ENDPATH, {}).Mode(EMR_SELECTCLIPPATH, RGN_COPY);
         }},
        {"placed through the world transform",
         GRADIENT_FILL_RECT_H,
         {{0, 0, 255, 0, 0}, {1000, 1000, 0, 0, 255}},
         1,
         oneRect,
         {{49, 10, kWhite},
          {50, 10, 0xFD0002},
          {99, 10, 0x0200FD},
          {75, 49, 0x7F007F},
          {75, 50, kWhite}},
         [](EmfBuilder& e) { e.World(0.5f, 0, 0, 0.5f, 500, 0); }},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        if (c.prepare) c.prepare(emf);
        emf.Record(EMR_GRADIENTFILL, GradientPayload(c.mode, c.vertices, c.elements, c.indexes));
        Canvas canvas(100, 100);
        EXPECT_TRUE(canvas.Play(emf.Bytes())) << c.name;
        ExpectPixels(canvas, c.probes, c.name, 8);
    }
}

// A whole file around one record, parsed as the reader parses it.
bool ParseGradient(const Words& payload, std::string* error) {
    EmfBuilder emf;
    emf.Record(EMR_GRADIENTFILL, payload);
    const std::vector<BYTE> bytes = emf.Bytes();
    EmfDocument doc;
    return ParseEnhMetaFile(bytes.data(), bytes.size(), &doc, error);
}

TEST(GradientFill, RecordsWhoseMeshDoesNotFitAreRefused) {
    const std::vector<Vertex> two{{0, 0, 0, 0, 0}, {10, 10, 255, 255, 255}};
    const std::vector<Vertex> three{{0, 0, 0, 0, 0}, {10, 0, 0, 0, 0}, {0, 10, 0, 0, 0}};
    // The builder's header is 108 bytes: the gradient is record 1.
    struct Case {
        const char* name;
        Words payload;
        const char* expected;  // nullptr: accepted
    };
    Words shortFixed{0, 0, 10, 10, 2, 1};
    Words vertexOverflow = GradientPayload(GRADIENT_FILL_RECT_H, two, 1, {0, 1});
    vertexOverflow[4] = 0x10000000;  // 0x10000000 * 16 wraps 32 bits, not 64
    Words cutShort = GradientPayload(GRADIENT_FILL_RECT_H, two, 1, {0, 1});
    cutShort.pop_back();
    Words meshOverflow = GradientPayload(GRADIENT_FILL_TRIANGLE, three, 1, {0, 1, 2});
    meshOverflow[5] = 0xFFFFFFFF;
    const Case cases[] = {
        {"sound rectangle", GradientPayload(GRADIENT_FILL_RECT_H, two, 1, {0, 1}), nullptr},
        {"sound triangle", GradientPayload(GRADIENT_FILL_TRIANGLE, three, 1, {2, 1, 0}), nullptr},
        {"no elements", GradientPayload(GRADIENT_FILL_RECT_V, two, 0, {}), nullptr},
        {"fixed part short", shortFixed,
         "record 1 (EMR_GRADIENTFILL): size 32 is smaller than its fixed part of 36 bytes"},
        {"unknown mode", GradientPayload(3, two, 1, {0, 1}),
         "record 1 (EMR_GRADIENTFILL): mode 3 is not a gradient mode"},
        {"vertex count past the record", vertexOverflow,
         "record 1 (EMR_GRADIENTFILL): 268435456 vertices end at byte 4294967332, past its size "
         "of 76"},
        {"rectangle cut short", cutShort,
         "record 1 (EMR_GRADIENTFILL): 1 rectangles end at byte 76, past its size of 72"},
        {"triangle count past the record", meshOverflow,
         "record 1 (EMR_GRADIENTFILL): 4294967295 triangles end at byte 51539607624, past its "
         "size of 96"},
        {"rectangle corner beyond the vertices",
         GradientPayload(GRADIENT_FILL_RECT_H, two, 1, {0, 2}),
         "record 1 (EMR_GRADIENTFILL): element 0 names vertex 2 of the 2 it holds"},
        {"triangle corner far beyond the vertices",
         GradientPayload(GRADIENT_FILL_TRIANGLE, three, 2, {0, 1, 2, 0, 1, 0xFFFFFFFF}),
         "record 1 (EMR_GRADIENTFILL): element 1 names vertex 4294967295 of the 3 it holds"},
        {"triangles read as rectangles run past the record",
         GradientPayload(GRADIENT_FILL_TRIANGLE, three, 2, {0, 1, 2, 0, 1}),
         "record 1 (EMR_GRADIENTFILL): 2 triangles end at byte 108, past its size of 104"},
    };
    for (const Case& c : cases) {
        std::string error;
        const bool parsed = ParseGradient(c.payload, &error);
        if (!c.expected) {
            EXPECT_TRUE(parsed) << c.name << ": " << error;
            continue;
        }
        EXPECT_FALSE(parsed) << c.name;
        EXPECT_EQ(error, c.expected) << c.name;
    }
}

}  // namespace

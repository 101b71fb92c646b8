// The raster GDI held to pictures that a real GDI made of the same
// metafiles (tests/data/gdi_reference, made by tools/gdi-reference): the
// sample drawings and small drawings of pens, dashes, hatches, bitmaps in
// every stretch mode, clipping, transforms and curves, at 300 dpi.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "picture/plot_image.h"
#include "support/dib_canvas.h"
#include "support/reference_drawings.h"

namespace {

constexpr int kDpi = 300;

std::vector<BYTE> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
}

struct Match {
    size_t same = 0;
    size_t total = 0;
    double Share() const { return total ? static_cast<double>(same) / total : 0; }
};

Match Compare(const plot::Image& ours, const plot::Image& theirs) {
    Match m;
    m.total = ours.pixels.size();
    for (size_t i = 0; i < m.total; ++i) m.same += ours.pixels[i] == theirs.pixels[i];
    return m;
}

// Our picture of the metafile at the reference's size.
plot::Image Render(const std::string& name, const std::vector<BYTE>& bytes) {
    ENHMETAHEADER header{};
    std::memcpy(&header, bytes.data(), std::min(bytes.size(), sizeof header));
    const SIZE size = ReferencePictureSize(header, kDpi);
    DibCanvas canvas(size.cx, size.cy);
    EXPECT_TRUE(canvas.Play(bytes)) << name;
    return canvas.Image();
}

// With HPGL2_GDI_REFERENCE_OUT naming a folder, our picture and a map of the
// differences go there: pixels only we inked red, only GDI inked blue, both
// in other colours orange, the same pale.
void KeepPictures(const std::string& name, const plot::Image& ours, const plot::Image& theirs) {
    const char* folder = std::getenv("HPGL2_GDI_REFERENCE_OUT");
    if (!folder) return;
    plot::Image map(ours.width, ours.height);
    for (size_t i = 0; i < map.pixels.size(); ++i) {
        const uint32_t a = ours.pixels[i], b = theirs.pixels[i];
        const bool inkA = a != 0xFFFFFF, inkB = b != 0xFFFFFF;
        map.pixels[i] = a == b          ? (inkA ? 0xD8D8D8 : 0xFFFFFF)
                        : inkA && !inkB ? 0xFF0000
                        : !inkA && inkB ? 0x0000FF
                                        : 0xFF9900;
    }
    std::string error;
    const std::string base = std::string(folder) + "/" + name;
    EXPECT_TRUE(plot::SavePng(ours, base + ".png", &error)) << error;
    EXPECT_TRUE(plot::SavePng(map, base + "-differences.png", &error)) << error;
}

TEST(GdiReference, RasterGdiDrawsWhatGdiDraws) {
    struct Case {
        std::string name;
        std::vector<BYTE> bytes;
    };
    std::vector<Case> cases = {
        {"cadplan", ReadFile(HPGL2_TEST_DATA_DIR "/cadplan.emf")},
        {"tiger", ReadFile(HPGL2_TEST_DATA_DIR "/tiger.emf")},
    };
    for (const ReferenceDrawing& drawing : ReferenceDrawings())
        cases.push_back({drawing.name, drawing.build()});
    for (const Case& c : cases) {
        ASSERT_GT(c.bytes.size(), sizeof(ENHMETAHEADER)) << c.name;
        const plot::Image ours = Render(c.name, c.bytes);
        plot::Image theirs;
        std::string error;
        ASSERT_TRUE(
            plot::LoadPng(HPGL2_TEST_DATA_DIR "/gdi_reference/" + c.name + ".png", &theirs, &error))
            << error;
        ASSERT_EQ(ours.width, theirs.width) << c.name;
        ASSERT_EQ(ours.height, theirs.height) << c.name;
        KeepPictures(c.name, ours, theirs);
        const Match m = Compare(ours, theirs);
        std::printf("%-10s %zu of %zu pixels as GDI draws them (%.3f %%)\n", c.name.c_str(), m.same,
                    m.total, 100 * m.Share());
        EXPECT_GE(m.Share(), 0.995) << c.name;
    }
}

}  // namespace

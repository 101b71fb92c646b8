// World transforms of memory DCs: the results Win32 gives, and metafiles
// played under them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <windows.h>
#include "support/dib_builder.h"
#include "support/emf_builder.h"

namespace {

constexpr DWORD kStockNullPen = 0x80000000u | NULL_PEN;
constexpr XFORM kIdentity{1, 0, 0, 1, 0, 0};

bool SameXform(const XFORM& a, const XFORM& b) {
    return a.eM11 == b.eM11 && a.eM12 == b.eM12 && a.eM21 == b.eM21 && a.eM22 == b.eM22 &&
           a.eDx == b.eDx && a.eDy == b.eDy;
}

TEST(WorldTransform, CallsFollowWin32) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    const XFORM shift{1, 0, 0, 1, 10, 0};
    const XFORM twice{2, 0, 0, 2, 0, 0};
    const XFORM singular{1, 2, 2, 4, 0, 0};
    XFORM got{};
    // GM_COMPATIBLE: no world transform may be set or changed.
    EXPECT_EQ(GetGraphicsMode(dc), GM_COMPATIBLE);
    EXPECT_FALSE(SetWorldTransform(dc, &shift));
    EXPECT_FALSE(ModifyWorldTransform(dc, nullptr, MWT_IDENTITY));
    EXPECT_TRUE(GetWorldTransform(dc, &got));
    EXPECT_TRUE(SameXform(got, kIdentity));
    EXPECT_EQ(SetGraphicsMode(dc, 3), 0);
    EXPECT_EQ(SetGraphicsMode(dc, 0), 0);
    // GM_ADVANCED: set, refuse what cannot be inverted, compose both ways.
    EXPECT_EQ(SetGraphicsMode(dc, GM_ADVANCED), GM_COMPATIBLE);
    EXPECT_EQ(GetGraphicsMode(dc), GM_ADVANCED);
    EXPECT_TRUE(SetWorldTransform(dc, &shift));
    EXPECT_FALSE(SetWorldTransform(dc, &singular));
    EXPECT_FALSE(SetWorldTransform(dc, nullptr));
    EXPECT_TRUE(GetWorldTransform(dc, &got));
    EXPECT_TRUE(SameXform(got, shift)) << "a refused transform leaves the old one";
    struct Case {
        DWORD mode;
        LONG x;  // where logical (1, 0) lands
    };
    // Left: the given transform applies first (scale, then shift).
    const std::vector<Case> cases = {{MWT_LEFTMULTIPLY, 12}, {MWT_RIGHTMULTIPLY, 22}};
    for (const Case& c : cases) {
        ASSERT_TRUE(SetWorldTransform(dc, &shift));
        EXPECT_TRUE(ModifyWorldTransform(dc, &twice, c.mode)) << c.mode;
        POINT p{1, 0};
        EXPECT_TRUE(LPtoDP(dc, &p, 1));
        EXPECT_EQ(p.x, c.x) << c.mode;
        EXPECT_EQ(p.y, 0) << c.mode;
    }
    EXPECT_FALSE(ModifyWorldTransform(dc, &twice, 7));
    EXPECT_FALSE(ModifyWorldTransform(dc, nullptr, MWT_LEFTMULTIPLY));
    // Back to GM_COMPATIBLE only once the transform is the identity again.
    EXPECT_EQ(SetGraphicsMode(dc, GM_COMPATIBLE), 0);
    EXPECT_EQ(GetGraphicsMode(dc), GM_ADVANCED);
    EXPECT_TRUE(ModifyWorldTransform(dc, nullptr, MWT_IDENTITY));
    EXPECT_TRUE(GetWorldTransform(dc, &got));
    EXPECT_TRUE(SameXform(got, kIdentity));
    EXPECT_EQ(SetGraphicsMode(dc, GM_COMPATIBLE), GM_ADVANCED);
    // Handles that are no DC.
    EXPECT_EQ(SetGraphicsMode(nullptr, GM_ADVANCED), 0);
    EXPECT_FALSE(GetWorldTransform(nullptr, &got));
    EXPECT_FALSE(GetWorldTransform(dc, nullptr));
    EXPECT_TRUE(DeleteDC(dc));
}

// A red square over the middle of the builder's 1000 x 1000 frame,
// (400, 400)-(600, 600), played into 100 x 100 pixels with the DC's world
// transform and viewport origin.
TEST(WorldTransform, PlayEnhMetaFileDrawsUnderTheDcsTransform) {
    EmfBuilder emf;
    emf.CreateBrush(1, BS_SOLID, RGB(255, 0, 0)).Select(1).Select(kStockNullPen);
    emf.Box(EMR_RECTANGLE, 400, 400, 600, 600);
    const std::vector<BYTE> bytes = emf.Bytes();
    struct Case {
        const char* what;
        XFORM world;
        POINT viewportOrg;
        RECT red;  // the pixels expected red
    };
    const std::vector<Case> cases = {
        {"identity", kIdentity, {0, 0}, {40, 40, 60, 60}},
        {"halved", {0.5f, 0, 0, 0.5f, 0, 0}, {0, 0}, {20, 20, 30, 30}},
        {"shifted", {1, 0, 0, 1, 30, -10}, {0, 0}, {70, 30, 90, 50}},
        {"halved then viewport", {0.5f, 0, 0, 0.5f, 0, 0}, {-5, 7}, {15, 27, 25, 37}},
        // x and y swapped: a square stays where it was, mirrored.
        {"swapped axes", {0, 1, 1, 0, 0, 0}, {0, 0}, {40, 40, 60, 60}},
        {"swapped and moved", {0, 1, 1, 0, 0, 20}, {0, 0}, {40, 60, 60, 80}},
    };
    for (const Case& c : cases) {
        HDC dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader = TestHeader(100, -100, 32, BI_RGB);
        void* bits = nullptr;
        HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, section);
        std::memset(bits, 0xFF, 100 * 100 * 4);
        ASSERT_EQ(SetGraphicsMode(dc, GM_ADVANCED), GM_COMPATIBLE);
        ASSERT_TRUE(SetWorldTransform(dc, &c.world));
        SetViewportOrgEx(dc, c.viewportOrg.x, c.viewportOrg.y, nullptr);
        HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
        const RECT all{0, 0, 100, 100};
        EXPECT_TRUE(PlayEnhMetaFile(dc, metafile, &all)) << c.what;
        const auto* pixels = static_cast<const uint32_t*>(bits);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const bool inside =
                    x >= c.red.left && x < c.red.right && y >= c.red.top && y < c.red.bottom;
                ASSERT_EQ(pixels[y * 100 + x] & 0xFFFFFF, inside ? 0xFF0000u : 0xFFFFFFu)
                    << c.what << " at " << x << "," << y;
            }
        DeleteEnhMetaFile(metafile);
        SelectObject(dc, old);
        DeleteObject(section);
        DeleteDC(dc);
    }
}

}  // namespace

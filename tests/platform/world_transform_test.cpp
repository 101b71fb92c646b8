// World transforms of memory DCs: the results Win32 gives, and metafiles
// played under them.
#include <gtest/gtest.h>

#include <vector>

#include <windows.h>
#include "support/dib_canvas.h"
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
        DibCanvas canvas(100, 100);
        ASSERT_EQ(SetGraphicsMode(canvas.dc, GM_ADVANCED), GM_COMPATIBLE);
        ASSERT_TRUE(SetWorldTransform(canvas.dc, &c.world));
        SetViewportOrgEx(canvas.dc, c.viewportOrg.x, c.viewportOrg.y, nullptr);
        EXPECT_TRUE(canvas.Play(bytes)) << c.what;
        const RECT& r = c.red;
        const size_t area = static_cast<size_t>(r.right - r.left) * (r.bottom - r.top);
        EXPECT_EQ(canvas.Count(0xFF0000, r.left, r.top, r.right, r.bottom), area) << c.what;
        EXPECT_EQ(canvas.Count(0xFFFFFF, 0, 0, 100, 100), 10000 - area) << c.what;
    }
}

}  // namespace

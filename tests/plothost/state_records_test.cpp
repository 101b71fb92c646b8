// Mapping modes, window and viewport, world transforms, save and restore,
// and the modes that reach the driver. The reference device has 10 pixels a
// millimetre; the plotter has the same, so device pixels show unchanged.
#include <gtest/gtest.h>

#include <windows.h>
#include "recording_host.h"

namespace {

// Where the points (10,20) and (100,0) of a polyline land after the setup.
std::string Landing(void (*setup)(EmfBuilder&)) {
    EmfBuilder emf;
    setup(emf);
    emf.Poly(EMR_POLYLINE, {{10, 20}, {100, 0}});
    RecordingHost host;
    const PlayRun run = PlayInto(host, emf.Bytes());
    EXPECT_TRUE(run.ok) << run.error;
    const Lines lines = host.Lines("OnPolyline");
    return lines.empty() ? "" : lines.front();
}

// Mapping modes, window and viewport, world transforms, and save and
// restore: where a polyline lands after them.
TEST(StateRecords, WhereDrawingLands) {
    struct Case {
        const char* name;
        void (*setup)(EmfBuilder&);
        const char* expected;
    } cases[] = {
        {"MM_TEXT", [](EmfBuilder&) {}, "OnPolyline 2: 10,20 100,0"},
        // A tenth of a millimetre, y upwards: one pixel a unit.
        {"MM_LOMETRIC", [](EmfBuilder& e) { e.Mode(EMR_SETMAPMODE, MM_LOMETRIC); },
         "OnPolyline 2: 10,-20 100,0"},
        {"MM_HIMETRIC", [](EmfBuilder& e) { e.Mode(EMR_SETMAPMODE, MM_HIMETRIC); },
         "OnPolyline 2: 1,-2 10,0"},
        // A hundredth of an inch: window 394 (100 mm / 0.254) on 1000
        // pixels, so 100 units are 253.8 pixels.
        {"MM_LOENGLISH", [](EmfBuilder& e) { e.Mode(EMR_SETMAPMODE, MM_LOENGLISH); },
         "OnPolyline 2: 25,-51 254,0"},
        // A twip: window 5669 on 1000 pixels.
        {"MM_TWIPS", [](EmfBuilder& e) { e.Mode(EMR_SETMAPMODE, MM_TWIPS); },
         "OnPolyline 2: 2,-4 18,0"},
        {"viewport origin moves the device",
         [](EmfBuilder& e) {
             e.Mode(EMR_SETMAPMODE, MM_LOMETRIC).Record(EMR_SETVIEWPORTORGEX, {0, 500});
         },
         "OnPolyline 2: 10,480 100,500"},
        {"window origin moves the page",
         [](EmfBuilder& e) {
             e.Record(EMR_SETWINDOWORGEX, {10, 20});
         },
         "OnPolyline 2: 0,0 90,-20"},
        {"MM_ANISOTROPIC stretches each axis",
         [](EmfBuilder& e) {
             e.Mode(EMR_SETMAPMODE, MM_ANISOTROPIC)
                 .Record(EMR_SETWINDOWEXTEX, {100, 100})
                 .Record(EMR_SETVIEWPORTEXTEX, {500, 250});
         },
         "OnPolyline 2: 50,50 500,0"},
        // The viewport shrinks to 250 x 250 so that units stay square.
        {"MM_ISOTROPIC keeps units square",
         [](EmfBuilder& e) {
             e.Mode(EMR_SETMAPMODE, MM_ISOTROPIC)
                 .Record(EMR_SETWINDOWEXTEX, {100, 100})
                 .Record(EMR_SETVIEWPORTEXTEX, {500, 250});
         },
         "OnPolyline 2: 25,50 250,0"},
        {"extents are ignored outside the scalable modes",
         [](EmfBuilder& e) {
             e.Record(EMR_SETWINDOWEXTEX, {1, 1}).Record(EMR_SETVIEWPORTEXTEX, {9, 9});
         },
         "OnPolyline 2: 10,20 100,0"},
        {"SCALEVIEWPORTEXTEX",
         [](EmfBuilder& e) {
             e.Mode(EMR_SETMAPMODE, MM_ANISOTROPIC)
                 .Record(EMR_SETWINDOWEXTEX, {100, 100})
                 .Record(EMR_SETVIEWPORTEXTEX, {100, 100})
                 .Record(EMR_SCALEVIEWPORTEXTEX, {3, 1, 1, 2});
         },
         "OnPolyline 2: 30,10 300,0"},
        {"SCALEWINDOWEXTEX with a zero denominator does nothing",
         [](EmfBuilder& e) {
             e.Mode(EMR_SETMAPMODE, MM_ANISOTROPIC).Record(EMR_SCALEWINDOWEXTEX, {3, 0, 1, 2});
         },
         "OnPolyline 2: 10,20 100,0"},
        {"SETWORLDTRANSFORM", [](EmfBuilder& e) { e.World(2, 0, 0, 2, 5, 5); },
         "OnPolyline 2: 25,45 205,5"},
        // A quarter turn: x' = -y, y' = x.
        {"rotation", [](EmfBuilder& e) { e.World(0, 1, -1, 0, 0, 0); },
         "OnPolyline 2: -20,10 0,100"},
        // Left multiplication: the new transform applies first.
        {"MWT_LEFTMULTIPLY",
         [](EmfBuilder& e) {
             e.World(1, 0, 0, 1, 100, 0).ModifyWorld(2, 0, 0, 2, 0, 0, MWT_LEFTMULTIPLY);
         },
         "OnPolyline 2: 120,40 300,0"},
        {"MWT_RIGHTMULTIPLY",
         [](EmfBuilder& e) {
             e.World(1, 0, 0, 1, 100, 0).ModifyWorld(2, 0, 0, 2, 0, 0, MWT_RIGHTMULTIPLY);
         },
         "OnPolyline 2: 220,40 400,0"},
        {"MWT_IDENTITY",
         [](EmfBuilder& e) {
             e.World(9, 0, 0, 9, 0, 0).ModifyWorld(0, 0, 0, 0, 0, 0, MWT_IDENTITY);
         },
         "OnPolyline 2: 10,20 100,0"},
        {"MWT_SET", [](EmfBuilder& e) { e.ModifyWorld(1, 0, 0, 1, 1, 1, MWT_SET); },
         "OnPolyline 2: 11,21 101,1"},
        {"a singular transform is refused",
         [](EmfBuilder& e) { e.World(2, 0, 0, 2, 0, 0).World(1, 1, 1, 1, 0, 0); },
         "OnPolyline 2: 20,40 200,0"},
        {"the world applies before the mapping mode",
         [](EmfBuilder& e) { e.Mode(EMR_SETMAPMODE, MM_LOMETRIC).World(1, 0, 0, 1, 0, 30); },
         "OnPolyline 2: 10,-50 100,-30"},
        {"RESTOREDC -1 returns to the last save",
         [](EmfBuilder& e) {
             e.Record(EMR_SAVEDC, {}).World(2, 0, 0, 2, 0, 0).Record(EMR_RESTOREDC, {DWORD(-1)});
         },
         "OnPolyline 2: 10,20 100,0"},
        {"RESTOREDC -2 skips one save",
         [](EmfBuilder& e) {
             e.Record(EMR_SAVEDC, {})
                 .World(2, 0, 0, 2, 0, 0)
                 .Record(EMR_SAVEDC, {})
                 .World(3, 0, 0, 3, 0, 0)
                 .Record(EMR_RESTOREDC, {DWORD(-2)});
         },
         "OnPolyline 2: 10,20 100,0"},
        {"RESTOREDC 2 names the second save",
         [](EmfBuilder& e) {
             e.Record(EMR_SAVEDC, {})
                 .World(2, 0, 0, 2, 0, 0)
                 .Record(EMR_SAVEDC, {})
                 .World(3, 0, 0, 3, 0, 0)
                 .Record(EMR_RESTOREDC, {2});
         },
         "OnPolyline 2: 20,40 200,0"},
        {"a level never saved is ignored",
         [](EmfBuilder& e) {
             e.World(2, 0, 0, 2, 0, 0)
                 .Record(EMR_SAVEDC, {})
                 .Record(EMR_RESTOREDC, {DWORD(-5)})
                 .Record(EMR_RESTOREDC, {0});
         },
         "OnPolyline 2: 20,40 200,0"},
        {"the mapping mode is restored",
         [](EmfBuilder& e) {
             e.Record(EMR_SAVEDC, {})
                 .Mode(EMR_SETMAPMODE, MM_LOMETRIC)
                 .Record(EMR_RESTOREDC, {DWORD(-1)});
         },
         "OnPolyline 2: 10,20 100,0"},
    };
    for (const Case& c : cases) EXPECT_EQ(Landing(c.setup), c.expected) << c.name;
}

TEST(StateRecords, SelectedObjectsAndModesAreRestored) {
    EmfBuilder emf;
    emf.CreatePen(1, PS_SOLID, 0, RGB(255, 0, 0)).Select(1);
    emf.Record(EMR_SAVEDC, {}).Select(ENHMETA_STOCK_OBJECT | BLACK_PEN).Mode(EMR_SETROP2, 9);
    // The current position is saved too: the second line starts at (0,0).
    emf.LineTo(1, 0).Record(EMR_RESTOREDC, {DWORD(-1)}).LineTo(2, 0);
    EXPECT_EQ(LogOf(emf),
              (Lines{"OnSetRop2 9", "OnSelectPen style=0x0 width=1 rgb=0,0,0",
                     "OnPolyline 2: 0,0 1,0", "OnSetRop2 13",
                     "OnSelectPen style=0x0 width=1 rgb=255,0,0", "OnPolyline 2: 0,0 2,0"}));
}

TEST(StateRecords, ModesReachTheDriverOnlyWhenTheyChangeAndOnlyWhenUsed) {
    EmfBuilder emf;
    emf.Mode(EMR_SETROP2, 13).Mode(EMR_SETROP2, 7).Mode(EMR_SETROP2, 9);  // nothing drawn yet
    emf.Mode(EMR_SETPOLYFILLMODE, WINDING).Mode(EMR_SETPOLYFILLMODE, 7);  // 7 is no mode
    emf.Select(ENHMETA_STOCK_OBJECT | NULL_PEN);
    emf.Poly(EMR_POLYGON, {{0, 0}, {9, 0}, {0, 9}}).Poly(EMR_POLYGON, {{0, 0}, {8, 0}, {0, 8}});
    RecordingHost host;
    ASSERT_TRUE(PlayInto(host, emf.Bytes()).ok);
    EXPECT_EQ(host.Lines("OnSetRop2"), Lines{"OnSetRop2 9"});
    EXPECT_EQ(host.Lines("OnSetFillMode"), Lines{"OnSetFillMode 2"});
    EXPECT_EQ(host.Lines("OnSelectBrush").size(), 1u);
}

TEST(StateRecords, RecordsWithoutBearingOnTheDrawingArePlayed) {
    EmfBuilder emf;
    emf.Mode(EMR_SETBKMODE, TRANSPARENT)
        .Mode(EMR_SETTEXTALIGN, 0)
        .Mode(EMR_SETTEXTCOLOR, 0)
        .Mode(EMR_SETSTRETCHBLTMODE, 4)
        .Record(EMR_SETMITERLIMIT, {EmfBuilder::Float(10)});
    RecordingHost host;
    const PlayRun run = PlayInto(host, emf.Bytes());
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.summary.played, 7u);  // with the header and the end
    EXPECT_TRUE(run.summary.skipped.empty());
}

TEST(StateRecords, NopRasterOperationDrawsNothing) {
    EmfBuilder emf;
    emf.Mode(EMR_SETROP2, R2_NOP).Box(EMR_RECTANGLE, 0, 0, 10, 10).LineTo(5, 5);
    emf.Mode(EMR_SETROP2, R2_COPYPEN).LineTo(9, 9);
    EXPECT_EQ(LogOf(emf),
              (Lines{"OnSelectPen style=0x0 width=1 rgb=0,0,0", "OnPolyline 2: 5,5 9,9"}));
}

// A comment carrying an EMF+ header record with the given flags.
std::vector<DWORD> EmfPlusHeaderComment(WORD flags) {
    // cbData 32: "EMF+", Type 0x4001 and Flags, Size 28, DataSize 16,
    // Version, EMF+ flags, logical dpi x and y.
    return {32, 0x2B464D45, 0x4001u | (DWORD{flags} << 16), 28, 16, 0xDBC01002, 0, 96, 96};
}

TEST(StateRecords, EmfPlusCommentsGiveWayToTheEmfRecords) {
    struct Case {
        WORD flags;
        size_t warnings;
    } cases[] = {{1, 0}, {0, 1}};  // dual: the EMF records draw; EMF+ only: warned
    for (const Case& c : cases) {
        EmfBuilder emf;
        emf.Record(EMR_GDICOMMENT, EmfPlusHeaderComment(c.flags))
            .Record(EMR_GDICOMMENT, EmfPlusHeaderComment(c.flags))
            .LineTo(5, 0);
        RecordingHost host;
        const PlayRun run = PlayInto(host, emf.Bytes());
        ASSERT_TRUE(run.ok) << run.error;
        EXPECT_EQ(run.summary.played, 5u);
        EXPECT_EQ(run.summary.warnings.size(), c.warnings) << c.flags;
        EXPECT_EQ(host.Lines("OnPolyline"), Lines{"OnPolyline 2: 0,0 5,0"});
    }
}

}  // namespace

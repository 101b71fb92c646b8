// The object table: pens and brushes created, selected and deleted, stock
// objects, and indexes the table does not have.
#include <gtest/gtest.h>

#include <windows.h>
#include "recording_host.h"

namespace {

TEST(ObjectRecords, PensReachTheDriverWithDeviceWidthEndsAndJoins) {
    struct Case {
        const char* name;
        void (*create)(EmfBuilder&);
        const char* pen;
    } cases[] = {
        {"CREATEPEN width 0 is one pixel",
         [](EmfBuilder& e) { e.CreatePen(1, PS_SOLID, 0, RGB(1, 2, 3)); },
         "OnSelectPen style=0x0 width=1 rgb=1,2,3"},
        {"CREATEPEN width in logical units",
         [](EmfBuilder& e) { e.CreatePen(1, PS_SOLID, 7, RGB(0, 0, 0)); },
         "OnSelectPen style=0x0 width=7 rgb=0,0,0"},
        {"CREATEPEN scaled by the world transform",
         [](EmfBuilder& e) { e.World(3, 0, 0, 3, 0, 0).CreatePen(1, PS_SOLID, 2, RGB(0, 0, 0)); },
         "OnSelectPen style=0x0 width=6 rgb=0,0,0"},
        {"EXTCREATEPEN geometric, flat ends, mitred joins",
         [](EmfBuilder& e) {
             e.ExtCreatePen(1, PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER, 5, RGB(255, 0, 0));
         },
         "OnSelectPen style=0x12200 width=5 rgb=255,0,0"},
        {"EXTCREATEPEN geometric, square ends, bevel joins",
         [](EmfBuilder& e) {
             e.ExtCreatePen(1, PS_GEOMETRIC | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL, 3, RGB(0, 0, 0));
         },
         "OnSelectPen style=0x11100 width=3 rgb=0,0,0"},
        {"EXTCREATEPEN cosmetic ignores its width",
         [](EmfBuilder& e) { e.ExtCreatePen(1, PS_COSMETIC, 9, RGB(0, 0, 0)); },
         "OnSelectPen style=0x0 width=1 rgb=0,0,0"},
        {"the colour's high byte is not a colour",
         [](EmfBuilder& e) { e.CreatePen(1, PS_SOLID, 0, 0x02000080); },
         "OnSelectPen style=0x0 width=1 rgb=128,0,0"},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        c.create(emf);
        emf.Select(1).MoveTo(0, 0).LineTo(10, 0);
        RecordingHost host;
        const PlayRun run = PlayInto(host, emf.Bytes());
        ASSERT_TRUE(run.ok) << c.name << ": " << run.error;
        EXPECT_EQ(host.Lines("OnSelectPen"), Lines{c.pen}) << c.name;
    }
}

TEST(ObjectRecords, StockObjects) {
    struct Case {
        DWORD stock;
        const char* line;  // what a rectangle selects first with it
    } cases[] = {
        {WHITE_BRUSH, "OnSelectBrush style=0 rgb=255,255,255 hatch=0"},
        {LTGRAY_BRUSH, "OnSelectBrush style=0 rgb=192,192,192 hatch=0"},
        {GRAY_BRUSH, "OnSelectBrush style=0 rgb=128,128,128 hatch=0"},
        {DKGRAY_BRUSH, "OnSelectBrush style=0 rgb=64,64,64 hatch=0"},
        {BLACK_BRUSH, "OnSelectBrush style=0 rgb=0,0,0 hatch=0"},
        {NULL_BRUSH, "OnSelectPen style=0x0 width=1 rgb=0,0,0"},
        {DC_BRUSH, "OnSelectBrush style=0 rgb=255,255,255 hatch=0"},
        {WHITE_PEN, "OnSelectBrush style=0 rgb=255,255,255 hatch=0"},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        emf.Select(ENHMETA_STOCK_OBJECT | c.stock).Box(EMR_RECTANGLE, 0, 0, 5, 5);
        RecordingHost host;
        ASSERT_TRUE(PlayInto(host, emf.Bytes()).ok);
        ASSERT_FALSE(host.log.empty());
        EXPECT_EQ(host.log.front(), c.line) << c.stock;
    }
    EmfBuilder pens;
    pens.Select(ENHMETA_STOCK_OBJECT | WHITE_PEN).LineTo(5, 0);
    pens.Select(ENHMETA_STOCK_OBJECT | NULL_PEN).LineTo(9, 0);
    pens.Select(ENHMETA_STOCK_OBJECT | DC_PEN).LineTo(9, 9);
    EXPECT_EQ(LogOf(pens),
              (Lines{"OnSelectPen style=0x0 width=1 rgb=255,255,255", "OnPolyline 2: 0,0 5,0",
                     "OnSelectPen style=0x0 width=1 rgb=0,0,0", "OnPolyline 2: 9,0 9,9"}));
}

TEST(ObjectRecords, SelectionsReachTheDriverOnlyWhenTheyChange) {
    EmfBuilder emf;
    emf.CreatePen(1, PS_SOLID, 0, RGB(9, 9, 9)).Select(1);
    emf.MoveTo(0, 0).LineTo(1, 0).LineTo(2, 0);
    // The same pen again as a new object: the driver already has it.
    emf.Select(ENHMETA_STOCK_OBJECT | BLACK_PEN)
        .Delete(1)
        .CreatePen(1, PS_SOLID, 0, RGB(9, 9, 9))
        .Select(1);
    emf.LineTo(3, 0);
    RecordingHost host;
    ASSERT_TRUE(PlayInto(host, emf.Bytes()).ok);
    EXPECT_EQ(host.Lines("OnSelect").size(), 1u);
    EXPECT_EQ(host.Lines("OnPolyline").size(), 3u);
}

TEST(ObjectRecords, DeletedObjectsStaySelectedAndCannotBeSelectedAgain) {
    EmfBuilder emf;
    emf.CreatePen(1, PS_SOLID, 0, RGB(200, 0, 0)).Select(1).Delete(1);
    emf.LineTo(5, 0);  // still the red pen
    emf.Select(1);     // an empty slot: the selection stays
    emf.LineTo(5, 5);
    RecordingHost host;
    const PlayRun run = PlayInto(host, emf.Bytes());
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(host.Lines("OnSelectPen"), Lines{"OnSelectPen style=0x0 width=1 rgb=200,0,0"});
    EXPECT_EQ(host.Lines("OnPolyline").size(), 2u);
}

TEST(ObjectRecords, IndexesOutOfTheTableAreMalformed) {
    struct Case {
        const char* name;
        void (*build)(EmfBuilder&);
        const char* error;
    } cases[] = {
        {"select past the handles", [](EmfBuilder& e) { e.Select(4); },
         "record 1 (EMR_SELECTOBJECT): object index 4 is out of range: the metafile has 4 handles"},
        {"create at index 0", [](EmfBuilder& e) { e.CreatePen(0, PS_SOLID, 0, 0); },
         "record 1 (EMR_CREATEPEN): object index 0 is reserved for the metafile itself"},
        {"delete far past the handles", [](EmfBuilder& e) { e.MoveTo(0, 0).Delete(0x7FFFFFFF); },
         "record 2 (EMR_DELETEOBJECT): object index 2147483647 is out of range: the metafile has "
         "4 handles"},
        {"brush of a region fill",
         [](EmfBuilder& e) {
             e.Record(EMR_FILLRGN,
                      {0, 0, 0, 0, 48, 9, 32, RDH_RECTANGLES, 1, 16, 0, 0, 0, 0, 0, 0, 1, 1});
         },
         "record 1 (EMR_FILLRGN): object index 9 is out of range: the metafile has 4 handles"},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        emf.Handles(4);
        c.build(emf);
        RecordingHost host;
        const PlayRun run = PlayInto(host, emf.Bytes());
        EXPECT_FALSE(run.ok) << c.name;
        EXPECT_EQ(run.error, c.error) << c.name;
    }
}

TEST(ObjectRecords, PatternBrushesFillNothingAndCountAsSkipped) {
    EmfBuilder emf;
    // CREATEDIBPATTERNBRUSHPT at index 1 with a 1 x 1 bitmap of 24 bits.
    emf.Record(EMR_CREATEDIBPATTERNBRUSHPT, {1, DIB_RGB_COLORS, 32, 40, 72, 4, 40, 1, 1,
                                             1u | (24u << 16), BI_RGB, 0, 0, 0, 0, 0, 0x00FF00});
    emf.Select(1).Select(ENHMETA_STOCK_OBJECT | NULL_PEN).Box(EMR_RECTANGLE, 0, 0, 10, 10);
    RecordingHost host;
    const PlayRun run = PlayInto(host, emf.Bytes());
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(host.log, Lines{});
    EXPECT_EQ(run.summary.skipped.at(EMR_CREATEDIBPATTERNBRUSHPT), 1u);
}

}  // namespace

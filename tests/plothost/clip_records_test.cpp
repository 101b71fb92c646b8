// Clip records: the region is kept in plotter pixels and reaches the driver
// before the next drawing, only when it differs from what the driver has.
// The log shows a region as its bounding box and polygon count.
#include <gtest/gtest.h>

#include <windows.h>
#include "recording_host.h"

namespace {

void Line(EmfBuilder& e) {
    e.Poly(EMR_POLYLINE, {{0, 0}, {500, 500}});
}
const char* kLine = "OnPolyline 2: 0,0 500,500";
const char* kPen = "OnSelectPen style=0x0 width=1 rgb=0,0,0";

TEST(ClipRecords, RegionsAsTheDriverGetsThem) {
    struct Case {
        const char* name;
        void (*clip)(EmfBuilder&);
        const char* region;  // nullptr: no region call
    } cases[] = {
        {"INTERSECTCLIPRECT", [](EmfBuilder& e) { e.Box(EMR_INTERSECTCLIPRECT, 10, 20, 110, 220); },
         "OnSetClipRegion box=10,20,110,220 polygons=1"},
        {"INTERSECTCLIPRECT under a world scale",
         [](EmfBuilder& e) {
             e.World(2, 0, 0, 2, 0, 0).Box(EMR_INTERSECTCLIPRECT, 10, 20, 110, 220);
             // The region stays where it was made.
             e.ModifyWorld(1, 0, 0, 1, 0, 0, MWT_IDENTITY);
         },
         "OnSetClipRegion box=20,40,220,440 polygons=1"},
        {"two intersections",
         [](EmfBuilder& e) {
             e.Box(EMR_INTERSECTCLIPRECT, 0, 0, 100, 100)
                 .Box(EMR_INTERSECTCLIPRECT, 50, 50, 300, 300);
         },
         "OnSetClipRegion box=50,50,100,100 polygons=1"},
        // The page (a pixel larger each side) with a hole.
        {"EXCLUDECLIPRECT", [](EmfBuilder& e) { e.Box(EMR_EXCLUDECLIPRECT, 10, 20, 110, 220); },
         "OnSetClipRegion box=-1,-1,1001,1001 polygons=2"},
        {"EXTSELECTCLIPRGN copy of two rectangles",
         [](EmfBuilder& e) {
             e.SelectClipRegion(RGN_COPY, {{0, 0, 10, 10}, {20, 0, 30, 10}});
         },
         "OnSetClipRegion box=0,0,30,10 polygons=2"},
        {"EXTSELECTCLIPRGN and",
         [](EmfBuilder& e) {
             e.Box(EMR_INTERSECTCLIPRECT, 0, 0, 100, 100)
                 .SelectClipRegion(RGN_AND, {{50, 50, 200, 200}});
         },
         "OnSetClipRegion box=50,50,100,100 polygons=1"},
        {"EXTSELECTCLIPRGN or",
         [](EmfBuilder& e) {
             e.Box(EMR_INTERSECTCLIPRECT, 0, 0, 10, 10)
                 .SelectClipRegion(RGN_OR, {{90, 90, 100, 100}});
         },
         "OnSetClipRegion box=0,0,100,100 polygons=2"},
        {"EXTSELECTCLIPRGN copy without a region is no clip",
         [](EmfBuilder& e) {
             e.Box(EMR_INTERSECTCLIPRECT, 0, 0, 10, 10).SelectClipRegion(RGN_COPY, {}, false);
         },
         nullptr},
        {"EXTSELECTCLIPRGN copy of an empty region is no clip",
         [](EmfBuilder& e) {
             e.Box(EMR_INTERSECTCLIPRECT, 0, 0, 10, 10).SelectClipRegion(RGN_COPY, {});
         },
         nullptr},
        {"SELECTCLIPPATH",
         [](EmfBuilder& e) {
             e.Record(EMR_BEGINPATH, {}).Poly(EMR_POLYGON, {{0, 0}, {400, 0}, {0, 300}});
             e.Record(EMR_ENDPATH, {}).Mode(EMR_SELECTCLIPPATH, RGN_COPY);
         },
         "OnSetClipRegion box=0,0,400,300 polygons=1"},
        {"SELECTCLIPPATH of an empty path leaves the clip",
         [](EmfBuilder& e) {
             e.Box(EMR_INTERSECTCLIPRECT, 0, 0, 10, 10).Record(EMR_BEGINPATH, {}).MoveTo(5, 5);
             e.Record(EMR_ENDPATH, {}).Mode(EMR_SELECTCLIPPATH, RGN_COPY);
         },
         "OnSetClipRegion box=0,0,10,10 polygons=1"},
        {"OFFSETCLIPRGN",
         [](EmfBuilder& e) {
             e.Box(EMR_INTERSECTCLIPRECT, 10, 20, 110, 220)
                 .Record(EMR_OFFSETCLIPRGN, {5, DWORD(-20)});
         },
         "OnSetClipRegion box=15,0,115,200 polygons=1"},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        c.clip(emf);
        Line(emf);
        const Lines expected = c.region ? Lines{kPen, c.region, kLine} : Lines{kPen, kLine};
        EXPECT_EQ(LogOf(emf), expected) << c.name;
    }
}

TEST(ClipRecords, ARegionGoesOutOnceAndOnlyWhenDrawingFollows) {
    EmfBuilder emf;
    // Clipped and restored with nothing drawn: the driver hears nothing.
    emf.Record(EMR_SAVEDC, {})
        .Box(EMR_INTERSECTCLIPRECT, 0, 0, 10, 10)
        .Record(EMR_RESTOREDC, {DWORD(-1)});
    Line(emf);
    // Clipped, two drawings, restored, one drawing.
    emf.Record(EMR_SAVEDC, {}).Box(EMR_INTERSECTCLIPRECT, 0, 0, 10, 10);
    Line(emf);
    Line(emf);
    emf.Record(EMR_RESTOREDC, {DWORD(-1)});
    Line(emf);
    EXPECT_EQ(LogOf(emf), (Lines{kPen, kLine, "OnSetClipRegion box=0,0,10,10 polygons=1", kLine,
                                 kLine, "OnSetClipRegion none", kLine}));
}

TEST(ClipRecords, AClipThatLeavesNothingSuppressesDrawing) {
    // The driver reads an empty region list as "no clip", so nothing may
    // reach it while everything is clipped away.
    EmfBuilder emf;
    emf.Box(EMR_INTERSECTCLIPRECT, 0, 0, 10, 10).Box(EMR_INTERSECTCLIPRECT, 50, 50, 60, 60);
    Line(emf);
    emf.Box(EMR_RECTANGLE, 0, 0, 100, 100);
    emf.SelectClipRegion(RGN_COPY, {}, false);
    Line(emf);
    EXPECT_EQ(LogOf(emf), (Lines{kPen, kLine}));
}

}  // namespace

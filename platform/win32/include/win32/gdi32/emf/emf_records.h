// Enhanced metafile record layouts, with the names and layouts of wingdi.h.
// Every record starts with an EMR and is a multiple of 4 bytes long; arrays
// declared [1] are as long as the count before them says (read them through
// the views of win32/emf_record_views.h, which check that they fit). The
// records that carry bitmaps are in win32/emf_blit_records.h.
#pragma once

#include <cstddef>

#include "win32/gdi32/gdi.h"
#include "win32/types.h"

struct RECTL {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
struct POINTL {
    LONG x;
    LONG y;
};
struct POINTS {
    SHORT x;
    SHORT y;
};
using SIZEL = SIZE;
static_assert(sizeof(RECTL) == 16 && sizeof(POINTL) == 8 && sizeof(POINTS) == 4 &&
              sizeof(SIZEL) == 8);

// " EMF" read as a little-endian DWORD.
#define ENHMETA_SIGNATURE 0x464D4520
// Object indexes with this bit name a stock object (the rest is its number).
#define ENHMETA_STOCK_OBJECT 0x80000000
#define RDH_RECTANGLES 1
// First DWORD of the data of a public GDI comment ("GDIC").
#define GDICOMMENT_IDENTIFIER 0x43494447

struct EMR {
    DWORD iType;
    DWORD nSize;
};

// The header record. Files from older writers end it after nPalEntries
// (88 bytes) or after bOpenGL (100 bytes); see EmfDocument::header.
struct ENHMETAHEADER {
    DWORD iType;
    DWORD nSize;
    RECTL rclBounds;
    RECTL rclFrame;
    DWORD dSignature;
    DWORD nVersion;
    DWORD nBytes;
    DWORD nRecords;
    WORD nHandles;
    WORD sReserved;
    DWORD nDescription;
    DWORD offDescription;
    DWORD nPalEntries;
    SIZEL szlDevice;
    SIZEL szlMillimeters;
    DWORD cbPixelFormat;
    DWORD offPixelFormat;
    DWORD bOpenGL;
    SIZEL szlMicrometers;
};
static_assert(sizeof(ENHMETAHEADER) == 108 && offsetof(ENHMETAHEADER, nBytes) == 48 &&
              offsetof(ENHMETAHEADER, cbPixelFormat) == 88 &&
              offsetof(ENHMETAHEADER, szlMicrometers) == 100);

// Records made of the EMR alone.
struct EMRABORTPATH {
    EMR emr;
};
using EMRBEGINPATH = EMRABORTPATH;
using EMRENDPATH = EMRABORTPATH;
using EMRCLOSEFIGURE = EMRABORTPATH;
using EMRFLATTENPATH = EMRABORTPATH;
using EMRWIDENPATH = EMRABORTPATH;
using EMRSETMETARGN = EMRABORTPATH;
using EMRSAVEDC = EMRABORTPATH;
using EMRREALIZEPALETTE = EMRABORTPATH;

// Records with one mode value.
struct EMRSELECTCLIPPATH {
    EMR emr;
    DWORD iMode;
};
using EMRSETBKMODE = EMRSELECTCLIPPATH;
using EMRSETMAPMODE = EMRSELECTCLIPPATH;
using EMRSETLAYOUT = EMRSELECTCLIPPATH;
using EMRSETPOLYFILLMODE = EMRSELECTCLIPPATH;
using EMRSETROP2 = EMRSELECTCLIPPATH;
using EMRSETSTRETCHBLTMODE = EMRSELECTCLIPPATH;
using EMRSETICMMODE = EMRSELECTCLIPPATH;
using EMRSETTEXTALIGN = EMRSELECTCLIPPATH;

struct EMRSETMITERLIMIT {
    EMR emr;
    float eMiterLimit;
};
struct EMRRESTOREDC {
    EMR emr;
    LONG iRelative;
};
struct EMRSETARCDIRECTION {
    EMR emr;
    DWORD iArcDirection;
};
struct EMRSETMAPPERFLAGS {
    EMR emr;
    DWORD dwFlags;
};
struct EMRSETTEXTCOLOR {
    EMR emr;
    COLORREF crColor;
};
using EMRSETBKCOLOR = EMRSETTEXTCOLOR;

struct EMRSELECTOBJECT {
    EMR emr;
    DWORD ihObject;
};
using EMRDELETEOBJECT = EMRSELECTOBJECT;
struct EMRSELECTPALETTE {
    EMR emr;
    DWORD ihPal;
};

struct EMRLINETO {
    EMR emr;
    POINTL ptl;
};
using EMRMOVETOEX = EMRLINETO;
struct EMROFFSETCLIPRGN {
    EMR emr;
    POINTL ptlOffset;
};
struct EMRSETVIEWPORTORGEX {
    EMR emr;
    POINTL ptlOrigin;
};
using EMRSETWINDOWORGEX = EMRSETVIEWPORTORGEX;
using EMRSETBRUSHORGEX = EMRSETVIEWPORTORGEX;
struct EMRSETVIEWPORTEXTEX {
    EMR emr;
    SIZEL szlExtent;
};
using EMRSETWINDOWEXTEX = EMRSETVIEWPORTEXTEX;
struct EMRSCALEVIEWPORTEXTEX {
    EMR emr;
    LONG xNum;
    LONG xDenom;
    LONG yNum;
    LONG yDenom;
};
using EMRSCALEWINDOWEXTEX = EMRSCALEVIEWPORTEXTEX;

struct EMRSETWORLDTRANSFORM {
    EMR emr;
    XFORM xform;
};
struct EMRMODIFYWORLDTRANSFORM {
    EMR emr;
    XFORM xform;
    DWORD iMode;
};

struct EMREXCLUDECLIPRECT {
    EMR emr;
    RECTL rclClip;
};
using EMRINTERSECTCLIPRECT = EMREXCLUDECLIPRECT;
struct EMRFILLPATH {
    EMR emr;
    RECTL rclBounds;
};
using EMRSTROKEANDFILLPATH = EMRFILLPATH;
using EMRSTROKEPATH = EMRFILLPATH;

struct EMRSETPIXELV {
    EMR emr;
    POINTL ptlPixel;
    COLORREF crColor;
};
struct EMREXTFLOODFILL {
    EMR emr;
    POINTL ptlStart;
    COLORREF crColor;
    DWORD iMode;
};
struct EMRELLIPSE {
    EMR emr;
    RECTL rclBox;
};
using EMRRECTANGLE = EMRELLIPSE;
struct EMRROUNDRECT {
    EMR emr;
    RECTL rclBox;
    SIZEL szlCorner;
};
struct EMRARC {
    EMR emr;
    RECTL rclBox;
    POINTL ptlStart;
    POINTL ptlEnd;
};
using EMRARCTO = EMRARC;
using EMRCHORD = EMRARC;
using EMRPIE = EMRARC;
struct EMRANGLEARC {
    EMR emr;
    POINTL ptlCenter;
    DWORD nRadius;
    float eStartAngle;
    float eSweepAngle;
};

// Polylines: cptl (cpts) points follow the fixed part of 28 bytes.
struct EMRPOLYLINE {
    EMR emr;
    RECTL rclBounds;
    DWORD cptl;
    POINTL aptl[1];
};
using EMRPOLYBEZIER = EMRPOLYLINE;
using EMRPOLYGON = EMRPOLYLINE;
using EMRPOLYBEZIERTO = EMRPOLYLINE;
using EMRPOLYLINETO = EMRPOLYLINE;
struct EMRPOLYLINE16 {
    EMR emr;
    RECTL rclBounds;
    DWORD cpts;
    POINTS apts[1];
};
using EMRPOLYBEZIER16 = EMRPOLYLINE16;
using EMRPOLYGON16 = EMRPOLYLINE16;
using EMRPOLYBEZIERTO16 = EMRPOLYLINE16;
using EMRPOLYLINETO16 = EMRPOLYLINE16;
// nPolys counts, then cptl (cpts) points, after a fixed part of 32 bytes.
struct EMRPOLYPOLYLINE {
    EMR emr;
    RECTL rclBounds;
    DWORD nPolys;
    DWORD cptl;
    DWORD aPolyCounts[1];
    POINTL aptl[1];
};
using EMRPOLYPOLYGON = EMRPOLYPOLYLINE;
struct EMRPOLYPOLYLINE16 {
    EMR emr;
    RECTL rclBounds;
    DWORD nPolys;
    DWORD cpts;
    DWORD aPolyCounts[1];
    POINTS apts[1];
};
using EMRPOLYPOLYGON16 = EMRPOLYPOLYLINE16;
// cptl points, then cptl point types (PT_MOVETO, ...), one byte each.
struct EMRPOLYDRAW {
    EMR emr;
    RECTL rclBounds;
    DWORD cptl;
    POINTL aptl[1];
    BYTE abTypes[1];
};
struct EMRPOLYDRAW16 {
    EMR emr;
    RECTL rclBounds;
    DWORD cpts;
    POINTS apts[1];
    BYTE abTypes[1];
};

// Objects. Pens and brushes are stored with 32-bit fields whatever the
// writer's word size.
struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};
struct EXTLOGPEN32 {
    DWORD elpPenStyle;
    DWORD elpWidth;
    UINT elpBrushStyle;
    COLORREF elpColor;
    ULONG elpHatch;
    DWORD elpNumEntries;
    DWORD elpStyleEntry[1];
};
struct LOGBRUSH32 {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG lbHatch;
};
struct EMRCREATEPEN {
    EMR emr;
    DWORD ihPen;
    LOGPEN lopn;
};
struct EMRCREATEBRUSHINDIRECT {
    EMR emr;
    DWORD ihBrush;
    LOGBRUSH32 lb;
};
struct EMRCREATEMONOBRUSH {
    EMR emr;
    DWORD ihBrush;
    DWORD iUsage;
    DWORD offBmi;
    DWORD cbBmi;
    DWORD offBits;
    DWORD cbBits;
};
using EMRCREATEDIBPATTERNBRUSHPT = EMRCREATEMONOBRUSH;

// Regions: RGNDATA is a header and nCount rectangles.
struct RGNDATAHEADER {
    DWORD dwSize;
    DWORD iType;
    DWORD nCount;
    DWORD nRgnSize;
    RECT rcBound;
};
struct RGNDATA {
    RGNDATAHEADER rdh;
    char Buffer[1];
};
// cbRgnData bytes of RGNDATA follow the fixed part of 16 bytes; none with
// RGN_COPY means "back to the default clip region".
struct EMREXTSELECTCLIPRGN {
    EMR emr;
    DWORD cbRgnData;
    DWORD iMode;
    BYTE RgnData[1];
};
struct EMRINVERTRGN {
    EMR emr;
    RECTL rclBounds;
    DWORD cbRgnData;
    BYTE RgnData[1];
};
using EMRPAINTRGN = EMRINVERTRGN;
struct EMRFILLRGN {
    EMR emr;
    RECTL rclBounds;
    DWORD cbRgnData;
    DWORD ihBrush;
    BYTE RgnData[1];
};
struct EMRFRAMERGN {
    EMR emr;
    RECTL rclBounds;
    DWORD cbRgnData;
    DWORD ihBrush;
    SIZEL szlStroke;
    BYTE RgnData[1];
};

// Text: nChars characters at offString, spacing values at offDx (0: none).
struct EMRTEXT {
    POINTL ptlReference;
    DWORD nChars;
    DWORD offString;
    DWORD fOptions;
    RECTL rcl;
    DWORD offDx;
};
struct EMREXTTEXTOUTW {
    EMR emr;
    RECTL rclBounds;
    DWORD iGraphicsMode;
    float exScale;
    float eyScale;
    EMRTEXT emrtext;
};
using EMREXTTEXTOUTA = EMREXTTEXTOUTW;

// cbData bytes of private data follow the fixed part of 12 bytes; EMF+
// records travel in comments whose data starts with "EMF+".
struct EMRGDICOMMENT {
    EMR emr;
    DWORD cbData;
    BYTE Data[1];
};
// The last record; nPalEntries palette entries at offPalEntries, and the
// record size repeated in its last DWORD (nSizeLast).
struct EMREOF {
    EMR emr;
    DWORD nPalEntries;
    DWORD offPalEntries;
    DWORD nSizeLast;
};

static_assert(sizeof(EMR) == 8 && sizeof(EMRABORTPATH) == 8 && sizeof(EMRSELECTCLIPPATH) == 12 &&
              sizeof(EMRSETMITERLIMIT) == 12 && sizeof(EMRRESTOREDC) == 12 &&
              sizeof(EMRSETTEXTCOLOR) == 12 && sizeof(EMRSELECTOBJECT) == 12 &&
              sizeof(EMRSELECTPALETTE) == 12 && sizeof(EMRSETARCDIRECTION) == 12 &&
              sizeof(EMRSETMAPPERFLAGS) == 12);
static_assert(sizeof(EMRLINETO) == 16 && sizeof(EMROFFSETCLIPRGN) == 16 &&
              sizeof(EMRSETVIEWPORTORGEX) == 16 && sizeof(EMRSETVIEWPORTEXTEX) == 16 &&
              sizeof(EMRSCALEVIEWPORTEXTEX) == 24 && sizeof(EMRSETWORLDTRANSFORM) == 32 &&
              sizeof(EMRMODIFYWORLDTRANSFORM) == 36);
static_assert(sizeof(EMREXCLUDECLIPRECT) == 24 && sizeof(EMRFILLPATH) == 24 &&
              sizeof(EMRSETPIXELV) == 20 && sizeof(EMREXTFLOODFILL) == 24 &&
              sizeof(EMRELLIPSE) == 24 && sizeof(EMRROUNDRECT) == 32 && sizeof(EMRARC) == 40 &&
              sizeof(EMRANGLEARC) == 28);
static_assert(offsetof(EMRPOLYLINE, aptl) == 28 && offsetof(EMRPOLYLINE16, apts) == 28 &&
              offsetof(EMRPOLYPOLYLINE, aPolyCounts) == 32 &&
              offsetof(EMRPOLYPOLYLINE16, aPolyCounts) == 32 && offsetof(EMRPOLYDRAW, aptl) == 28 &&
              offsetof(EMRPOLYDRAW16, apts) == 28);
static_assert(sizeof(LOGPEN) == 16 && offsetof(EXTLOGPEN32, elpStyleEntry) == 24 &&
              sizeof(LOGBRUSH32) == 12 && sizeof(EMRCREATEPEN) == 28 &&
              sizeof(EMRCREATEBRUSHINDIRECT) == 24 && sizeof(EMRCREATEMONOBRUSH) == 32);
static_assert(sizeof(RGNDATAHEADER) == 32 && offsetof(EMREXTSELECTCLIPRGN, RgnData) == 16 &&
              offsetof(EMRINVERTRGN, RgnData) == 28 && offsetof(EMRFILLRGN, RgnData) == 32 &&
              offsetof(EMRFRAMERGN, RgnData) == 40);
static_assert(sizeof(EMRTEXT) == 40 && sizeof(EMREXTTEXTOUTW) == 76 &&
              offsetof(EMRGDICOMMENT, Data) == 12 && sizeof(EMREOF) == 20);

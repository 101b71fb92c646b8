#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/test_files.h"
#include "win32/gdi32/emf/emf.h"

namespace {

// Metafiles are built as DWORDs, which keeps them on the 4-byte grid.
using Words = std::vector<DWORD>;

DWORD F(float value) {
    return std::bit_cast<DWORD>(value);
}

Words Rec(DWORD type, const Words& payload) {
    Words record{type, static_cast<DWORD>((payload.size() + 2) * 4)};
    record.insert(record.end(), payload.begin(), payload.end());
    return record;
}

// nPalEntries 0, offPalEntries 16, nSizeLast 20.
Words Eof() {
    return Rec(EMR_EOF, {0, 16, 20});
}

// A 108-byte header, then the records; nBytes and nRecords count them all.
Words Metafile(const std::vector<Words>& records) {
    Words file(27, 0);
    file[0] = EMR_HEADER;
    file[1] = 108;
    file[10] = ENHMETA_SIGNATURE;
    file[11] = 0x10000;
    file[14] = 4;  // nHandles
    for (const Words& record : records) file.insert(file.end(), record.begin(), record.end());
    file[12] = static_cast<DWORD>(file.size() * 4);
    file[13] = static_cast<DWORD>(records.size() + 1);
    return file;
}

const BYTE* Bytes(const Words& words) {
    return reinterpret_cast<const BYTE*>(words.data());
}

// Parses a metafile the reader must accept; words must outlive *doc.
void ParseSound(const Words& words, EmfDocument* doc) {
    std::string error;
    ASSERT_TRUE(ParseEnhMetaFile(Bytes(words), words.size() * 4, doc, &error)) << error;
}

// A bitmap as a record carries it: BITMAPINFOHEADER, colour table, bits.
struct Dib {
    LONG width;
    LONG height;
    WORD bitCount;
    DWORD compression = BI_RGB;
    DWORD clrUsed = 0;
    DWORD tableWords = 0;
    DWORD bitsBytes = 0;
};

Words DibWords(const Dib& dib) {
    Words words{40,
                static_cast<DWORD>(dib.width),
                static_cast<DWORD>(dib.height),
                1u | (DWORD{dib.bitCount} << 16),
                dib.compression,
                0,
                0,
                0,
                dib.clrUsed,
                0};
    words.resize(words.size() + dib.tableWords + (dib.bitsBytes + 3) / 4, 0x00FFFFFF);
    return words;
}

// EMR_STRETCHDIBITS: 80 fixed bytes, the header at 80, the bits after the table.
Words StretchDIBits(const Dib& dib) {
    const DWORD cbBmi = (10 + dib.tableWords) * 4;
    Words payload{
        0,       0,  9, 9, 10, 20, 0, 0, 2, 2, 80, cbBmi, 80 + cbBmi, dib.bitsBytes, DIB_RGB_COLORS,
        SRCCOPY, 30, 40};
    const Words bitmap = DibWords(dib);
    payload.insert(payload.end(), bitmap.begin(), bitmap.end());
    return Rec(EMR_STRETCHDIBITS, payload);
}

// The records' own layouts are the host's to play (see the plot host's
// record tests); here the reader's cast and its refusal.
TEST(EmfReader, FixedRecordsReadAsTheirStructsWhenLongEnough) {
    const Words file = Metafile({
        Rec(EMR_MODIFYWORLDTRANSFORM, {F(2), 0, 0, F(2), F(1.5f), F(-3), 2}),
        Rec(EMR_SELECTOBJECT, {0x80000007}),  // BLACK_PEN
        Eof(),
    });
    EmfDocument doc;
    ParseSound(file, &doc);
    std::string error;
    const auto* modify = EmfFixedRecord<EMRMODIFYWORLDTRANSFORM>(doc, doc.records[1], &error);
    ASSERT_NE(modify, nullptr) << error;
    EXPECT_EQ(modify->xform.eDx, 1.5f);
    EXPECT_EQ(modify->xform.eDy, -3.0f);
    EXPECT_EQ(modify->iMode, 2u);
    const DWORD object = EmfFixedRecord<EMRSELECTOBJECT>(doc, doc.records[2], &error)->ihObject;
    EXPECT_TRUE(IsEmfStockObject(object));
    EXPECT_EQ(EmfStockObjectNumber(object), 7u);
    EXPECT_FALSE(IsEmfStockObject(3));

    // A struct longer than the record is refused by name.
    EXPECT_EQ(EmfFixedRecord<EMRSETWORLDTRANSFORM>(doc, doc.records[2], &error), nullptr);
    EXPECT_EQ(error,
              "record 2 (EMR_SELECTOBJECT): size 12 is smaller than its fixed part of 32 bytes");
}

TEST(EmfReader, PointRecordsGiveTheirPoints) {
    const Words file = Metafile({
        Rec(EMR_POLYLINE, {0, 0, 9, 9, 2, 1, 2, 3, 4}),
        Rec(EMR_POLYBEZIERTO16, {0, 0, 9, 9, 3, 0x00020001, 0xFFFF0003, 0x00050004}),
        Rec(EMR_POLYPOLYGON, {0, 0, 9, 9, 2, 3, 1, 2, 1, 1, 2, 2, 3, 3}),
        Rec(EMR_POLYPOLYLINE16, {0, 0, 9, 9, 1, 2, 2, 0x00070006, 0x00090008}),
        Rec(EMR_POLYDRAW, {0, 0, 9, 9, 2, 10, 20, 30, 40, 0x00000206}),  // PT_MOVETO, PT_LINETO
        Rec(EMR_POLYGON, {0, 0, 0, 0, 0}),                               // no points at all
        Eof(),
    });
    EmfDocument doc;
    ParseSound(file, &doc);
    std::string error;

    EmfPolyline line;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[1], &line, &error)) << error;
    ASSERT_EQ(line.points.size(), 2u);
    EXPECT_EQ(line.points[1].x, 3);
    EXPECT_EQ(line.points[1].y, 4);

    EmfPolyline16 bezier;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[2], &bezier, &error)) << error;
    ASSERT_EQ(bezier.points.size(), 3u);
    EXPECT_EQ(bezier.points[1].x, 3);
    EXPECT_EQ(bezier.points[1].y, -1);

    EmfPolyPolyline polygons;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[3], &polygons, &error)) << error;
    ASSERT_EQ(polygons.counts.size(), 2u);
    EXPECT_EQ(polygons.counts[0], 1u);
    EXPECT_EQ(polygons.counts[1], 2u);
    ASSERT_EQ(polygons.points.size(), 3u);
    EXPECT_EQ(polygons.points[2].y, 3);

    EmfPolyPolyline16 lines16;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[4], &lines16, &error)) << error;
    ASSERT_EQ(lines16.points.size(), 2u);
    EXPECT_EQ(lines16.points[1].y, 9);

    EmfPolyDraw draw;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[5], &draw, &error)) << error;
    ASSERT_EQ(draw.types.size(), 2u);
    EXPECT_EQ(draw.types[0], 6);
    EXPECT_EQ(draw.types[1], 2);
    EXPECT_EQ(draw.points[1].x, 30);

    EmfPolyline empty;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[6], &empty, &error)) << error;
    EXPECT_TRUE(empty.points.empty());

    // A view refuses records of another layout.
    EXPECT_FALSE(ReadEmfRecord(doc, doc.records[2], &line, &error));
    EXPECT_EQ(error, "record 2 (EMR_POLYBEZIERTO16): is not a record of the EMRPOLYLINE layout");
    EXPECT_EQ(line.record, nullptr);
}

TEST(EmfReader, PensBrushesAndBitmapsLieInsideTheirRecords) {
    Words dashed =
        Rec(EMR_EXTCREATEPEN, {1, 0, 0, 0, 0, 0x00010207, 30, 0, 0xFF, 0, 4, 6, 2, 1, 2});
    // A DIB pattern brush of 2 x 2 pixels at 1 bit: two colours, rows of 4 bytes.
    Words brush = Rec(EMR_CREATEDIBPATTERNBRUSHPT, {2, DIB_RGB_COLORS, 32, 48, 80, 8});
    const Words mono = DibWords({2, 2, 1, BI_RGB, 0, 2, 8});
    brush.insert(brush.end(), mono.begin(), mono.end());
    brush[1] = static_cast<DWORD>(brush.size() * 4);
    // BitBlt with PATCOPY carries no bitmap.
    Words patBlt(25, 0);
    patBlt[0] = EMR_BITBLT;
    patBlt[1] = 100;
    patBlt[10] = 0x00F00021;
    const Words file = Metafile({
        dashed,
        brush,
        patBlt,
        StretchDIBits({3, -2, 24, BI_RGB, 0, 0, 24}),  // 3 x 24 bits = 9 bytes, padded to 12
        StretchDIBits({2, 1, 8, BI_RGB, 2, 2, 4}),     // 8 bits, a table of two colours
        Eof(),
    });
    EmfDocument doc;
    ParseSound(file, &doc);
    std::string error;

    EmfExtCreatePen pen;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[1], &pen, &error)) << error;
    EXPECT_EQ(pen.record->elp.elpWidth, 30u);
    ASSERT_EQ(pen.styleEntries.size(), 4u);
    EXPECT_EQ(pen.styleEntries[0], 6u);
    EXPECT_EQ(pen.styleEntries[3], 2u);
    EXPECT_FALSE(pen.pattern.present);

    EmfPatternBrush pattern;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[2], &pattern, &error)) << error;
    ASSERT_TRUE(pattern.pattern.present);
    EXPECT_EQ(pattern.pattern.colorCount, 2u);
    EXPECT_EQ(pattern.pattern.stride, 4u);
    EXPECT_EQ(pattern.pattern.bits.size(), 8u);
    EXPECT_EQ(pattern.pattern.colors.size(), 8u);

    EmfBitBlt blt;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[3], &blt, &error)) << error;
    EXPECT_FALSE(blt.source.present);
    EXPECT_EQ(blt.record->dwRop, 0x00F00021u);

    EmfStretchDIBits top;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[4], &top, &error)) << error;
    EXPECT_EQ(top.record->cxDest, 30);
    EXPECT_EQ(top.source.header.biHeight, -2);
    EXPECT_EQ(top.source.rows, 2u);
    EXPECT_EQ(top.source.stride, 12u);
    EXPECT_EQ(top.source.colorCount, 0u);
    EXPECT_EQ(top.source.bits.data(), EmfRecordBytes(doc, doc.records[4]).data() + 120);

    EmfStretchDIBits indexed;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[5], &indexed, &error)) << error;
    EXPECT_EQ(indexed.source.colorCount, 2u);  // biClrUsed, not 256
    EXPECT_EQ(indexed.source.stride, 4u);
}

TEST(EmfReader, RegionsCommentsAndText) {
    // Two clip rectangles (RGN_OR), then a reset to the default clip (RGN_COPY, no data).
    const Words clip = Rec(EMR_EXTSELECTCLIPRGN,
                           {64, 2, 32, RDH_RECTANGLES, 2, 32, 0, 0, 9, 9, 0, 0, 4, 4, 5, 5, 9, 9});
    const Words emfPlus = Rec(EMR_GDICOMMENT, {8, 0x2B464D45, 0x00000001});
    const Words note = Rec(EMR_GDICOMMENT, {5, 0x64726157, 0x00000021});  // "Ward!"
    // "Hi" with one dx value a character; string at 76, dx at 80.
    const Words text = Rec(EMR_EXTTEXTOUTW, {0,  0, 9, 9, 1, F(1), F(1), 10,         20, 2,
                                             76, 0, 0, 0, 0, 0,    80,   0x00690048, 7,  8});
    const Words file =
        Metafile({clip, Rec(EMR_EXTSELECTCLIPRGN, {0, 5}), emfPlus, note, text, Eof()});
    EmfDocument doc;
    ParseSound(file, &doc);
    std::string error;

    EmfExtSelectClipRgn region;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[1], &region, &error)) << error;
    EXPECT_EQ(region.record->iMode, 2u);
    ASSERT_NE(region.region.header, nullptr);
    ASSERT_EQ(region.region.rects.size(), 2u);
    EXPECT_EQ(region.region.rects[1].left, 5);
    EXPECT_EQ(region.region.rects[1].bottom, 9);
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[2], &region, &error)) << error;
    EXPECT_EQ(region.region.header, nullptr);
    EXPECT_EQ(region.record->iMode, 5u);

    EmfGdiComment comment;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[3], &comment, &error)) << error;
    EXPECT_TRUE(IsEmfPlusComment(comment));
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[4], &comment, &error)) << error;
    EXPECT_FALSE(IsEmfPlusComment(comment));
    EXPECT_EQ(std::string(comment.data.begin(), comment.data.end()), "Ward!");

    EmfExtTextOut out;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records[5], &out, &error)) << error;
    EXPECT_EQ(std::string(out.text.begin(), out.text.end()), std::string("H\0i\0", 4));
    EXPECT_EQ(out.dx.size(), 8u);

    EmfEof eof;
    ASSERT_TRUE(ReadEmfRecord(doc, doc.records.back(), &eof, &error)) << error;
    EXPECT_TRUE(eof.palette.empty());
}

TEST(EmfReader, HeaderExtensionsCountOnlyWhenPresent) {
    struct Case {
        DWORD headerSize;
        DWORD nDescription;
        DWORD offDescription;
        DWORD expectedOpenGL;
        LONG expectedMicrometersX;
    };
    const Case cases[] = {
        {88, 0, 0, 0, 0},     // the first header: no extension at all
        {100, 0, 0, 1, 0},    // first extension only
        {108, 0, 0, 1, 7},    // both
        {108, 2, 100, 1, 0},  // the description starts where szlMicrometers would be
        {104, 2, 88, 0, 0},   // the description starts where cbPixelFormat would be
    };
    for (const Case& c : cases) {
        Words file(c.headerSize / 4, 0);
        file[0] = EMR_HEADER;
        file[1] = c.headerSize;
        file[10] = ENHMETA_SIGNATURE;
        file[15] = c.nDescription;
        file[16] = c.offDescription;
        if (c.headerSize >= 100) file[24] = 1;                         // bOpenGL
        if (c.headerSize >= 108 && c.nDescription == 0) file[25] = 7;  // szlMicrometers.cx
        const Words eof = Eof();
        file.insert(file.end(), eof.begin(), eof.end());
        file[12] = static_cast<DWORD>(file.size() * 4);
        file[13] = 2;
        EmfDocument doc;
        ParseSound(file, &doc);
        EXPECT_EQ(doc.header.bOpenGL, c.expectedOpenGL) << c.headerSize;
        EXPECT_EQ(doc.header.szlMicrometers.cx, c.expectedMicrometersX) << c.headerSize;
        EXPECT_EQ(doc.description.size(), c.nDescription * 2) << c.headerSize;
    }
}

TEST(EmfReader, BytesPastNBytesAreIgnored) {
    Words file = Metafile({Rec(EMR_SAVEDC, {}), Eof()});
    const size_t nBytes = file.size() * 4;
    file.insert(file.end(), {0xDEADBEEF, 0, 0, 0});  // padding from a spooler
    EmfDocument doc;
    ParseSound(file, &doc);
    EXPECT_EQ(doc.size, nBytes);
    ASSERT_EQ(doc.records.size(), 3u);
    EXPECT_EQ(doc.records[1].type, DWORD{EMR_SAVEDC});
    EXPECT_EQ(doc.records[1].offset, 108u);
    EXPECT_EQ(doc.records[2].index, 2u);
}

// Sets words of a metafile after it is built.
Words Patch(Words file, std::initializer_list<std::pair<size_t, DWORD>> changes) {
    for (const auto& [index, value] : changes) file[index] = value;
    return file;
}

// LibreOffice counts one record less than it writes; Windows plays the
// records up to EMR_EOF whatever the header says, and so does the reader.
TEST(EmfReader, HeaderRecordCountIsNotTheFilesCount) {
    const Words sound = Metafile({Rec(EMR_SETMAPMODE, {1}), Eof()});
    for (DWORD claimed : {2u, 4u, 0u, 0xFFFFFFFFu}) {
        EmfDocument doc;
        std::string error;
        const Words file = Patch(sound, {{13, claimed}});
        ASSERT_TRUE(ParseEnhMetaFile(reinterpret_cast<const BYTE*>(file.data()), file.size() * 4,
                                     &doc, &error))
            << claimed << ": " << error;
        EXPECT_EQ(doc.header.nRecords, claimed);
        ASSERT_EQ(doc.records.size(), 3u) << claimed;
        EXPECT_EQ(doc.records.back().type, DWORD{EMR_EOF}) << claimed;
    }
}

TEST(EmfReader, MalformedFilesAreRefusedByRecord) {
    // Record 1 starts at word 27 (byte 108).
    const Words sound = Metafile({Rec(EMR_SETMAPMODE, {1}), Eof()});
    std::vector<Words> sixteenSaves(16, Rec(EMR_SAVEDC, {}));
    sixteenSaves.push_back(Rec(EMR_POLYLINE16, {}));
    sixteenSaves.push_back(Eof());
    const Words dib = Metafile({StretchDIBits({2, 2, 24, BI_RGB, 0, 0, 16}), Eof()});
    struct Case {
        const char* name;
        Words file;
        size_t bytes;  // 0: all of file
        const char* expected;
    };
    const Case cases[] = {
        {"truncated header", sound, 40, "metafile of 40 bytes is too short for its header of 88"},
        {"bad signature", Patch(sound, {{10, 0x20464D45}}), 0,
         "record 0 (EMR_HEADER): signature 0x20464D45 is not \" EMF\" (0x464D4520)"},
        {"no header first", Patch(sound, {{0, EMR_EOF}}), 0,
         "record 0 (EMR_EOF): the metafile does not start with EMR_HEADER"},
        {"header past file", Patch(sound, {{1, 1000}}), 0,
         "record 0 (EMR_HEADER): size 1000 runs past the end of the metafile (140 bytes left)"},
        {"nBytes past file", Patch(sound, {{12, 144}}), 0,
         "record 0 (EMR_HEADER): nBytes 144 is more than the 140 bytes there are"},
        {"nBytes inside header", Patch(sound, {{12, 100}}), 0,
         "record 0 (EMR_HEADER): nBytes 100 is smaller than the header's size of 108"},
        {"description past header", Patch(sound, {{15, 20}, {16, 100}}), 0,
         "record 0 (EMR_HEADER): description of 20 characters at offset 100 runs past its size "
         "of 108"},
        {"record size 0", Patch(sound, {{28, 0}}), 0,
         "record 1 (EMR_SETMAPMODE): size 0 is smaller than its fixed part of 12 bytes"},
        {"unknown type of size 4", Patch(sound, {{27, 200}, {28, 4}}), 0,
         "record 1 (type 200): size 4 is smaller than its fixed part of 8 bytes"},
        {"size not a multiple of 4", Patch(sound, {{28, 14}}), 0,
         "record 1 (EMR_SETMAPMODE): size 14 is not a multiple of 4"},
        {"size past end", Patch(sound, {{28, 4096}}), 0,
         "record 1 (EMR_SETMAPMODE): size 4096 runs past the end of the metafile (32 bytes left)"},
        {"record 17 short", Metafile(sixteenSaves), 0,
         "record 17 (EMR_POLYLINE16): size 8 is smaller than its fixed part of 28 bytes"},
        {"point count overflow", Metafile({Rec(EMR_POLYLINE, {0, 0, 0, 0, 0x40000000}), Eof()}), 0,
         // 28 + 0x40000000 * 8 = 8589934620
         "record 1 (EMR_POLYLINE): 1073741824 points end at byte 8589934620, past its size of 28"},
        {"16-bit points short", Metafile({Rec(EMR_POLYLINE16, {0, 0, 0, 0, 3, 1, 2}), Eof()}), 0,
         "record 1 (EMR_POLYLINE16): 3 points end at byte 40, past its size of 36"},
        {"polygon counts too many",
         Metafile({Rec(EMR_POLYPOLYGON16, {0, 0, 0, 0, 0xFFFFFFFF, 1, 5}), Eof()}), 0,
         "record 1 (EMR_POLYPOLYGON16): 4294967295 polygon counts end at byte 17179869212, past "
         "its size of 36"},
        {"polygon counts disagree",
         Metafile({Rec(EMR_POLYPOLYLINE, {0, 0, 0, 0, 1, 1, 2, 5, 5}), Eof()}), 0,
         "record 1 (EMR_POLYPOLYLINE): polygon counts add up to 2 points, not the 1 it holds"},
        {"pen style entries",
         Metafile({Rec(EMR_EXTCREATEPEN, {1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 2, 6}), Eof()}), 0,
         "record 1 (EMR_EXTCREATEPEN): 2 style entries end at byte 60, past its size of 56"},
        {"comment data", Metafile({Rec(EMR_GDICOMMENT, {5, 0}), Eof()}), 0,
         "record 1 (EMR_GDICOMMENT): 5 bytes of comment data end at byte 17, past its size of 16"},
        {"region rectangles",
         Metafile(
             {Rec(EMR_EXTSELECTCLIPRGN, {48, 5, 32, RDH_RECTANGLES, 2, 0, 0, 0, 0, 0, 1, 1, 2, 2}),
              Eof()}),
         0, "record 1 (EMR_EXTSELECTCLIPRGN): 2 region rectangles do not fit its cbRgnData of 48"},
        {"region type",
         Metafile({Rec(EMR_EXTSELECTCLIPRGN, {32, 5, 32, 2, 0, 0, 0, 0, 0, 0}), Eof()}), 0,
         "record 1 (EMR_EXTSELECTCLIPRGN): region data type 2 is not RDH_RECTANGLES"},
        {"region past record", Metafile({Rec(EMR_EXTSELECTCLIPRGN, {64, 5}), Eof()}), 0,
         "record 1 (EMR_EXTSELECTCLIPRGN): region data at offset 16 with 64 bytes runs past its "
         "size of 16"},
        {"text past record",
         Metafile(
             {Rec(EMR_EXTTEXTOUTW, {0, 0, 0, 0, 1, 0, 0, 0, 0, 3, 76, 0, 0, 0, 0, 0, 0}), Eof()}),
         0, "record 1 (EMR_EXTTEXTOUTW): 3 characters end at byte 82, past its size of 76"},
        {"bitmap rows past bits", Patch(dib, {{27 + 15, 12}}), 0,
         // 2 pixels x 24 bits = 6 bytes, padded to 8 a row
         "record 1 (EMR_STRETCHDIBITS): source bitmap of 2 x 2 pixels at 24 bits needs 2 rows "
         "of 8 bytes, more than its cbBits of 12"},
        {"huge bitmap", Patch(dib, {{27 + 21, 0x7FFFFFFF}, {27 + 22, 0x7FFFFFFF}}), 0,
         "record 1 (EMR_STRETCHDIBITS): source bitmap of 2147483647 x 2147483647 pixels at 24 "
         "bits needs 2147483647 rows of 6442450944 bytes, more than its cbBits of 16"},
        {"bitmap header outside", Patch(dib, {{27 + 12, 200}}), 0,
         "record 1 (EMR_STRETCHDIBITS): source bitmap header at offset 200 with 40 bytes runs "
         "past its size of 136"},
        {"bitmap bits outside", Patch(dib, {{27 + 15, 0xFFFFFFF0}}), 0,
         "record 1 (EMR_STRETCHDIBITS): source bitmap bits at offset 120 with 4294967280 bytes "
         "runs past its size of 136"},
        {"bitmap header smaller than cbBmi", Patch(dib, {{27 + 20, 44}}), 0,
         "record 1 (EMR_STRETCHDIBITS): source bitmap header size 44 is larger than its cbBmi of "
         "40"},
        {"bitmap width 0", Patch(dib, {{27 + 21, 0}}), 0,
         "record 1 (EMR_STRETCHDIBITS): source bitmap has an invalid size of 0 x 2 pixels"},
        {"bitmap bit count", Patch(dib, {{27 + 23, 1 | (7 << 16)}}), 0,
         "record 1 (EMR_STRETCHDIBITS): source bitmap has 7 bits per pixel, which compression 0 "
         "does not allow"},
        {"bitmap colour table", Patch(dib, {{27 + 23, 1 | (8 << 16)}}), 0,
         "record 1 (EMR_STRETCHDIBITS): source bitmap colour table of 1024 bytes does not fit its "
         "cbBmi of 40"},
        {"bitmap compression", Patch(dib, {{27 + 24, 9}}), 0,
         "record 1 (EMR_STRETCHDIBITS): source bitmap has an unknown compression 9"},
        {"missing EOF", Metafile({Rec(EMR_SETMAPMODE, {1}), Rec(EMR_SAVEDC, {})}), 0,
         "record 2 (EMR_SAVEDC): the metafile ends without EMR_EOF"},
        {"records after EOF", Metafile({Eof(), Rec(EMR_SAVEDC, {})}), 0,
         "record 1 (EMR_EOF): 8 bytes of nBytes follow EMR_EOF"},
        {"half a record left", Patch(Metafile({Rec(EMR_SAVEDC, {}), Eof()}), {{12, 112}}), 0,
         "record 1 (EMR_SAVEDC): only 4 bytes are left, too few for a record"},
        {"second header", Patch(sound, {{27, EMR_HEADER}, {28, 108}}), 0,
         "record 1 (EMR_HEADER): size 108 runs past the end of the metafile (32 bytes left)"},
        {"second header inside", Metafile({Rec(EMR_HEADER, Words(25, 0)), Eof()}), 0,
         "record 1 (EMR_HEADER): a second header inside the metafile"},
        {"EOF palette", Metafile({Rec(EMR_EOF, {2, 16, 28})}), 0,
         "record 1 (EMR_EOF): 2 palette entries at offset 16 run past its nSizeLast"},
    };
    for (const Case& c : cases) {
        EmfDocument doc;
        std::string error;
        const size_t bytes = c.bytes ? c.bytes : c.file.size() * 4;
        EXPECT_FALSE(ParseEnhMetaFile(Bytes(c.file), bytes, &doc, &error)) << c.name;
        EXPECT_EQ(error, c.expected) << c.name;
        EXPECT_TRUE(doc.records.empty()) << c.name;
        EXPECT_EQ(doc.data, nullptr) << c.name;
    }
}

TEST(EmfReader, MisplacedDataIsRefused) {
    const Words file = Metafile({Eof()});
    EmfDocument doc;
    std::string error;
    // Records are read in place, so the data must keep their 4-byte grid.
    std::vector<BYTE> shifted(file.size() * 4 + 1);
    std::memcpy(shifted.data() + 1, file.data(), file.size() * 4);
    EXPECT_FALSE(ParseEnhMetaFile(shifted.data() + 1, file.size() * 4, &doc, &error));
    EXPECT_EQ(error, "metafile data does not start on a 4-byte boundary");
    EXPECT_FALSE(ParseEnhMetaFile(nullptr, 200, &doc, &error));
    EXPECT_EQ(error, "no metafile data");
}

std::map<DWORD, size_t> CountByType(const EmfDocument& doc) {
    std::map<DWORD, size_t> counts;
    for (const EmfRecordView& record : doc.records) ++counts[record.type];
    return counts;
}

TEST(EmfReader, SampleDrawingsLoad) {
    struct Case {
        const char* file;
        size_t records;
        size_t bezierTo;
        size_t extCreatePen;
        size_t stretchDIBits;
    };
    // Counted once from the files, which Inkscape 1.2 wrote.
    const Case cases[] = {
        {"cadplan.emf", 1690, 257, 51, 1},
        {"tiger.emf", 5369, 2222, 78, 0},
    };
    for (const Case& c : cases) {
        EmfDocument doc;
        std::string error;
        const std::string path = std::string(HPGL2_TEST_DATA_DIR) + "\\" + c.file;
        ASSERT_TRUE(LoadEnhMetaFile(path.c_str(), &doc, &error)) << error;
        EXPECT_EQ(doc.records.size(), c.records) << c.file;
        EXPECT_EQ(doc.header.nRecords, c.records) << c.file;
        EXPECT_EQ(doc.records.front().type, DWORD{EMR_HEADER}) << c.file;
        EXPECT_EQ(doc.records.back().type, DWORD{EMR_EOF}) << c.file;
        EXPECT_EQ(doc.size, doc.storage.size()) << c.file;
        std::map<DWORD, size_t> counts = CountByType(doc);
        EXPECT_EQ(counts[EMR_POLYBEZIERTO], c.bezierTo) << c.file;
        EXPECT_EQ(counts[EMR_EXTCREATEPEN], c.extCreatePen) << c.file;
        EXPECT_EQ(counts[EMR_STRETCHDIBITS], c.stretchDIBits) << c.file;
        EXPECT_EQ(counts[EMR_GDICOMMENT], 2u) << c.file;
        for (const EmfRecordView& record : doc.records) {
            if (record.type != EMR_STRETCHDIBITS) continue;
            EmfStretchDIBits image;
            ASSERT_TRUE(ReadEmfRecord(doc, record, &image, &error)) << error;
            EXPECT_EQ(image.source.header.biWidth, 64);
            EXPECT_EQ(image.source.header.biBitCount, 32);
            EXPECT_EQ(image.source.stride, 256u);
        }
    }
}

TEST(EmfReader, LoaderRefusesWhatItCannotRead) {
    ScratchDir dir;
    EmfDocument doc;
    std::string error;
    EXPECT_FALSE(LoadEnhMetaFile((dir.path() + "/none.emf").c_str(), &doc, &error));
    EXPECT_EQ(error, "cannot open metafile \"" + dir.path() + "/none.emf\"");
    EXPECT_FALSE(LoadEnhMetaFile(dir.path().c_str(), &doc, &error));
    EXPECT_EQ(error, "metafile \"" + dir.path() + "\" is not a file");

    // A sparse file one DWORD over the limit: refused before a byte is read.
    const std::string big = dir.Write("big.emf", "");
    std::filesystem::resize_file(big, kEmfMaxFileBytes + 4);
    EXPECT_FALSE(LoadEnhMetaFile(big.c_str(), &doc, &error));
    EXPECT_EQ(error, "metafile \"" + big +
                         "\" is 1073741828 bytes, more than the 1073741824 a "
                         "metafile may have");

    const std::string empty = dir.Write("empty.emf", "");
    EXPECT_FALSE(LoadEnhMetaFile(empty.c_str(), &doc, &error));
    EXPECT_EQ(error, "metafile of 0 bytes is too short for its header of 88");
    EXPECT_TRUE(doc.records.empty());
}

}  // namespace

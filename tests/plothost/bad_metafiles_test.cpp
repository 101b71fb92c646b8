// Malformed metafiles are refused with a message that names the record,
// before anything is drawn.
#include <gtest/gtest.h>

#include <cstring>

#include <windows.h>
#include "recording_host.h"

namespace {

std::vector<BYTE> ToBytes(const std::vector<DWORD>& words) {
    std::vector<BYTE> bytes(words.size() * 4);
    std::memcpy(bytes.data(), words.data(), bytes.size());
    return bytes;
}

// A whole metafile whose first record (after the header) is replaced by
// the given words, with nBytes and nRecords counted as they are.
std::vector<BYTE> WithFirstRecord(const std::vector<DWORD>& record) {
    EmfBuilder emf;
    emf.MoveTo(0, 0);
    std::vector<DWORD> words = emf.Words();
    words.resize(27);  // the header alone
    words.insert(words.end(), record.begin(), record.end());
    const DWORD eof[] = {EMR_EOF, 20, 0, 16, 20};
    words.insert(words.end(), std::begin(eof), std::end(eof));
    words[12] = static_cast<DWORD>(words.size() * 4);
    words[13] = 3;
    return ToBytes(words);
}

TEST(BadMetafiles, RefusedWithTheRecordNamed) {
    // STRETCHDIBITS of a 4 x 4 24-bit bitmap (4 rows of 12 bytes) that
    // carries 4 bytes of bits: the EMR, bounds, destination and source,
    // offsets and sizes, usage and operation, the destination's size, then
    // the BITMAPINFOHEADER and the bits.
    std::vector<DWORD> shortOfBits{
        EMR_STRETCHDIBITS, 124,     0, 0, 0, 0, 0, 0, 0, 0, 4, 4, 80, 40, 120, 4,
        DIB_RGB_COLORS,    SRCCOPY, 4, 4};
    const DWORD planesAndBitCount = 1u | (24u << 16);
    shortOfBits.insert(shortOfBits.end(), {40, 4, 4, planesAndBitCount, BI_RGB, 0, 0, 0, 0, 0, 0});
    struct Case {
        const char* name;
        std::vector<DWORD> record;
        const char* mentions;
    } cases[] = {
        {"size 0", {EMR_LINETO, 0, 1, 2}, "record 1"},
        {"size not a multiple of 4", {EMR_LINETO, 14, 1, 2}, "record 1"},
        {"size past the end", {EMR_LINETO, 4000, 1, 2}, "record 1"},
        {"shorter than its fixed part", {EMR_LINETO, 12, 1}, "record 1 (EMR_LINETO)"},
        // 0x20000001 points of 8 bytes overflow 32 bits.
        {"point count that overflows",
         {EMR_POLYLINE, 36, 0, 0, 0, 0, 0x20000001, 1, 2},
         "record 1 (EMR_POLYLINE)"},
        {"point count past the record",
         {EMR_POLYLINE16, 36, 0, 0, 0, 0, 3, 1, 2},
         "record 1 (EMR_POLYLINE16)"},
        {"poly counts that do not add up",
         {EMR_POLYPOLYLINE, 52, 0, 0, 0, 0, 1, 2, 3, 0, 0, 1, 1},
         "record 1 (EMR_POLYPOLYLINE)"},
        {"bitmap bits shorter than its header says", shortOfBits, "record 1 (EMR_STRETCHDIBITS)"},
    };
    for (const Case& c : cases) {
        RecordingHost host;
        const PlayRun run = PlayInto(host, WithFirstRecord(c.record));
        EXPECT_FALSE(run.ok) << c.name;
        EXPECT_NE(run.error.find(c.mentions), std::string::npos) << c.name << ": " << run.error;
        EXPECT_TRUE(host.log.empty()) << c.name;
    }
}

TEST(BadMetafiles, CutShortOrNoMetafileAtAll) {
    EmfBuilder emf;
    emf.MoveTo(0, 0).LineTo(5, 5);
    const std::vector<BYTE> whole = emf.Bytes();
    for (size_t size : {size_t{0}, size_t{4}, size_t{107}, whole.size() - 20, whole.size() - 4}) {
        const std::vector<BYTE> cut(whole.begin(), whole.begin() + static_cast<long>(size));
        RecordingHost host;
        const PlayRun run = PlayInto(host, cut);
        EXPECT_FALSE(run.ok) << size;
        EXPECT_FALSE(run.error.empty()) << size;
        EXPECT_TRUE(host.log.empty()) << size;
    }
    const std::vector<BYTE> text{'P', 'K', 3, 4, 0, 0, 0, 0};
    RecordingHost host;
    EXPECT_FALSE(PlayInto(host, text).ok);
}

TEST(BadMetafiles, UnknownAndUndrawnRecordsAreSkippedAndCounted) {
    EmfBuilder emf;
    // POLYTEXTOUTW of no strings (no writer of metafiles uses it), twice;
    // a record type past the last one.
    const std::vector<DWORD> text{0, 0, 0, 0, 1, EmfBuilder::Float(1), EmfBuilder::Float(1), 0};
    emf.Record(EMR_POLYTEXTOUTW, text).Record(EMR_POLYTEXTOUTW, text).Record(200, {1, 2});
    emf.Record(EMR_SETPIXELV, {1, 1, 0});
    RecordingHost host;
    const PlayRun run = PlayInto(host, emf.Bytes());
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(run.summary.played, 2u);  // the header and the end
    EXPECT_EQ(run.summary.skipped.at(EMR_POLYTEXTOUTW), 2u);
    EXPECT_EQ(run.summary.skipped.at(200), 1u);
    EXPECT_EQ(run.summary.skipped.at(EMR_SETPIXELV), 1u);
    EXPECT_EQ(RecordKindName(EMR_EXTTEXTOUTW), "EXTTEXTOUTW");
    EXPECT_EQ(RecordKindName(200), "record type 200");
}

}  // namespace

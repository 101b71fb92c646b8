#include "rtl/delta_row_encoder.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "row_kinds.h"
#include "support/pcl_row_decoder.h"

namespace {

using Row = std::vector<uint8_t>;

Row EncodeAgainst(const Row& seed, const Row& row) {
    DeltaRowEncoder encoder;
    encoder.SetSeed(seed.data(), seed.size());
    encoder.EncodeRow(row.data(), row.size());
    return Row(encoder.Data(), encoder.Data() + encoder.Length());
}

Row WithByte(size_t n, size_t index, uint8_t value) {
    Row row(n, 0);
    row[index] = value;
    return row;
}

TEST(DeltaRowEncoder, CommandBytesOffsetsAndTheClosingCommand) {
    struct Case {
        const char* name;
        Row seed;
        Row row;
        Row coded;
    };
    const Row nine = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const Case cases[] = {
        {"empty row", {}, {}, {}},
        // one replacement byte, the last, at offset 9
        {"ten zeros on ten zeros", Row(10, 0), Row(10, 0), {9, 0}},
        // (0 << 5 | 0), 7; then the tail of three: (0 << 5 | 2), last byte 0
        {"first byte 7, length 4", Row(4, 0), {7, 0, 0, 0}, {0, 7, 2, 0}},
        // (7 << 5 | 0) = 224 with eight bytes, then (0 << 5 | 0) with the ninth
        {"nine differing bytes", Row(9, 0), nine, {224, 1, 2, 3, 4, 5, 6, 7, 8, 0, 9}},
        // sixteen differing bytes: two commands of eight, both at offset 0
        {"sixteen differing",
         Row(16, 0),
         Row(16, 3),
         {224, 3, 3, 3, 3, 3, 3, 3, 3, 224, 3, 3, 3, 3, 3, 3, 3, 3}},
        // eight differ, two equal, one differs: the offset after a group of
        // eight counts from 0
        {"offset after eight",
         Row(11, 0),
         {1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 5},
         {224, 1, 1, 1, 1, 1, 1, 1, 1, 2, 5}},
        // a short group ended by an equal byte: that byte starts the next offset
        {"group, three equal, group", Row(5, 0), {4, 0, 0, 0, 6}, {0, 4, 3, 6}},
        // two differing bytes then the tail of one: (1 << 5 | 0) = 32
        {"two bytes then tail", Row(3, 0), {8, 9, 0}, {32, 8, 9, 0, 0}},
        // offset 30 fits the command byte; 30 + 1 tail bytes: (0 | 0) 0
        {"offset 30", Row(32, 0), WithByte(32, 30, 5), {30, 5, 0, 0}},
        // offset 31: five bits 31 and one extension byte 0
        {"offset 31", Row(32, 0), WithByte(32, 31, 5), {31, 0, 5}},
        {"offset 285", Row(286, 0), WithByte(286, 285, 5), {31, 254, 5}},
        // offset 286 = 31 + 255: extension bytes 255, 0
        {"offset 286", Row(287, 0), WithByte(287, 286, 5), {31, 255, 0, 5}},
        // offset 541 = 31 + 2 * 255: extension bytes 255, 255, 0
        {"offset 541", Row(542, 0), WithByte(542, 541, 5), {31, 255, 255, 0, 5}},
        // unchanged row of 40: the last byte at offset 39 = 31 + 8
        {"unchanged row of 40", Row(40, 1), Row(40, 1), {31, 8, 1}},
        {"unchanged row of 1", Row(1, 6), Row(1, 6), {0, 6}},
        // a group of eight that ends the row needs no closing command
        {"eight differing at the end",
         Row(10, 0),
         {0, 0, 1, 1, 1, 1, 1, 1, 1, 1},
         {226, 1, 1, 1, 1, 1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeAgainst(c.seed, c.row), c.coded) << c.name;
        EXPECT_EQ(pcl::ReferenceDeltaRow(c.seed, c.row), c.coded) << c.name << " (reference)";
    }
}

TEST(DeltaRowEncoder, EncodedRowBecomesTheSeedWithoutACopy) {
    Row first = {1, 2, 3, 4};
    const Row second = {1, 2, 3, 4};
    DeltaRowEncoder encoder;
    ASSERT_TRUE(encoder.SetSeed(nullptr, 4));  // zero seed
    encoder.EncodeRow(first.data(), first.size());
    // Against zeros: four differing bytes at offset 0: (3 << 5) = 96
    EXPECT_EQ(Row(encoder.Data(), encoder.Data() + encoder.Length()), (Row{96, 1, 2, 3, 4}));
    encoder.Reset();
    encoder.EncodeRow(second.data(), second.size());
    EXPECT_EQ(Row(encoder.Data(), encoder.Data() + encoder.Length()), (Row{3, 4}));
    // The seed is the caller's row itself: changing it changes the next row.
    encoder.Reset();
    const Row third = {1, 2, 3, 4};
    encoder.SetSeed(first.data(), first.size());
    first[1] = 9;
    encoder.EncodeRow(third.data(), third.size());
    EXPECT_EQ(Row(encoder.Data(), encoder.Data() + encoder.Length()), (Row{1, 2, 1, 4}));
}

TEST(DeltaRowEncoder, RowLongerThanItsSeedComparesTheMissingBytesWithZero) {
    const Row seed = {1, 2};
    const Row row = {1, 2, 0, 0, 5, 0};
    // equal 1, 2, then 0, 0 against the missing (zero) bytes: offset 4;
    // then the tail of one at offset 0
    EXPECT_EQ(EncodeAgainst(seed, row), (Row{4, 5, 0, 0}));
    DeltaRowEncoder encoder;  // no seed at all: a zero row
    encoder.EncodeRow(row.data(), row.size());
    EXPECT_EQ(Row(encoder.Data(), encoder.Data() + encoder.Length()), (Row{32, 1, 2, 2, 5, 0, 0}));
}

TEST(DeltaRowEncoder, ReserveCoversTheWorstCaseAndRefusesRowsTooLongForAnInt) {
    DeltaRowEncoder encoder;
    EXPECT_FALSE(encoder.ReserveRow(size_t{INT_MAX} / 2 + 1));
    ASSERT_TRUE(encoder.ReserveRow(1000));
    const uint8_t* storage = encoder.Data();
    // The costliest pattern: one byte differing, one equal.
    Row seed(1000, 0), row(1000, 0);
    for (size_t i = 0; i < row.size(); i += 2) row[i] = 1;
    encoder.SetSeed(seed.data(), seed.size());
    encoder.EncodeRow(row.data(), row.size());
    // (0, 1) for the first byte, (1, 1) for each of the 499 equal-differing
    // pairs after it, and (0, 0) closing the tail of one: 2 + 998 + 2
    EXPECT_EQ(encoder.Length(), 1002u);
    EXPECT_EQ(encoder.Data(), storage);
    DeltaRowEncoder hinted(5);
    EXPECT_EQ(hinted.Capacity(), 1029u);
}

TEST(DeltaRowEncoder, AgreesWithTheReferenceAndRoundTripsEveryRowKindAndWidth) {
    for (RowKind kind : kAllRowKinds) {
        for (size_t width : kRoundTripWidths) {
            Row seed = MakeRow(kind, width, 0);
            for (int y = 1; y < 4; ++y) {
                const Row row = MakeRow(kind, width, y);
                const Row coded = EncodeAgainst(seed, row);
                EXPECT_EQ(coded, pcl::ReferenceDeltaRow(seed, row))
                    << RowKindName(kind) << " " << width;
                EXPECT_LE(coded.size(), 2 * width);
                pcl::Bytes decoded = seed;
                ASSERT_TRUE(pcl::ApplyDeltaRow(coded.data(), coded.size(), &decoded));
                EXPECT_EQ(decoded, row) << RowKindName(kind) << " width " << width << " row " << y;
                seed = row;
            }
        }
    }
}

TEST(DeltaRowEncoder, RgbRowsCodedFromPixelsAsFromTheirBytes) {
    // 4-byte pixels of every row kind (fourth bytes of any value), coded
    // straight from the pixels and from their red, green and blue bytes.
    const auto rgbOf = [](const Row& pixels) {
        Row rgb;
        for (size_t i = 0; i + 4 <= pixels.size(); i += 4) {
            rgb.insert(rgb.end(), {pixels[i + 2], pixels[i + 1], pixels[i]});
        }
        return rgb;
    };
    for (RowKind kind : kAllRowKinds) {
        for (size_t width : kRoundTripWidths) {
            Row seed = MakeRow(kind, 4 * width, 0);
            for (int y = 1; y < 5; ++y) {
                Row row = MakeRow(kind, 4 * width, y);
                // Rows that share stretches of pixels with the row above.
                if (y % 2 == 0) {
                    for (size_t i = 0; i < row.size() / 2; ++i) row[i] = seed[i] ^ (i % 4 == 3);
                }
                DeltaRowEncoder fromPixels;
                fromPixels.EncodeRgbPixels(row.data(), seed.data(), width);
                EXPECT_EQ(Row(fromPixels.Data(), fromPixels.Data() + fromPixels.Length()),
                          EncodeAgainst(rgbOf(seed), rgbOf(row)))
                    << RowKindName(kind) << " width " << width << " row " << y;
                seed = row;
            }
        }
    }
}

}  // namespace

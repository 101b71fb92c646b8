#include "rtl/rle_row_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "row_kinds.h"
#include "support/pcl_row_decoder.h"

namespace {

std::vector<uint8_t> Repeat(size_t n, uint8_t value) {
    return std::vector<uint8_t>(n, value);
}

std::vector<uint8_t> Encode(const std::vector<uint8_t>& row) {
    RleRowBuffer buffer;
    buffer.Append(row.data(), row.size());
    buffer.Flush();
    return std::vector<uint8_t>(buffer.Data(), buffer.Data() + buffer.Length());
}

TEST(RleRowBuffer, PairsOfCountMinusOneAndValue) {
    struct Case {
        const char* name;
        std::vector<uint8_t> row;
        std::vector<uint8_t> coded;
    };
    const Case cases[] = {
        {"empty row", {}, {}},
        {"one byte", {9}, {0, 9}},
        {"1 2 3", {1, 2, 3}, {0, 1, 0, 2, 0, 3}},
        {"5 5 7", {5, 5, 7}, {1, 5, 0, 7}},
        // 300 = 255 + 45: (254, v) then (44, v)
        {"300 equal", Repeat(300, 0xAA), {254, 0xAA, 44, 0xAA}},
        {"254 equal", Repeat(254, 1), {253, 1}},
        {"255 equal", Repeat(255, 1), {254, 1}},
        // the 256th equal byte opens a run of its own
        {"256 equal", Repeat(256, 1), {254, 1, 0, 1}},
        {"510 equal", Repeat(510, 0), {254, 0, 254, 0}},
        {"511 equal", Repeat(511, 0), {254, 0, 254, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Encode(c.row), c.coded) << c.name;
    }
}

TEST(RleRowBuffer, ResetStartsAFreshRowAndKeepsTheStorage) {
    RleRowBuffer buffer;
    ASSERT_TRUE(buffer.ReserveRow(16));
    const size_t capacity = buffer.Capacity();
    const uint8_t first[2] = {7, 7};
    buffer.Append(first, 2);  // run left open
    buffer.Reset();
    const uint8_t second[1] = {7};
    buffer.Append(second, 1);
    buffer.Flush();
    // The open run of the previous row is gone: one byte, count 0.
    EXPECT_EQ(std::vector<uint8_t>(buffer.Data(), buffer.Data() + buffer.Length()),
              (std::vector<uint8_t>{0, 7}));
    EXPECT_EQ(buffer.Capacity(), capacity);
}

TEST(RleRowBuffer, ReservedRowNeverGrowsEvenInTheWorstCase) {
    const auto row = MakeRow(RowKind::kWorstCase, 1000, 0);
    RleRowBuffer buffer;
    ASSERT_TRUE(buffer.ReserveRow(row.size()));
    EXPECT_EQ(buffer.Capacity(), 2000u);
    const uint8_t* storage = buffer.Data();
    buffer.Append(row.data(), row.size());
    buffer.Flush();
    EXPECT_EQ(buffer.Length(), 2000u);  // a pair for every byte
    EXPECT_EQ(buffer.Data(), storage);
}

TEST(RleRowBuffer, ConstructedCapacityIsExactAndRowsTooLongForAnIntAreRefused) {
    RleRowBuffer sized(37);
    EXPECT_EQ(sized.Capacity(), 37u);
    RleRowBuffer buffer;
    EXPECT_FALSE(buffer.ReserveRow(size_t{INT_MAX} / 2 + 1));
    EXPECT_EQ(buffer.Capacity(), 0u);
    EXPECT_TRUE(buffer.ReserveRow(0));
}

// Runs carry across Append calls: a row fed in pieces of any size, one byte
// at a time included (which also grows a buffer that was not reserved),
// codes as the reference codes it whole.
TEST(RleRowBuffer, AgreesWithTheReferenceHoweverTheRowIsFed) {
    uint32_t state = 7;
    for (RowKind kind : kAllRowKinds) {
        for (size_t width : kRoundTripWidths) {
            const auto row = MakeRow(kind, width, 2);
            const auto expected = pcl::ReferenceRunLengthRow(row);
            for (size_t piece : {size_t{1}, size_t{3}, size_t{17}, size_t{0}}) {
                RleRowBuffer buffer;
                for (size_t i = 0; i < row.size();) {
                    // piece 0: pieces of random length up to 600
                    const size_t n =
                        std::min(row.size() - i, piece ? piece : 1 + NextRandom(state) % 600);
                    buffer.Append(row.data() + i, n);
                    i += n;
                }
                buffer.Flush();
                EXPECT_EQ(std::vector<uint8_t>(buffer.Data(), buffer.Data() + buffer.Length()),
                          expected)
                    << RowKindName(kind) << " width " << width << " pieces of " << piece;
            }
        }
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>

#include "ui/format_tenths.h"
#include "ui/memory_size.h"
#include "ui/paper_list.h"

namespace {

TEST(FormatTenths, RoundsToOneDecimalHalfUp) {
    const std::pair<double, const char*> cases[] = {
        {12.34, "12.3"}, {12.96, "13"},  {0.25, "0.3"},  {0.0, "0"},
        {0.04, "0"},     {0.05, "0.1"},  {200.0, "200"}, {32767.0, "32767"},
        {1.26, "1.3"},   {-1.5, "-1.5"}, {-0.04, "0"},   {214748364.7, "214748364.7"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(FormatTenths(value).str(), text) << value;
}

TEST(FormatTenths, IgnoresTheCLocale) {
    // A locale with a decimal comma, where one is installed.
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale";
    EXPECT_EQ(FormatTenths(12.34).str(), "12.3");
    std::setlocale(LC_NUMERIC, "C");
}

TEST(MemorySize, ListTextOfSizesOutsideTheTable) {
    EXPECT_EQ(MemorySizeText(3072), "3KB");
    EXPECT_EQ(MemorySizeText(1000), "1000");
    EXPECT_EQ(MemorySizeText(1025), "1025");
    EXPECT_EQ(MemorySizeText(-1024), "-1KB");
    EXPECT_EQ(MemorySizeText(-1), "-1");
    EXPECT_EQ(MemorySizeText(-2147483647 - 1), "-2097152KB");
}

TEST(MemorySize, ListEntriesReadDigitsAndUnitWhereverTheyStand) {
    EXPECT_EQ(MemorySizeOfEntry("128KB"), 131072u);
    EXPECT_EQ(MemorySizeOfEntry("5M"), 5242880u);
    EXPECT_EQ(MemorySizeOfEntry("1MB"), 1048576u);
    EXPECT_EQ(MemorySizeOfEntry("1000"), 1000u);
    EXPECT_EQ(MemorySizeOfEntry("K1B2"), 12288u);  // digits 12, unit KB
    EXPECT_EQ(MemorySizeOfEntry("7GB"), 7u);       // another unit leaves the number
    EXPECT_EQ(MemorySizeOfEntry("1 MB"), std::nullopt);
    EXPECT_EQ(MemorySizeOfEntry("99999999999"), std::nullopt);  // beyond 32 bits
}

TEST(PaperList, NextNumberIsTheSmallestFreeFrom650) {
    const auto list = [](std::initializer_list<int> numbers) {
        PaperList papers;
        for (int n : numbers) {
            PaperSize p{};
            p.nPaperID = n;
            papers.push_back(p);
        }
        return papers;
    };
    EXPECT_EQ(NextFreePaperNumber(list({})), 650);
    EXPECT_EQ(NextFreePaperNumber(list({650, 651, 653})), 652);
    EXPECT_EQ(NextFreePaperNumber(list({653, 651, 650, 652})), 654);
    EXPECT_EQ(NextFreePaperNumber(list({9, 8, 651})), 650);
}

TEST(PaperList, NameWithoutANulStopsAtTheField) {
    PaperSize p{};
    std::memset(p.szPaperName, 'A', sizeof p.szPaperName);
    EXPECT_EQ(PaperName(p), std::string(64, 'A'));
}

}  // namespace

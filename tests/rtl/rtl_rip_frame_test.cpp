// The raster writer's frame: construction from the host context, the header
// and trailer of pages of their own and of embedded rasters, and the band
// protocol of OnBand with progress and Cancel.
#include "rtl/rtl_rip.h"

#include <gtest/gtest.h>

#include <vector>

#include "rtl_test_host.h"

namespace {

const uint32_t kWhite = 0x00FFFFFF;

// One row of ten pixels, the first black: packs to 128, 0.
std::vector<uint32_t> BlackThenWhite(int nWidth) {
    std::vector<uint32_t> row(static_cast<size_t>(nWidth), kWhite);
    row[0] = 0;
    return row;
}

TEST(RtlRipFrame, EmptyCapabilitySlotGivesAPageOfZeroPixels) {
    RtlTestHost t;
    t.callbacks.GetDeviceCaps = nullptr;
    CRTLRip withoutSlot(t.Host(), nullptr);
    EXPECT_EQ(withoutSlot.m_nPageWidth, 0);
    EXPECT_EQ(withoutSlot.m_nPageHeight, 0);
    t.host.pCallbacks = nullptr;
    CRTLRip withoutTable(t.Host(), nullptr);
    EXPECT_EQ(withoutTable.m_nPageWidth, 0);
    CRTLRip withoutHost(nullptr, nullptr);
    EXPECT_EQ(withoutHost.m_pOutput, nullptr);
    EXPECT_EQ(withoutHost.m_nResolution, 300);
}

TEST(RtlRipFrame, PrintQualityBelowOneIsSentAs300) {
    const struct {
        short quality;
        const char* command;
    } cases[] = {{0, ESC "*t300R"}, {-5, ESC "*t300R"}, {1, ESC "*t1R"}, {600, ESC "*t600R"}};
    for (const auto& c : cases) {
        RtlTestHost t;
        t.driver.m_devmode.dm.dmPrintQuality = c.quality;
        CRTLRip rip(t.Host(), nullptr);
        rip.m_nColorFormat = 1;
        auto band = TestBand::From32(BlackThenWhite(10), 10, 1);
        ASSERT_EQ(rip.EncodeBand(RIP_FIRST_BAND, RECT{0, 0, 10, 1}, &band.bits), 1);
        ASSERT_GT(t.channel.chunks.size(), 6u);
        EXPECT_EQ(t.channel.chunks[6], c.command) << c.quality;
    }
}

TEST(RtlRipFrame, StandalonePageInOneBandGetsHeaderBodyTrailerAndClose) {
    RtlTestHost t(10, 1);
    CRTLRip rip(t.Host(), nullptr);
    rip.m_nColorFormat = 1;
    auto band = TestBand::From32(BlackThenWhite(10), 10, 1);
    const RECT whole{0, 0, 10, 1};
    ASSERT_EQ(rip.OnBand(nullptr, &whole, &whole, &band.bits), 1);
    const std::vector<std::string> expected = {
        ESC "%0BTR0;PUPA0,0;",
        ESC "%1A",
        ESC "v1N",
        ESC "v1O",
        ESC "&a1N",
        ESC "*r10S",
        ESC "*t300R",
        ESC "*v6W" + Bytes({0, 1, 0, 0, 0, 0}),
        ESC "*r1A",
        ESC "*b1M",
        ESC "*b4W",
        Bytes({0, 128, 0, 0}),  // pairs (0, 128) (0, 0): pixel 0 ink, 1..9 and padding white
        ESC "*rC",
        ESC "%0B",
        "PG;" ESC "E",
        ESC "%-12345X @PJL EOJ",
    };
    EXPECT_EQ(t.channel.chunks, expected);
    EXPECT_EQ(t.channel.closes, 1);
}

TEST(RtlRipFrame, EmbeddedRasterWithOnlyTheLastFlagTakesItsWidthFromTheBand) {
    RtlTestHost t(5000, 5000);  // the page size must not matter
    CRTLRip rip(t.Host(), nullptr);
    rip.m_nColorFormat = 1;
    rip.m_bEmbedded = 1;
    auto band = TestBand::From32(BlackThenWhite(10), 10, 1);
    // The image callbacks pass RIP_LAST_BAND | 1 and write their own header.
    ASSERT_EQ(rip.EncodeBand(RIP_LAST_BAND | 1, RECT{0, 0, 10, 1}, &band.bits), 1);
    const std::vector<std::string> expected = {
        ESC "*b1M", ESC "*b4W", Bytes({0, 128, 0, 0}), ESC "*rC", ESC "%0B",
    };
    EXPECT_EQ(t.channel.chunks, expected);
    EXPECT_EQ(t.channel.closes, 0);
}

TEST(RtlRipFrame, EmbeddedHeaderAllowsNegativeMotionAndUsesTheBandWidth) {
    RtlTestHost t(5000, 5000);
    CRTLRip rip(t.Host(), nullptr);
    rip.m_nColorFormat = 1;
    rip.m_bEmbedded = 1;
    auto band = TestBand::From32(std::vector<uint32_t>(7 * 2, kWhite), 7, 2);
    ASSERT_EQ(rip.EncodeBand(RIP_FIRST_BAND, RECT{3, 0, 10, 2}, &band.bits), 1);
    const std::vector<std::string> expected = {
        ESC "%1A",
        ESC "v1N",
        ESC "v1O",
        ESC "&a0N",
        ESC "*r7S",
        ESC "*t300R",
        ESC "*v6W" + Bytes({0, 1, 0, 0, 0, 0}),
        ESC "*r1A",
        ESC "*b1M",
        ESC "*b2W",
        Bytes({0, 0}),
        ESC "*b2W",
        Bytes({0, 0}),
    };
    EXPECT_EQ(t.channel.chunks, expected);
}

// Progress that records positions and reports Cancel from a given band on.
class FakeProgress : public IDrawCallback {
public:
    int IsCanceled() override {
        ++checks;
        return !positions.empty() && positions.back() >= cancelFrom;
    }
    void SetPosition(int n) override { positions.push_back(n); }
    void SetRange(int) override {}
    std::vector<int> positions;
    int checks = 0;
    int cancelFrom = 1 << 30;
};

TEST(RtlRipFrame, BandsOfAPageGetHeaderWithTheTopAndTrailerWithTheBottom) {
    RtlTestHost t(4, 6);
    CRTLRip rip(t.Host(), nullptr);
    rip.m_nColorFormat = 1;
    FakeProgress progress;
    rip.m_pProgress = &progress;
    auto band = TestBand::From32(std::vector<uint32_t>(4 * 2, 0), 4, 2);
    const RECT whole{0, 0, 4, 6};
    // An all-ink row of four pixels: 0xF0, pair (0, 0xF0).
    const std::vector<std::string> body = {ESC "*b1M", ESC "*b2W", Bytes({0, 0xF0}), ESC "*b2W",
                                           Bytes({0, 0xF0})};

    const RECT first{0, 0, 4, 2};
    ASSERT_EQ(rip.OnBand(nullptr, &whole, &first, &band.bits), 1);
    ASSERT_EQ(t.channel.chunks.size(), 9u + body.size());
    EXPECT_EQ(t.channel.chunks[0], ESC "%0BTR0;PUPA0,0;");
    EXPECT_EQ(ChunksFrom(t.channel, 9), body);

    t.channel.Reset();
    const RECT middle{0, 2, 4, 4};
    ASSERT_EQ(rip.OnBand(nullptr, &whole, &middle, &band.bits), 1);
    EXPECT_EQ(t.channel.chunks, body);
    EXPECT_EQ(t.channel.closes, 0);

    t.channel.Reset();
    const RECT last{0, 4, 4, 6};
    ASSERT_EQ(rip.OnBand(nullptr, &whole, &last, &band.bits), 1);
    std::vector<std::string> expected = body;
    for (const char* s : {ESC "*rC", ESC "%0B", "PG;" ESC "E", ESC "%-12345X @PJL EOJ"}) {
        expected.push_back(s);
    }
    EXPECT_EQ(t.channel.chunks, expected);
    EXPECT_EQ(t.channel.closes, 1);
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(progress.checks, 3);
}

TEST(RtlRipFrame, CancelStopsBeforeTheBandAndEveryBandAfterIt) {
    RtlTestHost t(4, 6);
    CRTLRip rip(t.Host(), nullptr);
    rip.m_nColorFormat = 24;
    FakeProgress progress;
    progress.cancelFrom = 2;
    rip.m_pProgress = &progress;
    auto band = TestBand::From32(std::vector<uint32_t>(4 * 2, 0x123456), 4, 2);
    const RECT whole{0, 0, 4, 6};
    const RECT bands[] = {{0, 0, 4, 2}, {0, 2, 4, 4}, {0, 4, 4, 6}};
    ASSERT_EQ(rip.OnBand(nullptr, &whole, &bands[0], &band.bits), 1);
    const size_t written = t.channel.chunks.size();
    EXPECT_EQ(rip.OnBand(nullptr, &whole, &bands[1], &band.bits), 0);
    EXPECT_EQ(rip.OnBand(nullptr, &whole, &bands[2], &band.bits), 0);
    EXPECT_EQ(t.channel.chunks.size(), written);  // no trailer, no end of job
    EXPECT_EQ(t.channel.closes, 0);
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 2, 4}));
}

}  // namespace

#include <gtest/gtest.h>

#include "driver/callback_table.h"
#include "driver/hpgl2_driver.h"
#include "driver/live_allocations.h"
#include "job/job_context.h"
#include "pxrdriver/regions.h"
#include "support/scratch_config.h"

namespace {

// Entries by offset in the 32-bit table (entry k at 4 * k).
const void* Entry(const DriverCallbacks& t, int offset) {
    const auto* slots = reinterpret_cast<void* const*>(&t);
    return slots[offset / 4];
}

const int kCommon[] = {0, 4, 8, 12, 20, 24, 28, 44, 72, 76, 80, 84, 88, 196};
const int kVector[] = {96, 100, 108, 112, 116, 120, 124, 132, 136, 148, 152, 160, 180, 184};

TEST(CallbackTable, TransactionModeChoosesTheEntries) {
    ScratchConfig config;
    HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
    for (int mode : {0, 1, 2, 1, 0}) {
        driver.m_devmode.nTransaction = mode;
        HostContext host{};
        host.pDriver = &driver;
        ASSERT_EQ(driver.Attach(&host), 1) << mode;
        ASSERT_EQ(host.pCallbacks, &driver.m_callbacks);
        ASSERT_NE(host.pJob, nullptr);
        EXPECT_EQ(driver.m_attributes.m_pHost, &host);
        for (int offset : kCommon) EXPECT_NE(Entry(driver.m_callbacks, offset), nullptr) << offset;
        for (int offset : kVector)
            EXPECT_EQ(Entry(driver.m_callbacks, offset) != nullptr, mode != 1)
                << "mode " << mode << " offset " << offset;
        // The whole page's entry only where pages are rendered in the computer.
        EXPECT_EQ(Entry(driver.m_callbacks, 144) != nullptr, mode == 1) << "mode " << mode;
        // Offsets the driver has no entry for stay null in every mode.
        for (int offset : {16, 32, 36, 40, 48, 68, 92, 104, 128, 140, 156, 164, 176, 188, 192, 200})
            EXPECT_EQ(Entry(driver.m_callbacks, offset), nullptr) << offset;
        EXPECT_EQ(driver.m_callbacks.Reserved88(nullptr), 1);

        // A new job record: everything zero but these.
        const JobContext& job = *JobOf(&host);
        EXPECT_EQ(job.m_bClipIsRect, 1);
        EXPECT_EQ(job.m_nFillMode, 1);
        EXPECT_EQ(job.m_nCurRop2, 13);
        EXPECT_EQ(job.m_pOutput, nullptr);

        EXPECT_EQ(driver.Detach(&host), 1);
        EXPECT_EQ(host.pJob, nullptr);
        for (int k = 0; k < 51; ++k) EXPECT_EQ(Entry(driver.m_callbacks, 4 * k), nullptr) << k;
    }
}

TEST(CallbackTable, DetachFreesTheClipState) {
    ScratchConfig config;
    HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
    HostContext host{};
    host.pDriver = &driver;
    POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    HT_ClipRgn region{0, nullptr, 4, square};
    long before = 0;
    for (int round = 0; round < 2; ++round) {  // the first round warms the libraries up
        before = LiveAllocations();
        ASSERT_EQ(driver.Attach(&host), 1);
        driver.m_callbacks.OnSetClipRegion(&host, &region);
        driver.m_callbacks.OnBeginPath(&host);
        driver.m_callbacks.OnPolygon(&host, square, 4);
        ASSERT_NE(JobOf(&host)->m_pClipRgn, nullptr);
        ASSERT_FALSE(JobOf(&host)->m_path.empty());
        EXPECT_GT(LiveAllocations(), before);
        EXPECT_EQ(driver.Detach(&host), 1);
        EXPECT_EQ(host.pJob, nullptr);
    }
    EXPECT_EQ(LiveAllocations(), before);
}

// A host that attaches again without detaching gets a fresh job record; the
// old one, with its clip region, is freed rather than lost.
TEST(CallbackTable, AttachingTwiceKeepsOneJobRecord) {
    ScratchConfig config;
    HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
    HostContext host{};
    host.pDriver = &driver;
    POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    HT_ClipRgn region{0, nullptr, 4, square};
    // A first clipped attachment warms the libraries up, as in the test above.
    ASSERT_EQ(driver.Attach(&host), 1);
    driver.m_callbacks.OnSetClipRegion(&host, &region);
    ASSERT_EQ(driver.Detach(&host), 1);
    const long before = LiveAllocations();
    ASSERT_EQ(driver.Attach(&host), 1);
    driver.m_callbacks.OnSetClipRegion(&host, &region);
    const long attachedOnce = LiveAllocations();
    ASSERT_EQ(driver.Attach(&host), 1);
    ASSERT_NE(host.pJob, nullptr);
    EXPECT_EQ(JobOf(&host)->m_pClipRgn, nullptr);
    EXPECT_LT(LiveAllocations(), attachedOnce);
    EXPECT_EQ(driver.Detach(&host), 1);
    EXPECT_EQ(LiveAllocations(), before);
}

}  // namespace

// Cancel pressed at different moments of a real page: the page entry, the
// render thread, the bands and the progress thread together. Whatever the
// moment, the job is either whole or dropped, never half-written, and every
// thread ends.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "render/progress_fixture.h"
#include "support/emf_builder.h"
#include "support/job_harness.h"

namespace {

// Tells the script on the progress thread when the job has ended.
class WatchedChannel : public RecordingChannel {
public:
    void Abort() override {
        RecordingChannel::Abort();
        ended.store(true);
    }
    void Close() override {
        RecordingChannel::Close();
        ended.store(true);
    }
    std::atomic<bool> ended{false};
};

std::vector<BYTE> Drawing() {
    EmfBuilder emf;
    emf.CreateBrush(1, BS_SOLID, RGB(0, 0, 255)).Select(1);
    for (int i = 0; i < 40; ++i) emf.Box(EMR_ELLIPSE, 20 * i, 10 * i, 200 + 20 * i, 400 + 10 * i);
    return emf.Bytes();
}

enum class Moment {
    Never,
    AtOnce,        // before the first band
    AfterTicks,    // after a number of timer ticks
    BetweenBands,  // once the bar shows that a row has been reached
    AfterTheEnd,   // after the last band, between the finish and the next tick
};

using RenderPageCancel = ProgressThreadTest;

TEST_F(RenderPageCancel, JobIsWholeOrDroppedWheneverCancelIsPressed) {
    // Small bands, so that a page has many of them.
    setenv("PXR_RIP_BAND_ROWS", "8", 1);
    const std::vector<BYTE> bytes = Drawing();
    struct Case {
        Moment moment;
        int ticks;
    };
    std::vector<Case> cases = {{Moment::Never, 0}, {Moment::AtOnce, 0}, {Moment::AfterTheEnd, 0}};
    for (int ticks : {1, 4, 16, 64, 256}) cases.push_back({Moment::AfterTicks, ticks});
    for (int row : {8, 64, 200}) cases.push_back({Moment::BetweenBands, row});
    for (const Case& c : cases) {
        JobHarness h("EMFSPOOLING=1\nCOLOR=1\n");
        h.driver->m_devmode.dm.dmPrintQuality = 60;
        WatchedChannel channel;
        DOCINFOA info{sizeof(DOCINFOA), "page", "job.plt", nullptr, 0};
        ASSERT_EQ(h.Table().StartDocument(&h.host, &info, &channel), 1);
        presenter.dialogScripts.push_back([&c, &channel](DialogWindow& d) {
            if (c.moment == Moment::AtOnce) d.UserClick(IDCANCEL);
            if (c.moment == Moment::AfterTheEnd) {
                while (!channel.ended.load()) std::this_thread::yield();
                // The render thread sets the finished bit right after the
                // job's end; the click may come before or after it.
                d.UserClick(IDCANCEL);
            }
            bool clicked = false;
            for (int tick = 1; !d.m_bEnded; ++tick) {
                if (c.moment == Moment::AfterTicks && tick == c.ticks) d.UserClick(IDCANCEL);
                if (c.moment == Moment::BetweenBands && !clicked &&
                    d.Control(1017)->m_nPos >= c.ticks)
                    clicked = d.UserClick(IDCANCEL);
                d.TimerTick(1);
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
        HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
        ASSERT_EQ(h.Table().RenderPageInComputer(&h.host, metafile, "page", nullptr), 1);
        DeleteEnhMetaFile(metafile);
        h.Table().EndDocument(&h.host);
        AfxWaitForAllThreads();

        const std::string all = channel.Bytes();
        const bool whole =
            all.size() >= 18 && all.substr(all.size() - 18) == "\x1b%-12345X @PJL EOJ";
        EXPECT_EQ(channel.closes + channel.aborts, 1) << int(c.moment) << " " << c.ticks;
        EXPECT_EQ(channel.closes == 1, whole) << int(c.moment) << " " << c.ticks;
        if (c.moment == Moment::Never || c.moment == Moment::AfterTheEnd) {
            EXPECT_EQ(channel.closes, 1) << int(c.moment);
        }
        if (c.moment == Moment::AtOnce) {
            EXPECT_EQ(channel.aborts, 1);
        }
        // Cancelled half way down the page: rows went out, and the job was
        // dropped all the same.
        if (c.moment == Moment::BetweenBands) {
            EXPECT_EQ(channel.aborts, 1) << c.ticks;
            EXPECT_NE(all.find("\x1b*b"), std::string::npos) << c.ticks;
        }
        EXPECT_EQ(AfxRunningThreadCount(), 0);
    }
    unsetenv("PXR_RIP_BAND_ROWS");
}

TEST(RenderPageInComputer, RenderThreadThatCannotStartLeavesTheJobToTheHost) {
    JobHarness h("EMFSPOOLING=1\n");
    h.driver->m_devmode.dm.dmPrintQuality = 25;
    ASSERT_EQ(h.Start(), 1);
    const std::string header = h.TakeBytes();
    OutputChannel* channel = h.Job().m_pOutput;
    const std::vector<BYTE> bytes = Drawing();
    HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
    AfxFailNextThreadStarts(1);
    EXPECT_EQ(h.Table().RenderPageInComputer(&h.host, metafile, "page", nullptr), 0);
    EXPECT_EQ(h.Job().m_pOutput, channel);
    EXPECT_TRUE(h.Take().empty());
    EXPECT_EQ(AfxRunningThreadCount(), 0);
    DeleteEnhMetaFile(metafile);
}

}  // namespace

// Whole pages rendered in the computer: what the render thread writes for a
// page, and what is left when the page cannot be rendered or is cancelled.
#include <gtest/gtest.h>

#include <afxmt.h>
#include <afxwin.h>

#include <string>
#include <vector>

#include <windows.h>

#include "reader/plot_reader.h"
#include "render/render_page_to_raster.h"
#include "support/emf_builder.h"
#include "support/job_harness.h"

namespace {

constexpr DWORD kStockNullPen = 0x80000000u | NULL_PEN;

std::vector<BYTE> RedSquareBytes(bool brokenInTheMiddle = false) {
    EmfBuilder emf;
    emf.CreateBrush(1, BS_SOLID, RGB(255, 0, 0)).Select(1).Select(kStockNullPen);
    emf.Box(EMR_RECTANGLE, 250, 250, 751, 751);
    // An object that was never made: playback stops here.
    if (brokenInTheMiddle) emf.Select(77);
    emf.Box(EMR_RECTANGLE, 0, 0, 100, 100);
    return emf.Bytes();
}

HENHMETAFILE MetafileOf(const std::vector<BYTE>& bytes) {
    return SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
}

// A plotter rendering whole pages in the computer, at a low resolution so
// that an A4 page has a few hundred rows.
struct PageHarness {
    JobHarness h{"EMFSPOOLING=1\nCOLOR=1\n"};
    PageHarness() {
        h.driver->m_devmode.dm.dmPrintQuality = 25;
        EXPECT_EQ(h.Start(), 1);
        jobHeader = h.TakeBytes();
    }
    std::string jobHeader;  // what StartDocument wrote
};

class RecordingProgress : public IDrawCallback {
public:
    int IsCanceled() override { return ++checks > cancelAfter ? 1 : 0; }
    void SetPosition(int n) override { positions.push_back(n); }
    void SetRange(int n) override { ranges.push_back(n); }
    std::vector<int> positions, ranges;
    int checks = 0;
    int cancelAfter = 1 << 30;
};

bool Signalled(CEvent& event) {
    return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

TEST(RenderPageToRaster, WritesThePageItsEndAndTheEndOfTheJob) {
    PageHarness p;
    const int width = p.h.Table().GetDeviceCaps(&p.h.host, HORZRES);
    const int height = p.h.Table().GetDeviceCaps(&p.h.host, VERTRES);
    HENHMETAFILE metafile = MetafileOf(RedSquareBytes());
    CEvent event(FALSE, FALSE, nullptr, nullptr);
    RecordingProgress progress;
    EXPECT_EQ(RenderPageToRaster(&p.h.host, metafile, "page", nullptr, &progress, &event), 1);
    EXPECT_TRUE(Signalled(event));
    // The range is the page height, set twice; every band reports its top.
    EXPECT_EQ(progress.ranges, (std::vector<int>{height, height}));
    ASSERT_FALSE(progress.positions.empty());
    EXPECT_EQ(progress.positions.front(), 0);

    const std::vector<std::string> chunks = p.h.Take();
    ASSERT_GE(chunks.size(), 4u);
    EXPECT_EQ(chunks[0], "\x1b%1A");
    EXPECT_EQ(chunks[1], "\x1b%0BTR0;PUPA0,0;");
    EXPECT_EQ(chunks[chunks.size() - 2],
              "PG;\x1b"
              "E");
    EXPECT_EQ(chunks.back(), "\x1b%-12345X @PJL EOJ");
    const std::string all = [&] {
        std::string s;
        for (const auto& c : chunks) s += c;
        return s;
    }();
    EXPECT_NE(all.find("\x1b*r" + std::to_string(width) + "S"), std::string::npos);
    EXPECT_EQ(p.h.channel.closes, 1);
    EXPECT_EQ(p.h.channel.aborts, 0);
    EXPECT_EQ(p.h.Job().m_bPEAbsNext, 1);
    // The caller's metafile is untouched; the copy was released.
    EXPECT_TRUE(DeleteEnhMetaFile(metafile));

    // The page on paper: the red square in the middle of the frame, which
    // the page's metafile stretches over the whole printable area.
    const plot::PlotRendering plot = plot::RenderPlot(p.jobHeader + all);
    ASSERT_TRUE(plot.ok) << plot.error;
    const plot::Image page = plot::FirstPage(plot);
    EXPECT_EQ(page.At(width / 2, height / 2) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(page.At(width / 2, height / 8) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(RenderPageToRaster, PageThatIsNotRenderedDropsTheJob) {
    struct Case {
        const char* what;
        int cancelAfter;         // IsCanceled answers true after this many checks
        bool emptyCapabilities;  // the device-capability slot is empty
        bool broken;             // the metafile fails to play in the middle
        bool notAMetafile;
        bool withProgress;
    };
    const Case cases[] = {
        {"cancelled before the first band", 0, false, false, false, true},
        {"no capability slot: a 0 x 0 buffer", 1 << 30, true, false, false, true},
        {"no capability slot, no progress", 1 << 30, true, false, false, false},
        {"metafile fails in the middle", 1 << 30, false, true, false, true},
        {"a handle that is no metafile", 1 << 30, false, false, true, false},
    };
    for (const Case& c : cases) {
        PageHarness p;
        if (c.emptyCapabilities) p.h.Table().GetDeviceCaps = nullptr;
        const std::vector<BYTE> bytes = RedSquareBytes(c.broken);
        HENHMETAFILE metafile =
            c.notAMetafile ? reinterpret_cast<HENHMETAFILE>(&p) : MetafileOf(bytes);
        CEvent event(FALSE, FALSE, nullptr, nullptr);
        RecordingProgress progress;
        progress.cancelAfter = c.cancelAfter;
        EXPECT_EQ(RenderPageToRaster(&p.h.host, metafile, "page", nullptr,
                                     c.withProgress ? &progress : nullptr, &event),
                  0)
            << c.what;
        // The host's thread is never left waiting, and half a job is no job.
        EXPECT_TRUE(Signalled(event)) << c.what;
        EXPECT_EQ(p.h.channel.aborts, 1) << c.what;
        EXPECT_EQ(p.h.channel.closes, 0) << c.what;
        EXPECT_EQ(p.h.channel.Bytes().find("@PJL EOJ"), std::string::npos) << c.what;
        if (c.emptyCapabilities && c.withProgress) {
            EXPECT_EQ(progress.ranges, (std::vector<int>{0, 0})) << c.what;
        }
        if (!c.notAMetafile) {
            EXPECT_TRUE(DeleteEnhMetaFile(metafile)) << c.what;
        }
    }
}

}  // namespace

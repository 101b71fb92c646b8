#include <gtest/gtest.h>

#include <string>

#include "job/destination.h"
#include "support/job_harness.h"
#include "win32/user32/ui_presenter.h"
#include <afxwin.h>

namespace {

TEST(Destination, PlotFileNames) {
    const struct {
        const char* output;
        const char* expected;
    } cases[] = {
        {"out.plt", "out.plt"}, {"OUT.PLT", "OUT.PLT"}, {"x.Plt", "x.Plt"},
        {"LPT1:", "LPT1:.plt"}, {"plt", "plt.plt"},     {"a.plt.txt", "a.plt.txt.plt"},
    };
    for (const auto& c : cases) EXPECT_EQ(PlotFileName(c.output), c.expected) << c.output;
    EXPECT_TRUE(IsFilePort("FILE:"));
    EXPECT_TRUE(IsFilePort("file:"));
    EXPECT_FALSE(IsFilePort("FILE"));
    EXPECT_FALSE(IsFilePort("FILE:x"));
}

TEST(Destination, ProposedNames) {
    const struct {
        const char* doc;
        const char* expected;
    } cases[] = {
        {"C:\\dwg\\part.rev.dwg", "part.rev.plt"},
        {"C:\\dwg\\part", "part.plt"},
        {"", "Drawing1.plt"},
        {nullptr, "Drawing1.plt"},
        {"/home/u/plan.emf", "plan.plt"},
        {"noext", "noext.plt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProposedPlotName(c.doc), c.expected) << (c.doc ? c.doc : "(null)");
}

TEST(StartDocument, OpensTheNamedPlotFileAndFramesTheJob) {
    JobHarness h;
    ASSERT_EQ(h.Start("C:\\out\\Job"), 1);
    ASSERT_EQ(h.channel.opened.size(), 1u);
    EXPECT_EQ(h.channel.opened[0], "C:\\out\\Job.plt");
    EXPECT_EQ(h.host.bJobStarted, 1);
    // The page is the clip region.
    EXPECT_EQ(h.Job().m_ptExtent.x, 2362);
    EXPECT_EQ(h.Job().m_ptExtent.y, 3106);
    ASSERT_NE(h.Job().m_pClipData, nullptr);
    EXPECT_EQ(h.Job().m_bClipIsRect, 1);
    h.End();
    EXPECT_EQ(h.channel.closes, 1);
    h.Take();
    h.End();  // a second end finds no channel
    EXPECT_EQ(h.TakeBytes(), "");
    EXPECT_EQ(h.channel.closes, 1);
}

TEST(StartDocument, EmptyOutputUsesTheHostPort) {
    JobHarness h;
    ASSERT_EQ(h.Start(nullptr), 1);
    EXPECT_EQ(h.channel.opened.at(0), "LPT1:");
    h.End();
    JobHarness h2;
    ASSERT_EQ(h2.Start(""), 1);
    EXPECT_EQ(h2.channel.opened.at(0), "LPT1:");
}

TEST(StartDocument, FilePortAsksWhereToSave) {
    ScriptedPresenter presenter;
    SetUiPresenter(&presenter);
    JobHarness h;
    presenter.saveAnswers = {"/tmp/chosen.plt"};
    ASSERT_EQ(h.Start("file:", "C:\\dwg\\part.rev.dwg"), 1);
    ASSERT_EQ(presenter.saveRequests.size(), 1u);
    const SaveFileRequest& r = presenter.saveRequests[0];
    EXPECT_EQ(r.strInitialName, "part.rev.plt");
    EXPECT_EQ(r.strDefaultExtension, "*.plt");
    EXPECT_EQ(r.strFilter, "*.plt|*.plt|*.*|*.*||");
    EXPECT_EQ(r.dwFlags, static_cast<DWORD>(OFN_HIDEREADONLY));
    EXPECT_EQ(r.hOwner, GetDesktopWindow());
    EXPECT_EQ(h.channel.opened.at(0), "/tmp/chosen.plt");
    h.End();
    SetUiPresenter(nullptr);
}

TEST(StartDocument, CancelledSaveDialogStartsNothing) {
    ScriptedPresenter presenter;
    SetUiPresenter(&presenter);
    JobHarness h;
    ASSERT_EQ(h.Start("out.plt"), 1);  // an earlier job leaves the flag set
    h.End();
    h.Take();
    EXPECT_EQ(h.Start("FILE:"), 0);  // no answer scripted: the user cancels
    EXPECT_EQ(h.host.bJobStarted, 0);
    h.End();  // nothing to end: no bytes, no close
    EXPECT_TRUE(h.Take().empty());
    EXPECT_EQ(h.channel.closes, 1);
    EXPECT_EQ(h.channel.opened.size(), 1u);
    SetUiPresenter(nullptr);
}

TEST(StartDocument, FailedOpenWritesNothing) {
    JobHarness h;
    h.channel.openResult = 0;
    EXPECT_EQ(h.Start("out.plt"), 0);
    EXPECT_TRUE(h.Take().empty());
    EXPECT_EQ(h.host.bJobStarted, 0);
    EXPECT_EQ(h.Table().StartDocument(&h.host, nullptr, nullptr), 0);  // no channel at all
}

TEST(StartDocument, ParentWindowIsKeptForTheDialogs) {
    JobHarness h;
    ASSERT_EQ(h.Start(), 1);
    EXPECT_EQ(h.Table().SetParentWindow(&h.host, reinterpret_cast<HWND>(0x1234)), 1);
    EXPECT_EQ(h.Job().m_hParentWnd, reinterpret_cast<HWND>(0x1234));
}

// A host that starts a second document without ending the first gets the
// first plot complete (its end of job written, its channel closed) before
// the second one opens.
TEST(StartDocument, SecondStartEndsTheFirstJob) {
    JobHarness h;
    ASSERT_EQ(h.Start("first"), 1);
    h.Take();
    RecordingChannel second;
    DOCINFOA info{sizeof(DOCINFOA), "drawing", "second", nullptr, 0};
    ASSERT_EQ(h.host.pCallbacks->StartDocument(&h.host, &info, &second), 1);
    EXPECT_EQ(h.TakeBytes(), ";PUSP0PG;\x1b%-12345X@PJL EOJ ");
    EXPECT_EQ(h.channel.closes, 1);
    ASSERT_EQ(second.opened, std::vector<std::string>{"second.plt"});
    ASSERT_FALSE(second.chunks.empty());
    EXPECT_EQ(second.chunks[0], "\x1b%0BBP5,1");
    EXPECT_EQ(second.closes, 0);
    h.End();
    EXPECT_EQ(second.closes, 1);
    EXPECT_EQ(h.channel.closes, 1);
}

}  // namespace

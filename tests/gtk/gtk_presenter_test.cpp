// The GTK presenter on a real X server: each dialog of the module opens,
// every control's widget stands where its template puts it, a snapshot of
// the window is kept as a test artefact, and a click on the widget closes it.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <thread>

#include "driver/hpgl2_driver.h"
#include "render/print_pool_thread.h"
#include "support/scratch_config.h"
#include "ui/custom_paper_dlg.h"
#include "ui/module_resources.h"
#include "ui/resources/resource_ids.h"
#include "win32/gtk/gtk_presenter.h"
#include "win32/kernel32/thread_registry.h"

namespace {

class GtkDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) GTEST_SKIP() << "no display server (run under xvfb-run)";
        presenter = GtkPresenter::Create();
        ASSERT_NE(presenter, nullptr) << "GTK cannot open " << display;
        SetUiPresenter(presenter.get());
        SetResourceLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT));
        std::filesystem::create_directories(HPGL2_TEST_ARTIFACT_DIR);
    }
    void TearDown() override {
        SetUiPresenter(nullptr);
        SetResourceLanguage(0);
    }
    // Every control with an id is placed as its template says; the
    // origin exactly, the size at least (a widget never shrinks below it).
    void ExpectPlaced(DialogWindow& d) {
        SCOPED_TRACE("dialog " + std::to_string(d.TemplateId()));
        const SIZE base = presenter->BaseUnits();
        EXPECT_GT(base.cx, 2);
        EXPECT_GT(base.cy, 6);
        int checked = 0;
        for (const auto& item : d.Template().items) {
            if (item.nId < 0 || !d.Control(item.nId)->m_bVisible) continue;
            SCOPED_TRACE("control " + std::to_string(item.nId));
            RECT want, got;
            ASSERT_TRUE(presenter->TemplateRect(d, item.nId, &want));
            ASSERT_TRUE(presenter->WidgetRect(item.nId, &got));
            EXPECT_EQ(got.left, want.left);
            EXPECT_EQ(got.top, want.top);
            EXPECT_GE(got.right - got.left, want.right - want.left);
            EXPECT_GE(got.bottom - got.top, want.bottom - want.top);
            ++checked;
        }
        EXPECT_GT(checked, 1);
    }
    void Snapshot(const std::string& name) {
        const std::string path = std::string(HPGL2_TEST_ARTIFACT_DIR) + "/" + name + ".png";
        std::filesystem::remove(path);
        EXPECT_TRUE(presenter->SaveSnapshot(path));
        EXPECT_GT(std::filesystem::file_size(path), 1000u) << path;
    }

    std::unique_ptr<GtkPresenter> presenter;
    ModuleResourceScope resources;
};

TEST_F(GtkDialogs, EveryTemplateOpensWithItsControlsInPlaceAndClosesOnCancel) {
    for (int id : {IDD_HP_ADVANCE, IDD_CUSTOM_PAPER, IDD_PRINT_PROGRESS}) {
        SCOPED_TRACE(id);
        int shown = 0;
        presenter->onShown = [&](DialogWindow& d) {
            ++shown;
            EXPECT_EQ(d.TemplateId(), id);
            ExpectPlaced(d);
            Snapshot("dialog_" + std::to_string(id));
            EXPECT_TRUE(presenter->ClickWidget(IDCANCEL));
        };
        CDialog dialog(static_cast<UINT>(id));
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(shown, 1);
    }
}

TEST_F(GtkDialogs, OtherThreadsDialogsRunUnseenAndTheirQuestionsAreAnswered) {
    int shown = 0;
    presenter->onShown = [&](DialogWindow&) { ++shown; };
    // The progress thread's dialog: not shown by GTK from its thread, it runs
    // on its timers and ends on the renderer's finished bit.
    CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(CPrintPoolThread));
    ASSERT_NE(thread, nullptr);
    auto* progress = static_cast<CPrintPoolThread*>(thread);
    progress->SetRange(10);
    progress->SetPosition(10);
    progress->SetFinished();
    AfxWaitForAllThreads();
    EXPECT_EQ(shown, 0);

    int ok = 0, yesNo = 0;
    bool saved = true;
    std::thread worker([&] {
        ok = presenter->ShowMessageBox(nullptr, "from a worker", "", MB_OK);
        yesNo = presenter->ShowMessageBox(nullptr, "from a worker", "", MB_YESNO);
        std::string path;
        saved = presenter->ShowSaveDialog(SaveFileRequest{nullptr, "a.plt", "plt", "", 0}, &path);
    });
    worker.join();
    EXPECT_EQ(ok, IDOK);
    EXPECT_EQ(yesNo, IDCANCEL);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(presenter->OnGtkThread());
}

TEST_F(GtkDialogs, SettingsDialogRunsWithItsNestedDialogs) {
    ScratchConfig config;
    config.Write("hpgl2.ini", "[P]\nName=HP DesignJet\nPaperFile=paper.ini\n");
    config.Write("paper.ini", "9, 2100, 2970, 170, 170, 50, 50, ISO A4\n");
    HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
    std::vector<int> opened;
    presenter->onShown = [&](DialogWindow& d) {
        opened.push_back(d.TemplateId());
        ExpectPlaced(d);
        if (d.TemplateId() == IDD_HPGL2_CUSTOM && opened.size() == 1) {
            Snapshot("dialog_103");
            EXPECT_FALSE(d.Control(IDC_MEMORY)->m_bVisible);
            // Choosing "Auto" shows the memory size, as the dialog's handler says.
            EXPECT_TRUE(presenter->ClickWidget(IDC_TRANSACTION_AUTO));
            EXPECT_TRUE(d.Control(IDC_MEMORY)->m_bVisible);
            EXPECT_EQ(d.Control(IDC_TRANSACTION_AUTO)->m_nCheck, BST_CHECKED);
            EXPECT_TRUE(presenter->ClickWidget(IDC_COLOR_BW));
            EXPECT_TRUE(presenter->ClickWidget(IDC_ADVANCE));  // runs dialog 105 to its end
            EXPECT_TRUE(presenter->ClickWidget(IDOK));
        } else if (d.TemplateId() == IDD_HP_ADVANCE) {
            EXPECT_TRUE(presenter->ClickWidget(IDC_INKED_AREA));
            EXPECT_TRUE(presenter->ClickWidget(IDOK));
        }
    };
    EXPECT_EQ(driver.Configure(GetDesktopWindow()), 1);
    EXPECT_EQ(opened, (std::vector<int>{IDD_HPGL2_CUSTOM, IDD_HP_ADVANCE}));
    EXPECT_EQ(driver.m_devmode.nTransaction, 2);
    EXPECT_EQ(driver.m_devmode.nColorMode, 0);
    EXPECT_EQ(driver.m_devmode.bInkedArea, 1);
}

TEST_F(GtkDialogs, DialogsShowTheUsersLanguage) {
    SetResourceLanguage(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    std::string caption;
    presenter->onShown = [&](DialogWindow& d) {
        caption = d.m_strCaption;
        Snapshot("dialog_3002_ja");
        EXPECT_TRUE(presenter->ClickWidget(IDCANCEL));
    };
    CDialog dialog(IDD_CUSTOM_PAPER);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(
        caption,
        "\xE3\x82\xAB\xE3\x82\xB9\xE3\x82\xBF\xE3\x83\xA0\xE7\x94\xA8\xE7\xB4\x99");  // カスタム用紙
}

}  // namespace

namespace {

TEST_F(GtkDialogs, FocusAndDefaultButtonBehaveAsOnWindows) {
    ScratchDir dir;
    const std::string papers = dir.Write("paper.ini", "9, 2100, 2970, 170, 170, 50, 50, ISO A4\n");
    std::vector<std::string> messages;
    presenter->onMessage = [&](const GtkPresenter::ShownMessage& m) {
        messages.push_back(m.text);
        return IDOK;
    };
    presenter->onShown = [&](DialogWindow& d) {
        EXPECT_EQ(presenter->DefaultButtonId(), IDOK);
        EXPECT_EQ(presenter->FocusedId(), IDC_PAPER_NAME);  // the first tab stop
        EXPECT_EQ(d.Control(IDC_EDIT_WIDTH)->m_strText, "200");
        // Typing in the widget reaches the dialog; a refused width puts the
        // focus back on it after the message.
        EXPECT_TRUE(presenter->TypeIntoWidget(IDC_EDIT_WIDTH, "0"));
        EXPECT_EQ(d.Control(IDC_EDIT_WIDTH)->m_strText, "0");
        EXPECT_FALSE(presenter->TypeIntoWidget(IDC_EDIT_LEFT, "9"));  // read-only
        EXPECT_TRUE(presenter->ClickWidget(IDOK));
        EXPECT_FALSE(d.m_bEnded);
        EXPECT_EQ(presenter->FocusedId(), IDC_EDIT_WIDTH);
        EXPECT_TRUE(presenter->ClickWidget(IDCANCEL));
    };
    CCustomPaperSizeDlg dialog(papers.c_str(), nullptr);
    dialog.m_nPaperID = 9;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(messages,
              std::vector<std::string>{"Please enter an positive integer between 1~32767"});
}

}  // namespace

namespace {

// The colour of a pixel of a snapshot, 0xAARRGGBB.
std::uint32_t PixelAt(const std::string& png, LONG x, LONG y) {
    GdkTexture* texture = gdk_texture_new_from_filename(png.c_str(), nullptr);
    if (!texture) return 0;
    const int width = gdk_texture_get_width(texture), height = gdk_texture_get_height(texture);
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    gdk_texture_download(texture, reinterpret_cast<guchar*>(pixels.data()),
                         static_cast<size_t>(width) * 4);
    g_object_unref(texture);
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
}

TEST_F(GtkDialogs, ReadOnlyEditsShowTheDialogsFaceAsOnWindows) {
    ScratchDir dir;
    const std::string papers = dir.Write("paper.ini", "9, 2100, 2970, 170, 170, 50, 50, ISO A4\n");
    const std::string png = std::string(HPGL2_TEST_ARTIFACT_DIR) + "/read_only_edits.png";
    RECT readOnly{}, editable{};
    presenter->onShown = [&](DialogWindow&) {
        EXPECT_TRUE(presenter->WidgetRect(IDC_EDIT_LEFT, &readOnly));
        EXPECT_TRUE(presenter->WidgetRect(IDC_EDIT_WIDTH, &editable));
        EXPECT_TRUE(presenter->SaveSnapshot(png));
        EXPECT_TRUE(presenter->ClickWidget(IDCANCEL));
    };
    CCustomPaperSizeDlg dialog(papers.c_str(), nullptr);
    dialog.m_nPaperID = 9;
    dialog.DoModal();
    // Inside each edit, right of its (left-aligned) number; and the face of
    // the dialog just above the read-only edit.
    const auto inside = [&](const RECT& r) {
        return PixelAt(png, r.right - 4, (r.top + r.bottom) / 2);
    };
    const std::uint32_t face = PixelAt(png, readOnly.left + 4, readOnly.top - 2);
    EXPECT_NE(face, 0u);
    EXPECT_EQ(inside(readOnly), face);
    EXPECT_NE(inside(editable), face);
}

TEST_F(GtkDialogs, MessageBoxesSpeakTheResourcesLanguageAndShowTheirIcon) {
    struct Case {
        LANGID language;
        UINT type;
        int answer;
        std::vector<std::string> buttons;
        const char* icon;
    };
    const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);
    const LANGID simplified = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
    const LANGID traditional = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL);
    const LANGID japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
    const Case cases[] = {
        // Without an icon, MFC's: the exclamation mark with OK, the question mark with Yes/No.
        {english, MB_OK, IDOK, {"OK"}, "dialog-warning"},
        {english, MB_YESNO, IDNO, {"&Yes", "&No"}, "dialog-question"},
        {simplified, MB_YESNO, IDYES, {"\xE6\x98\xAF(&Y)", "\xE5\x90\xA6(&N)"}, "dialog-question"},
        {traditional,
         MB_OKCANCEL | MB_ICONINFORMATION,
         IDCANCEL,
         {"\xE7\xA2\xBA\xE5\xAE\x9A", "\xE5\x8F\x96\xE6\xB6\x88"},
         "dialog-information"},
        {japanese,
         MB_OKCANCEL | MB_ICONSTOP,
         IDOK,
         {"OK", "\xE3\x82\xAD\xE3\x83\xA3\xE3\x83\xB3\xE3\x82\xBB\xE3\x83\xAB"},
         "dialog-error"},
        {japanese,
         MB_YESNO | MB_ICONEXCLAMATION,
         IDYES,
         {"\xE3\x81\xAF\xE3\x81\x84(&Y)", "\xE3\x81\x84\xE3\x81\x84\xE3\x81\x88(&N)"},
         "dialog-warning"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.buttons.front());
        SetResourceLanguage(c.language);
        GtkPresenter::ShownMessage shown;
        presenter->onMessage = [&](const GtkPresenter::ShownMessage& m) {
            shown = m;
            return c.answer;
        };
        EXPECT_EQ(AfxMessageBox("Paper name can not be null", c.type), c.answer);
        EXPECT_EQ(shown.text, "Paper name can not be null");
        EXPECT_EQ(shown.buttons, c.buttons);
        EXPECT_EQ(shown.icon, c.icon);
    }
}

}  // namespace

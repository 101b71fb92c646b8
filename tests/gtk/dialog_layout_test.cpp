// Each dialog of the module in each of its languages, laid out by the GTK
// presenter in the font Windows would use: every text fits its control, no
// two controls overlap, and a snapshot of each is kept as a test artefact.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "dialog_layout.h"
#include "driver/hpgl2_driver.h"
#include "support/scratch_config.h"
#include "ui/advance_dlg.h"
#include "ui/custom_paper_dlg.h"
#include "ui/module_resources.h"
#include "ui/resources/resource_ids.h"

namespace {

struct Language {
    const char* tag;
    LANGID id;
};
constexpr Language kLanguages[] = {
    {"en", MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT)},
    {"zh_CN", MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)},
    {"zh_TW", MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL)},
    {"ja", MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)},
};

TEST(GtkDialogLayout, EveryTextFitsAndNoControlsOverlapInEveryLanguage) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no display server (run under xvfb-run)";
    auto presenter = GtkPresenter::Create();
    ASSERT_NE(presenter, nullptr);
    SetUiPresenter(presenter.get());
    ModuleResourceScope resources;
    std::filesystem::create_directories(HPGL2_TEST_ARTIFACT_DIR);
    ScratchConfig config;
    config.Write("hpgl2.ini", "[P]\nName=HP DesignJet\nPaperFile=paper.ini\n");
    const std::string papers =
        config.Write("paper.ini", "9, 2100, 2970, 170, 170, 50, 50, ISO A4\n");

    // The dialogs as their code opens them, so that the lists and texts
    // filled at opening are measured too.
    const std::function<void()> open[] = {
        [&] {
            HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
            driver.Configure(GetDesktopWindow());
        },
        [] { CDialog(IDD_PRINT_PROGRESS).DoModal(); },
        [] { CHP_AdvanceDlg(nullptr).DoModal(); },
        [&] {
            CCustomPaperSizeDlg dialog(papers.c_str(), nullptr);
            dialog.m_nPaperID = 9;
            dialog.DoModal();
        },
    };
    for (const Language& language : kLanguages) {
        SetResourceLanguage(language.id);
        for (const auto& run : open) {
            int shown = 0;
            presenter->onShown = [&](DialogWindow& d) {
                ++shown;
                const std::string name = std::to_string(d.TemplateId()) + "_" + language.tag;
                for (const std::string& fault : LayoutFaults(*presenter, d))
                    ADD_FAILURE() << "dialog " << name << ": " << fault;
                const std::string png =
                    std::string(HPGL2_TEST_ARTIFACT_DIR) + "/dialog_" + name + ".png";
                EXPECT_TRUE(presenter->SaveSnapshot(png)) << png;
                EXPECT_TRUE(presenter->ClickWidget(IDCANCEL));
            };
            run();
            EXPECT_EQ(shown, 1) << language.tag;
        }
    }
    SetResourceLanguage(0);
    SetUiPresenter(nullptr);
}

}  // namespace

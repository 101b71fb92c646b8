#include "filter/filter_session.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <windows.h>

#include "commands/settings_fields.h"
#include "host/data_folder.h"
#include "host/driver_settings.h"
#include "host/install_paths.h"
#include "host/process_paths.h"
#include "ppd/plotter_description.h"
#include "pxrdriver/app_paths.h"
#include "win32/user32/ui_presenter.h"

FilterSession::~FilterSession() {
    m_module.reset();  // the module and its threads go before their folder
    if (!m_data.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_data, ec);
    }
}

bool FilterSession::Open(const std::string& ppdPath, const std::string& options,
                         std::string* error) {
    if (ppdPath.empty()) {
        *error =
            "no PPD (the PPD environment variable is not set): run by CUPS for a queue "
            "made from an HPGL2 PPD";
        return false;
    }
    if (!ReadPpd(ppdPath, &m_ppd, error) || !BuildJobRequest(m_ppd, options, &m_request, error))
        return false;

    // Built: the module and hpgl2.ini beside the filter. Installed:
    // PREFIX/lib/cups/filter/, with the module in PREFIX/lib and the
    // configuration in PREFIX/share/hpgl2.
    const std::string here = FolderOfExecutable();
    ChooseApplicationFolder(here, {"../../../share/hpgl2", "../share/hpgl2"});
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/hpgl2-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        *error = "cannot make a folder for the job in " + pattern.substr(0, pattern.rfind('/'));
        return false;
    }
    m_data = pattern;
    setenv("PXR_DATA_DIR", m_data.c_str(), 1);
    PreparePaperLists(KestGetAppFullPath(), KestGetAppDataPath());

    if (!m_module->Load(FindBeside(here, {".", "../..", "../lib"}, "HPGL2.pxr"), error))
        return false;
    m_driver = m_module->Find(m_request.plotter);
    if (!m_driver) {
        *error = "the plotter \"" + m_request.plotter + "\" of this queue is not in " +
                 KestGetAppFullPath() + "/hpgl2.ini";
        return false;
    }
    m_papers = FetchPapers(m_driver);
    return true;
}

bool FilterSession::ApplyRequest(std::string* error) {
    // The dialogs first: their OK keeps the paper and resolution they
    // opened with, which the page set-up then sets.
    ScriptedPresenter presenter;
    SetUiPresenter(&presenter);
    auto run = std::make_shared<SettingsRun>();
    ScriptChangeSettings(presenter, m_request.fields, m_papers, run);
    m_driver->Configure(GetDesktopWindow());
    SetUiPresenter(nullptr);
    if (!run->accepted) {
        std::string why;
        for (const std::string& e : run->errors) why += (why.empty() ? "" : "; ") + e;
        for (const std::string& m : presenter.messages) why += (why.empty() ? "" : "; ") + m;
        *error = "the plotter's settings dialog refused the job's options" +
                 (why.empty() ? std::string() : ": " + why);
        return false;
    }

    const std::vector<std::string> keywords = PaperKeywords(m_papers);
    int paperId = -1;
    for (size_t i = 0; i < keywords.size(); ++i)
        if (keywords[i] == m_request.paper) paperId = m_papers[i].nPaperID;
    if (paperId < 0) {
        *error = "PageSize=" + m_request.paper + ": the plotter's paper list has no such paper";
        return false;
    }
    return ApplyPageRequest(
        m_driver, PageRequest{std::to_string(paperId), m_request.orientation, m_request.dpi},
        error);
}

#include "ppd/plotter_description.h"

#include <cstdlib>
#include <cups/cups.h>
#include <memory>
#include <set>
#include <windows.h>

#include "commands/settings_fields.h"
#include "host/driver_settings.h"
#include "host/loaded_module.h"
#include "host/paper_choice.h"
#include "win32/user32/ui_presenter.h"

bool DescribePlotter(LoadedModule& module, const std::string& section, PlotterDescription* out,
                     std::string* error) {
    HT_Driver* driver = module.Find(section);
    if (!driver) {
        *error = "no plotter \"" + section + "\" in hpgl2.ini";
        return false;
    }
    out->section = section;
    out->name = driver->GetName();
    out->papers = FetchPapers(driver);
    const auto record = FetchSettings(driver);
    if (!record || out->papers.empty()) {
        *error = "\"" + out->name + "\" hands out no settings or no paper list";
        return false;
    }
    out->paperId = record->Public().dmPaperSize;
    out->dpi = PrintQuality(record->Public());

    ScriptedPresenter presenter;
    SetUiPresenter(&presenter);
    auto run = std::make_shared<SettingsRun>();
    ScriptShowSettings(presenter, out->papers, run);
    driver->Configure(GetDesktopWindow());
    SetUiPresenter(nullptr);
    // A choice is shown as "3 (Random compressed)"; the check boxes as 0 or 1.
    for (const auto& [field, text] : run->shown)
        out->settings[field] = std::to_string(std::atoi(text.c_str()));
    if (out->settings.empty()) {
        *error = "the settings dialog of \"" + out->name + "\" did not open";
        return false;
    }
    return true;
}

std::vector<std::string> ConfiguredPlotters(const std::string& appDir) {
    const std::string ini = appDir + "/hpgl2.ini";
    std::vector<char> names(1 << 16);
    const DWORD n =
        GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), ini.c_str());
    std::vector<std::string> sections;
    for (DWORD at = 0; at < n && names[at];) {
        sections.emplace_back(&names[at]);
        at += static_cast<DWORD>(sections.back().size()) + 1;
    }
    return sections;
}

std::vector<std::string> PaperKeywords(const std::vector<PaperSize>& papers) {
    std::vector<std::string> keywords;
    std::set<std::string> taken;
    for (const PaperSize& p : papers) {
        // pwgMediaForSize takes hundredths of a millimetre.
        pwg_media_t* media = pwgMediaForSize(p.nPaperWidth * 10, p.nPaperLength * 10);
        std::string keyword = media && media->ppd ? media->ppd : "";
        if (keyword.empty() || taken.count(keyword)) keyword = "Paper" + std::to_string(p.nPaperID);
        taken.insert(keyword);
        keywords.push_back(keyword);
    }
    return keywords;
}

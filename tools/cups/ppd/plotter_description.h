// What a plotter's PPD is made from, learnt as a host learns it: the
// driver's name, its paper list through its device capabilities, its
// resolution and paper from the public settings, and the other settings as
// its own dialogs show them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "pxrdriver/paper.h"

class LoadedModule;

struct PlotterDescription {
    std::string section;  // the configuration name (section of hpgl2.ini)
    std::string name;     // the display name
    std::vector<PaperSize> papers;
    int paperId = 0;  // the paper of the settings
    int dpi = 300;
    // Settings field -> the dialog's choice index, as text ("3").
    std::map<std::string, std::string> settings;
};

// False with a message when the module has no such plotter or the driver
// does not show its settings.
bool DescribePlotter(LoadedModule& module, const std::string& section, PlotterDescription* out,
                     std::string* error);

// The sections of the application folder's hpgl2.ini, in file order.
std::vector<std::string> ConfiguredPlotters(const std::string& appDir);

// The PPD choice name of each paper, in list order: the standard name
// (A0, Letter, ARCHD ...) when the sheet has a standard size and no earlier
// paper took that name, else "PaperN" with the paper's number.
std::vector<std::string> PaperKeywords(const std::vector<PaperSize>& papers);

// A PPD for one plotter: its papers with their imageable areas, the
// resolutions, colour models and options of its settings dialogs, the
// filters that drive the module, and the plotter's configuration name for
// them.
#pragma once

#include <string>

#include "ppd/plotter_description.h"

// The PPD attribute that names the plotter's configuration (its section of
// hpgl2.ini) for the filters.
inline constexpr const char* kPlotterAttribute = "hpgl2Plotter";

std::string WritePpd(const PlotterDescription& plotter);

// "DesignJet_750C.ppd" for the section "DesignJet 750C".
std::string PpdFileName(const std::string& section);

// The line that tells where the drawing lands on the sheet.
#pragma once

#include "commands/plot_options.h"
#include "host/page_setup.h"
#include "playback/page_placement.h"

void TellPlacement(const PlotOptions& options, const PageDescription& page, const Placement& p);

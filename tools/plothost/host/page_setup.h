// The page a plot goes on: paper, orientation and resolution, asked of the
// driver through the public DEVMODEA part of its settings (dmPaperSize,
// dmOrientation, dmPrintQuality), then SetDevMode, as a CAD host's page
// set-up does.
#pragma once

#include <string>

#include "pxrdriver/ht_driver.h"

enum class Orientation { Unchanged, Portrait, Landscape };

struct PageRequest {
    std::string paper;  // number or name; empty keeps the driver's paper
    Orientation orientation = Orientation::Unchanged;
    int dpi = 0;  // 0 keeps the driver's resolution
};

// Applies what the request changes; false with a message when a paper is
// unknown or the driver refuses the settings. A request that changes
// nothing leaves the driver alone.
bool ApplyPageRequest(HT_Driver* driver, const PageRequest& request, std::string* error);

struct PageDescription {
    std::string paper;  // the paper's name, "custom paper" or "paper N"
    bool landscape = false;
};

// The paper and orientation the driver's settings hold now.
PageDescription DescribePage(HT_Driver* driver);

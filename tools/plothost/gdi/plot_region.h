// Clip regions of plothost's plot device: the framework's regions, as the
// driver receives them, behind the player's region handles.
#pragma once

#include <memory>

#include "pxrdriver/regions.h"
#include "win32/gdi32/metafile/metafile_device.h"

struct PlotRegion : MetafileRegion {
    explicit PlotRegion(std::shared_ptr<CKestRgn> r) : region(std::move(r)) {}
    std::shared_ptr<CKestRgn> region;
};

// The framework region behind a device region; null for none.
const std::shared_ptr<CKestRgn>& KestRegionOf(const RegionRef& region);

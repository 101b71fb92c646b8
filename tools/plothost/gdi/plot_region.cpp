#include "gdi/plot_region.h"

const std::shared_ptr<CKestRgn>& KestRegionOf(const RegionRef& region) {
    static const std::shared_ptr<CKestRgn> none;
    const auto* plot = dynamic_cast<const PlotRegion*>(region.get());
    return plot ? plot->region : none;
}

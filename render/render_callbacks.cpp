#include "driver/callback_groups.h"
#include "render/render_page_in_computer.h"
#include "render/render_page_to_raster.h"

void InstallWholePageCallbacks(DriverCallbacks* t) {
    t->RenderPageInComputer = RenderPageInComputer;
}

void InstallRegionCallbacks(DriverCallbacks* t) {
    t->RenderMetafileRegion = RenderMetafileRegion;
}

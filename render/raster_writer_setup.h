// The raster writer of a page or region rendered in the computer, set up
// from the driver's settings.
#pragma once

#include "driver/hpgl2_devmode.h"
#include "rtl/rtl_rip.h"

// Colour format from the colour mode (black and white: one bit; colour:
// direct RGB; grey: 8-bit grey; any other mode keeps the writer's default),
// compression and data mode as the settings say.
void SetUpRasterWriter(CRTLRip& rip, const HPGL2DevMode& settings);

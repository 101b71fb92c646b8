// Clipping: the plotter's input window always clips to the region's bounding
// rectangle; the job's clip state tells the primitives when software
// clipping is needed as well.
#pragma once

#include "pxrdriver/host_context.h"

struct HT_ClipRgn;

int OnSetClipRegion(HostContext* pHost, const HT_ClipRgn* pRegion);
int OnResetInputWindow(HostContext* pHost);

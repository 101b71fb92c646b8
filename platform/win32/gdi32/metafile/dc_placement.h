// Where PlayEnhMetaFile puts a metafile played into a device context.
#pragma once

#include <string>

#include "gdi32/gdi_objects.h"
#include "win32/gdi32/metafile/metafile_player.h"

// The metafile's frame onto rect (logical units of dc), through dc's world
// transform and window and viewport mapping to its device pixels, hatches
// starting from dc's brush origin. False with a message when the header
// gives no usable reference device.
bool PlacementInDc(const HDC__& dc, const EmfDocument& doc, const RECT& rect,
                   MetafilePlacement* placement, std::string* error);

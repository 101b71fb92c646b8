// Hatched brushes. The plotter fills only solid; a hatched area reaches it
// as the hatch lines themselves, clipped to the area.
#pragma once

#include <functional>
#include <span>

#include <windows.h>

#include "pxrdriver/regions.h"

// GDI hatches repeat every 8 device pixels.
constexpr int kHatchSpacing = 8;

// The lines of hatch style HS_HORIZONTAL ... HS_DIAGCROSS over the region,
// spaced as GDI spaces them and aligned to the brush origin (device pixels),
// each clipped to the region; every visible piece goes to emit. An unknown
// style draws nothing.
void DrawHatchLines(CKestRgn* region, ULONG hatchStyle, POINT brushOrigin, int spacing,
                    const std::function<void(std::span<const POINT>)>& emit);

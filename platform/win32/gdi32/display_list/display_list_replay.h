// Drawing a band of a page from its display list.
#pragma once

#include "gdi32/display_list/display_list_store.h"

// Draws the primitives that touch the page's rows [top, top + rows) into
// the first rows of dc's bitmap; returns the part of the bitmap they may
// have changed (their boxes together), empty when none was drawn.
RECT DrawDisplayListRows(const DisplayListData& data, HDC__& dc, unsigned top, unsigned rows);

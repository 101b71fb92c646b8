// How many bytes a BITMAPINFO and its pixels take, read from the header as
// GDI reads them: StretchDIBits has no lengths to check against and trusts
// the header for them.
#pragma once

#include <cstddef>

#include "win32/gdi32/dib.h"

// The header, the masks of a plain BI_BITFIELDS header and the colour
// table; false for a header size no bitmap has.
bool DibInfoBytes(const BITMAPINFO* bmi, UINT usage, size_t* bytes);
// Whole rows for uncompressed bitmaps, biSizeImage for compressed ones; 0
// when the size does not fit.
size_t DibBitsBytes(const BITMAPINFO* bmi);

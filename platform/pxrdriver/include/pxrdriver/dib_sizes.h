// Sizes of a device-independent bitmap described by its header.
#pragma once

#include <cstddef>
#include <windows.h>

#include "pxrdriver/api.h"

// Bytes of pixel data of an uncompressed bitmap of this header: rows padded
// to whole DWORDs times |biHeight|; 0 when the header has no pixels or the
// size does not fit a size_t (a caller allocating it then allocates nothing).
PXR_API size_t HT_GetDIBPixelSize(const BITMAPINFOHEADER& header);
// Entries of the colour table that follows the header: biClrUsed, or every
// index of 1, 4 and 8 bits when it is 0; three masks for BI_BITFIELDS.
// Never more than 256, whatever biClrUsed says: no bitmap indexes more.
PXR_API DWORD HT_GetDIBColorCount(const BITMAPINFOHEADER& header);

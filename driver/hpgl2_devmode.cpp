#include "driver/hpgl2_devmode.h"

#include <cstring>

void FillDefaultDevMode(HPGL2DevMode* r) {
    std::memset(r, 0, sizeof *r);
    DEVMODEA& dm = r->dm;
    dm.dmSpecVersion = 1;
    dm.dmDriverVersion = 2;
    dm.dmSize = sizeof(DEVMODEA);
    dm.dmDriverExtra = sizeof(HPGL2DevMode) - sizeof(DEVMODEA);
    dm.dmFields = 0x123;
    dm.dmOrientation = DMORIENT_PORTRAIT;
    dm.dmPaperSize = 9;  // A4
    dm.dmPaperLength = 2970;
    dm.dmPaperWidth = 2100;
    dm.dmScale = 100;
    dm.dmPrintQuality = 300;
    dm.dmColor = 2;
    dm.dmDuplex = 1;
    dm.dmYResolution = 300;
    dm.dmTTOption = 1;
    std::memcpy(r->szDeviceTag, "HPGL2", 6);
    r->nReserved = 256;
    r->nPaperCode = 9;
    r->nPaperWidth = 2100;
    r->nPaperLength = 2970;
    r->nMarginLeft = 50;
    r->nMarginTop = 170;
    r->nMarginRight = 50;
    r->nMarginBottom = 170;
    r->nClipMode = CLIP_ENABLE | CLIP_RECT | CLIP_WINDING;
    r->nColorMode = 1;
    r->nMemorySize = 0x80000;
    r->nCompression = 3;
    r->nDataMode = 3;
}

void CopyToField(char* pField, size_t nFieldSize, const char* pszText) {
    if (nFieldSize == 0) return;
    const size_t n = pszText ? strnlen(pszText, nFieldSize - 1) : 0;
    if (n) std::memcpy(pField, pszText, n);
    std::memset(pField + n, 0, nFieldSize - n);
}

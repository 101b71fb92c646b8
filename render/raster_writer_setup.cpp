#include "render/raster_writer_setup.h"

void SetUpRasterWriter(CRTLRip& rip, const HPGL2DevMode& settings) {
    switch (settings.nColorMode) {
        case 0: rip.m_nColorFormat = 1; break;
        case 1: rip.m_nColorFormat = 24; break;
        case 2: rip.m_nColorFormat = -256; break;
        default: break;  // an unknown mode keeps the writer's default
    }
    rip.m_nCompression = settings.nCompression;
    rip.m_nDataMode = settings.nDataMode;
}

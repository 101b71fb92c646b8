#pragma once

// Everything the host framework library exports: PXRDriver.dll on Windows
// exports what is marked so, and its users import it.
#if defined(_WIN32)
#if defined(HPGL2_BUILDING_PXRDRIVER)
#define PXR_API __declspec(dllexport)
#else
#define PXR_API __declspec(dllimport)
#endif
#else
#define PXR_API __attribute__((visibility("default")))
#endif

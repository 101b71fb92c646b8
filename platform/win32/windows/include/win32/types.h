// On Windows the Win32 types, functions and constants are the system's: the
// headers of the Linux stand-ins are replaced by this one (their overlays
// in this folder include it), and what the platform layer adds to Win32
// (the MFC subset, the metafile player, the host's helpers) is exported by
// PXRDriver.dll.
#pragma once

#include <windows.h>
#include <commctrl.h>

#if defined(HPGL2_BUILDING_PXRDRIVER)
#define WIN32_API __declspec(dllexport)
#else
#define WIN32_API __declspec(dllimport)
#endif

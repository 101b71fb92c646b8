// The Win32 subset that the plotter driver module and its host use, for Linux.
// Names, signatures, record layouts and results follow the real Win32 API, so
// that code written against these headers also compiles against the real ones.
#pragma once

#include "win32/types.h"
#include "win32/gdi32/devmode.h"
#include "win32/kernel32/profile.h"
#include "win32/kernel32/global_memory.h"
#include "win32/user32/rect.h"
#include "win32/user32/user.h"
#include "win32/kernel32/synch.h"
#include "win32/user32/window.h"
#include "win32/kernel32/resources.h"
#include "win32/gdi32/gdi.h"
#include "win32/gdi32/gdi_text.h"
#include "win32/gdi32/gdi_raster.h"
#include "win32/gdi32/gdi_gradient.h"
#include "win32/gdi32/enh_metafile.h"

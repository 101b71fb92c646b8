// Compiled with -m32 -fsyntax-only: the records that cross the host boundary
// have the offsets of the 32-bit host (the static_asserts in the headers
// take effect where pointers are 4 bytes).
#include "driver/hpgl2_devmode.h"
#include "pxrdriver/driver_callbacks.h"
#include "pxrdriver/host_context.h"
#include "pxrdriver/paper.h"
#include "pxrdriver/regions.h"
#include "pxrdriver/rip.h"

static_assert(sizeof(void*) == 4, "this file is compiled for the 32-bit host");
static_assert(sizeof(DriverCallbacks) == 204);
static_assert(offsetof(DriverCallbacks, SetParentWindow) == 196);
static_assert(sizeof(DrawAttributes) == 20);
static_assert(sizeof(HT_ClipRgn) == 16);
static_assert(offsetof(HT_ClipRgn, pPoints) == 12);
static_assert(sizeof(RipBandBits) == 16);

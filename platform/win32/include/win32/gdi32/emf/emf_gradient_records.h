// EMR_GRADIENTFILL: nVer TRIVERTEX follow the fixed part, then nTri
// GRADIENT_RECT (the two rectangle modes) or GRADIENT_TRIANGLE (triangle
// mode). Read it through win32/emf_record_views.h, which checks that the
// arrays fit the record and that every index names a vertex.
#pragma once

#include <cstddef>

#include "win32/gdi32/emf/emf_records.h"
#include "win32/gdi32/gdi_gradient.h"

struct EMRGRADIENTFILL {
    EMR emr;
    RECTL rclBounds;
    DWORD nVer;
    DWORD nTri;
    ULONG ulMode;
    TRIVERTEX Ver[1];
};

static_assert(offsetof(EMRGRADIENTFILL, Ver) == 36);

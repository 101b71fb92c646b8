// The vertex and mesh types of GradientFill, with wingdi.h's names and
// layouts: colours are 16 bits a channel, the 8-bit colour in the high byte.
#pragma once

#include "win32/types.h"

using COLOR16 = USHORT;

struct TRIVERTEX {
    LONG x;
    LONG y;
    COLOR16 Red;
    COLOR16 Green;
    COLOR16 Blue;
    COLOR16 Alpha;
};

struct GRADIENT_RECT {
    ULONG UpperLeft;
    ULONG LowerRight;
};

struct GRADIENT_TRIANGLE {
    ULONG Vertex1;
    ULONG Vertex2;
    ULONG Vertex3;
};

constexpr ULONG GRADIENT_FILL_RECT_H = 0x00;
constexpr ULONG GRADIENT_FILL_RECT_V = 0x01;
constexpr ULONG GRADIENT_FILL_TRIANGLE = 0x02;

static_assert(sizeof(TRIVERTEX) == 16 && sizeof(GRADIENT_RECT) == 8 &&
              sizeof(GRADIENT_TRIANGLE) == 12);

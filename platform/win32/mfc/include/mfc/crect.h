// CRect: a RECT with MFC's constructors and helpers.
#pragma once

#include "win32/types.h"

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}  // NOLINT: implicit, as in MFC
    CRect(POINT topLeft, POINT bottomRight)
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

    // right - left as Windows computes it: wrapped to 32 bits, without the
    // undefined behaviour of a signed overflow. Code that meets extreme
    // rectangles works the size out in 64 bits instead.
    int Width() const {
        return static_cast<int>(static_cast<unsigned>(right) - static_cast<unsigned>(left));
    }
    int Height() const {
        return static_cast<int>(static_cast<unsigned>(bottom) - static_cast<unsigned>(top));
    }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const RECT& r) const {
        return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
    }
};

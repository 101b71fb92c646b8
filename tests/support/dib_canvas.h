// A memory device context over a 32-bit DIB section of white pixels, for
// tests of the raster GDI and of metafiles played into it: pixels read back
// as 0x00RRGGBB, top row first, whichever way the section is stored.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include <windows.h>

#include "picture/plot_image.h"
#include "support/dib_builder.h"

class DibCanvas {
public:
    DibCanvas(int w, int h, bool topDown = true) : width(w), height(h), m_topDown(topDown) {
        dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader = TestHeader(w, topDown ? -h : h, 32, BI_RGB);
        section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        old = SelectObject(dc, section);
        std::memset(m_bits, 0xFF, static_cast<size_t>(w) * h * 4);
    }
    ~DibCanvas() {
        SelectObject(dc, old);
        DeleteObject(section);
        DeleteDC(dc);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    uint32_t At(int x, int y) const {
        const int row = m_topDown ? y : height - 1 - y;
        const BYTE* p =
            static_cast<const BYTE*>(m_bits) + (static_cast<size_t>(row) * width + x) * 4;
        return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    }
    // Pixels of the colour in the rectangle (l, t) - (r, b), edges excluded.
    size_t Count(uint32_t colour, int l, int t, int r, int b) const {
        size_t n = 0;
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) n += At(x, y) == colour;
        return n;
    }
    plot::Image Image() const {
        plot::Image image(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) image.At(x, y) = At(x, y);
        return image;
    }
    void Fill(int l, int t, int r, int b, COLORREF color) {
        HBRUSH brush = CreateSolidBrush(color);
        const RECT rect{l, t, r, b};
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
    // Plays the metafile onto the whole section.
    BOOL Play(const std::vector<BYTE>& bytes) {
        HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
        EXPECT_NE(metafile, nullptr);
        const RECT all{0, 0, width, height};
        const BOOL played = PlayEnhMetaFile(dc, metafile, &all);
        EXPECT_TRUE(DeleteEnhMetaFile(metafile));
        return played;
    }

    int width;
    int height;
    HDC dc;
    HBITMAP section;
    HGDIOBJ old;

private:
    bool m_topDown;
    void* m_bits = nullptr;
};

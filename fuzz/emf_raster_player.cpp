// Arbitrary metafiles played into a small memory device context, as
// PlayEnhMetaFile plays them into a bitmap: whatever the records hold
// (object indexes, transforms, curves, clip regions, bitmaps, text), no
// crash and no undefined behaviour in the player or the raster device.
#include <cstring>
#include <vector>

#include <windows.h>

// fontconfig keeps what it read of its configuration for the life of the
// process, some of it where the leak checker cannot follow: text records
// reach it, and the leak is none of this code's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(size), data);
    if (!metafile) return 0;
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 64;
    info.bmiHeader.biHeight = -48;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, section);
    // A clip of the context's own and a placement partly off the bitmap.
    IntersectClipRect(dc, 2, 2, 60, 44);
    const RECT where{-8, 4, 56, 52};
    PlayEnhMetaFile(dc, metafile, &where);
    SelectObject(dc, old);
    DeleteObject(section);
    DeleteDC(dc);
    DeleteEnhMetaFile(metafile);
    return 0;
}

// What the system's shaping (Uniscribe) needs of the Windows font cache:
// the GDI font of each realised font, its script cache, and a device
// context to shape on. Fonts are realised at kRealisedEmPixels pixels to
// the em, so what Uniscribe places is in those pixels.
#pragma once

#include <mutex>

#include <usp10.h>

#include "win32/gdi32/fonts.h"

constexpr LONG kRealisedEmPixels = 2048;

struct FontCacheFaces {
    struct Face {
        HFONT font = nullptr;
        SCRIPT_CACHE* scriptCache = nullptr;
    };
    // Held while shaping: the script caches and the shaping DC serve one
    // thread at a time.
    static std::unique_lock<std::mutex> LockShaping(FontCache& fonts);
    // A memory DC with no font of its own selected.
    static HDC ShapingDc(FontCache& fonts);
    // The realised font of an id; {} for an id that names none.
    static Face Of(FontCache& fonts, FontId font);
};

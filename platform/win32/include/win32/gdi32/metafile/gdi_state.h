// The drawing state of the device context a metafile plays into: mapping
// mode, window and viewport, world transform, modes, selected objects, clip
// region and current position, with the save stack of SaveDC/RestoreDC.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "win32/gdi32/emf/emf_records.h"
#include "win32/gdi32/metafile/gdi_objects.h"
#include "win32/gdi32/metafile/gdi_transform.h"
#include "win32/gdi32/metafile/metafile_device.h"

// The device the metafile was recorded for, from its header: the mapping
// modes with fixed units (MM_LOMETRIC ...) are defined by its size.
struct ReferenceDevice {
    double pixelsX = 1;
    double pixelsY = 1;
    double millimetresX = 1;
    double millimetresY = 1;
};

// The reference device of the header: szlMicrometers when the header has
// it, else szlMillimeters, against szlDevice. False with a message when the
// header gives no usable size.
bool ReadReferenceDevice(const ENHMETAHEADER& header, ReferenceDevice* device, std::string* error);

struct DcState {
    int mapMode = MM_TEXT;
    POINT windowOrg{0, 0};
    POINT viewportOrg{0, 0};
    SIZE windowExt{1, 1};
    SIZE viewportExt{1, 1};
    Affine world;

    int polyFillMode = ALTERNATE;
    int rop2 = R2_COPYPEN;
    int bkMode = OPAQUE;
    COLORREF bkColor = RGB(255, 255, 255);
    int arcDirection = AD_COUNTERCLOCKWISE;
    POINT brushOrg{0, 0};  // device pixels
    // How bitmaps are stretched; GDI plays a metafile from BLACKONWHITE,
    // a new device context's mode.
    int stretchMode = BLACKONWHITE;

    std::shared_ptr<const GdiPen> pen;
    std::shared_ptr<const GdiBrush> brush;
    std::shared_ptr<const GdiFont> font;
    UINT textAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
    COLORREF textColor = RGB(0, 0, 0);
    // In device pixels; null when nothing is clipped. Regions are
    // never changed in place, so saved states share them.
    RegionRef clip;
    // The meta region (SETMETARGN), device pixels; null when there is none.
    // The clip never reaches beyond it, and resetting the clip returns to it.
    RegionRef metaClip;

    DPoint position;  // current position, logical units
};

// The default state of a new device context: black pen, white brush, the
// system font.
DcState DefaultDcState();

// Page space to reference-device pixels (window -> viewport).
Affine PageToDevice(const DcState& dc);

void SetMapMode(DcState* dc, int mode, const ReferenceDevice& device);
// Extents change only in the scalable modes; zero extents are refused.
void SetWindowExt(DcState* dc, SIZE extent, const ReferenceDevice& device);
void SetViewportExt(DcState* dc, SIZE extent, const ReferenceDevice& device);
void ScaleWindowExt(DcState* dc, LONG xNum, LONG xDenom, LONG yNum, LONG yDenom,
                    const ReferenceDevice& device);
void ScaleViewportExt(DcState* dc, LONG xNum, LONG xDenom, LONG yNum, LONG yDenom,
                      const ReferenceDevice& device);

// False (state unchanged) for a transform GDI refuses: one that is not
// invertible, or an unknown mode.
bool SetWorldTransform(DcState* dc, const XFORM& xform);
bool ModifyWorldTransform(DcState* dc, const XFORM& xform, DWORD mode);

// SaveDC / RestoreDC. Restore takes GDI's argument: negative counts back
// from the newest saved state, positive names a saved state counted from 1.
// False (nothing restored) for a level that was not saved.
class DcStack {
public:
    DcStack() : m_current(DefaultDcState()) {}
    DcState& Current() { return m_current; }
    const DcState& Current() const { return m_current; }
    void Save() { m_saved.push_back(m_current); }
    bool Restore(LONG level);
    size_t Depth() const { return m_saved.size(); }

private:
    DcState m_current;
    std::vector<DcState> m_saved;
};

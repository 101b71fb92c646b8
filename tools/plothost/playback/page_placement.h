// Where the drawing lands on the sheet. The metafile's frame (hundredths of
// a millimetre on its reference device) goes to the top left corner of the
// plotter's printable area: at its true size when it fits, shrunk to fit
// otherwise, or at the scale the user asked for.
#pragma once

#include <string>

#include "win32/gdi32/metafile/gdi_state.h"
#include "win32/gdi32/metafile/gdi_transform.h"
#include "win32/gdi32/emf/emf_records.h"

struct PrintableArea {
    int widthPixels = 0;   // HORZRES
    int heightPixels = 0;  // VERTRES
    double dpi = 300;      // LOGPIXELSX: the driver scales both axes by it
};

enum class ScaleChoice {
    Auto,   // 1:1 when the drawing fits, else fitted
    Fit,    // fitted, enlarged or shrunk
    Fixed,  // the given factor
};

struct Placement {
    Affine toDevice;  // reference-device pixels -> plotter pixels
    double scale = 1;
    double drawingWidthMM = 0;  // the frame at that scale
    double drawingHeightMM = 0;
    double areaWidthMM = 0;
    double areaHeightMM = 0;
    bool fits = true;  // the scaled frame lies inside the printable area
    // The frame in plotter pixels, right and bottom edges included: the
    // drawing's own page. Empty when the header gives no frame.
    RECT frame{0, 0, 0, 0};
};

// False with a message for a scale that is not a positive finite number,
// an area without pixels, or a page that reaches beyond the 32-bit
// coordinates of the drawing's metafile (PageInDrawingUnits).
bool PlaceDrawing(const ENHMETAHEADER& header, const ReferenceDevice& device,
                  const PrintableArea& area, ScaleChoice choice, double fixedScale,
                  Placement* placement, std::string* error);

// The printable area in the drawing's own units: reference-device pixels
// with the right and bottom edges included, as a metafile header's bounds,
// and hundredths of a millimetre, as its frame.
struct PageInDrawing {
    RECTL bounds;
    RECTL frame;
};

// False when the page in those units leaves the 32-bit range that a
// metafile's records hold: a header whose reference device has 2^31 pixels,
// or a scale of 1e-6, makes the page billions of the drawing's units wide.
bool PageInDrawingUnits(const Placement& placement, const ReferenceDevice& device,
                        const PrintableArea& area, PageInDrawing* page);

// v as a LONG of a metafile record; false when it lies outside 32 bits or
// is not a number.
bool ToRecordLong(double v, LONG* out);

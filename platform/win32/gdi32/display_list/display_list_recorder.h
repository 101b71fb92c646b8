// The display list as a metafile's device: every primitive the player draws
// is kept with what it draws with, the page pixels it can touch and its clip
// region, and drawn later band by band through the raster painter.
#pragma once

#include "gdi32/display_list/display_list_store.h"

class DisplayListRecorder : public MetafileDevice {
public:
    // Bitmap bits inside [document, document + documentBytes) are kept by
    // reference; the document must outlive the list. styleUnit: the device
    // pixels of the unit cosmetic pen styles and hatch cells are measured in.
    DisplayListRecorder(DisplayListData& data, const BYTE* document, size_t documentBytes,
                        double styleUnit)
        : m_data(data),
          m_document(document),
          m_documentBytes(documentBytes),
          m_styleUnit(styleUnit) {}

    int DeviceCaps(int index) const override;
    bool VisibleArea(RECT* area) const override;
    // Curves as the raster device takes them, so that the list draws what
    // a playback into a DC draws.
    bool GdiPixelCurves() const override { return true; }
    RegionRef RectRegion(const RECT& rect) override;
    RegionRef PolygonRegion(std::span<const POINT> points, int fillMode) override;
    RegionRef QuadsRegion(std::span<const std::array<POINT, 4>> quads) override;
    RegionRef CombineRegions(const RegionRef& a, const RegionRef& b, int mode) override;
    RegionRef OffsetRegion(const RegionRef& region, POINT by) override;
    void Fill(std::span<const Figure> figures, const GdiBrush* brush, const DcState& dc,
              bool simple) override;
    void Stroke(std::span<const Figure> figures, const GdiPen* pen, const DcState& dc,
                const Affine& toDevice) override;
    bool DrawBitmap(const DcState& dc, const RECT& dest, const RECT& source, const void* bits,
                    const BITMAPINFO* info, UINT usage, DWORD rop, bool alpha) override;
    bool GradientFill(const DcState& dc, const GradientMesh& mesh) override;

private:
    // The primitive's box within the page and its clip; false when that
    // leaves nothing.
    bool Place(RECT box, const RegionRef& clip, Primitive* primitive);
    // Keeps the figures of at least minPoints points; false when none has.
    bool AddFigures(std::span<const Figure> figures, size_t minPoints, Primitive* primitive);
    uint32_t ClipIndex(const RegionRef& clip);
    void Add(const Primitive& primitive, PrimitiveKind kind);

    DisplayListData& m_data;
    const BYTE* m_document;
    size_t m_documentBytes;
    double m_styleUnit;
};

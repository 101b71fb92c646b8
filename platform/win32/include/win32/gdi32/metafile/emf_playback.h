// The state of one metafile playback, shared by the record handlers: the
// device context, the object table, the path, and the device to draw on.
// Each handler plays one record kind; the player looks them up in a table
// from record type to handler.
#pragma once

#include <array>
#include <set>
#include <string>
#include <vector>

#include "win32/gdi32/metafile/curve_culling.h"
#include "win32/gdi32/metafile/gdi_objects.h"
#include "win32/gdi32/metafile/gdi_path.h"
#include "win32/gdi32/metafile/gdi_state.h"
#include "win32/gdi32/metafile/metafile_device.h"
#include "win32/gdi32/emf/emf.h"

enum class RecordResult {
    Played,   // the record did what GDI does with it (or, like a comment, nothing)
    Skipped,  // the plot lacks what the record draws: counted in the summary
    Failed,   // malformed: the plot stops, Playback::error says why
};

struct Playback;
using RecordHandler = RecordResult (*)(Playback&, const EmfRecordView&);
using HandlerTable = std::array<RecordHandler, EMR_MAX + 1>;

struct Playback {
    Playback(const EmfDocument& document, MetafileDevice& target,
             const ReferenceDevice& referenceDevice, const Affine& placement);

    const EmfDocument& doc;
    MetafileDevice& device;
    ReferenceDevice reference;
    Affine placement;  // reference-device pixels -> device pixels
    DcStack dc;
    GdiObjectTable objects;
    GdiPath path;  // the path of BEGINPATH ... ENDPATH
    bool pathBracketOpen = false;
    GdiPath scratch;    // the outline of the primitive being drawn
    std::string error;  // "record N (NAME): why" once a handler failed
    std::vector<std::string> warnings;
    bool warnedEmfPlusOnly = false;
    // The device wants curves as GDI draws them on raster devices.
    bool gdiPixels = false;
    std::set<std::string> warnedFaces;  // faces whose substitute was told

    DcState& State() { return dc.Current(); }
    // The state, for a change of its transforms (mapping mode, window,
    // viewport, world): the cached transform is made anew.
    DcState& TransformState() {
        m_toDeviceValid = false;
        return dc.Current();
    }
    // Which curves need not be flattened, as the state stands.
    CurveCulling Culling() const;
    // Logical units -> device pixels, as the state stands.
    const Affine& ToDevice() const;
    DPoint Device(DPoint logical) const { return Apply(ToDevice(), logical); }

    // Where a primitive's figures go: into the path while a bracket is
    // open, else into the emptied scratch path, which Paint then draws.
    GdiPath& Figures();
    // The same, with a figure open that starts at the current position
    // (drawing from it: LINETO, POLYLINETO, ARCTO ...).
    GdiPath& FiguresFromPosition();
    // Draws the scratch figures unless a path bracket is open.
    void Paint(bool fill, bool stroke, bool simple);

    // A whole page (plus a pixel each side): what excluding from "no clip"
    // excludes from.
    RegionRef PageRegion() const;

    RecordResult Fail(const EmfRecordView& record, const std::string& why);
    // The record as its fixed struct; null (and Failed through error) when
    // it is too short.
    template <typename Record>
    const Record* Fixed(const EmfRecordView& record) {
        return EmfFixedRecord<Record>(doc, record, &error);
    }

private:
    bool m_cullable = false;
    RECT m_visible{0, 0, 0, 0};
    MetafilePens m_pens;
    mutable Affine m_toDevice;
    mutable bool m_toDeviceValid = false;
};

template <typename P>
DPoint Logical(const P& p) {
    return {static_cast<double>(p.x), static_cast<double>(p.y)};
}

// One figure of the points, closed for polygons; GDI draws nothing of
// fewer than two points.
template <typename Points>
void AddFigure(GdiPath& figures, const Points& points, bool closed, const Affine& toDevice) {
    if (points.size() < 2) return;
    figures.StartFigure(Apply(toDevice, Logical(points[0])));
    for (size_t i = 1; i < points.size(); ++i)
        figures.AddPoint(Apply(toDevice, Logical(points[i])));
    if (closed)
        figures.CloseFigure();
    else
        figures.EndFigure();
}

// The figures of a poly-polyline or poly-polygon record (the reader has
// checked that the counts add up to the points).
template <typename View>
void AddPolyFigures(GdiPath& figures, const View& view, bool closed, const Affine& toDevice) {
    size_t next = 0;
    for (DWORD count : view.counts) {
        AddFigure(figures, view.points.subspan(next, count), closed, toDevice);
        next += count;
    }
}

// The handler groups, one file each.
void AddStateHandlers(HandlerTable& table);
void AddObjectHandlers(HandlerTable& table);
void AddLineHandlers(HandlerTable& table);
void AddShapeHandlers(HandlerTable& table);
void AddPathHandlers(HandlerTable& table);
void AddClipHandlers(HandlerTable& table);
void AddOtherHandlers(HandlerTable& table);
void AddTextHandlers(HandlerTable& table);
void AddBitmapHandlers(HandlerTable& table);
void AddGradientHandlers(HandlerTable& table);

// Puts an object into the table; Failed (with the reason) for a bad index.
RecordResult PutObject(Playback& pb, const EmfRecordView& record, DWORD index, GdiObject object,
                       RecordResult result);
// EMR_BITBLT with a source bitmap: an image, drawn on the device.
RecordResult PlaySourceBitBlt(Playback& pb, const EmfBitBlt& view);

// The state machine behind RenderPlot: HP-GL/2 graphics state, the page
// being drawn and the RTL raster in progress. Internal to the plot reader;
// the frame in plot_interpreter.cpp, pens and line attributes in
// plot_pens.cpp, drawing in plot_drawing.cpp, escape sequences in
// rtl_commands.cpp.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "reader/hpgl_parser.h"
#include "picture/plot_canvas.h"
#include "picture/raster_placement.h"
#include "reader/plot_rendering.h"
#include "reader/rtl_raster.h"

namespace plot {

// A whole number of sensible size, as pen numbers, modes and counts must be.
inline bool IsWhole(double v) {
    return v == std::floor(v) && std::fabs(v) < 1e9;
}

// The HP-GL/2 default colour of a pen.
uint32_t DefaultPenColour(int pen);

class PlotInterpreter {
public:
    PlotInterpreter(const RenderOptions& options, PlotRendering* pResult);

    // False, with the error in the result, when the command cannot be read.
    bool Execute(const PlotCommand& command);
    // End of the stream: the page in progress is kept.
    void Finish();

private:
    struct SubPolygon {
        std::vector<Point> points;   // plotter units
        std::vector<bool> edgeDown;  // edge from the previous point drawn by "EP"
    };

    // Frame, coordinates and pages (plot_interpreter.cpp).
    bool Hpgl(const PlotCommand& c);
    bool FrameCommand(const PlotCommand& c);
    void ResetGraphicsState();
    Point UserToPlu(double ux, double uy) const;
    Point PluToUser(Point plu) const;
    Point PluToDevice(Point plu) const;
    Point DeviceToPlu(Point device) const;
    void Extents(double* pX, double* pY) const;
    bool EnsureResolution();
    void NoteGeometry(double ux, double uy);
    bool EnsureCanvas();
    bool CanvasWell();
    void EndPage();
    bool Fail(const std::string& text);
    // An instruction or sequence the reader does not know: an error, or a
    // warning when the options say to skip such.
    bool Unknown(const std::string& text);
    void WarnOnce(const std::string& text);

    // Pens, line attributes, input window (plot_pens.cpp).
    bool PenCommand(const PlotCommand& c);
    bool LineCommand(const PlotCommand& c);
    bool InputWindow(const PlotCommand& c);
    // A raster configuration replaced the palette that the pens share.
    void PensFromRasterPalette(std::string_view configuration);
    // The colour of the current pen; false when it leaves the paper as it is.
    bool PenUsable(uint32_t* pColour);
    void NotePenUse(uint32_t colour);
    StrokeStyle CurrentStroke(uint32_t colour) const;

    // Drawing (plot_drawing.cpp).
    bool PolylineEncoded(const PlotCommand& c);
    bool PlotTo(const PlotCommand& c);
    bool PolygonCommand(const PlotCommand& c);
    // Moves the pen to a user point, drawing when down.
    bool MoveTo(double ux, double uy, bool down);
    bool FlushStroke();
    bool StrokeEdges();
    bool Fill(bool evenOdd);

    // Escape sequences and rasters (rtl_commands.cpp).
    bool Escape(const PlotCommand& c);
    bool RasterEscape(const PlotCommand& c);
    bool StartRaster(int mode);
    // Places the slices of decoded rows that are due (with `any`, also a
    // slice that is not full).
    bool PlaceRasterRows(bool any);
    // The raster's pixel size and where it lands, at its first rows.
    bool StartPlacement();
    bool EndRaster();
    void ResetAll();

    const RenderOptions& m_options;
    PlotRendering* m_pResult;
    const PlotCommand* m_pCommand = nullptr;
    std::vector<std::string> m_warnedOnce;

    // Page.
    std::unique_ptr<PlotCanvas> m_canvas;
    double m_resolution = 0;  // device pixels per inch, fixed with the first page

    // HP-GL/2 frame.
    bool m_hasPlotSize = false;
    double m_plotSizeX = 0, m_plotSizeY = 0;  // "PS", plotter units
    int m_rotation = 0;
    Point m_p1, m_p2;
    bool m_scaled = false;
    double m_scale[4] = {0, 1, 0, 1};  // xmin, xmax, ymin, ymax
    std::optional<EdgeRect> m_window;  // device pixel edges

    // Pens and lines.
    int m_penCount = 8;
    std::vector<uint32_t> m_penColours;
    std::vector<bool> m_penDefined;
    std::vector<double> m_penWidthsMm;
    std::vector<bool> m_penFromRaster;  // colour given by a raster configuration
    std::set<int> m_pensGivenColour;
    int m_pen = 0;
    double m_range[6] = {0, 255, 0, 255, 0, 255};
    LineCap m_cap = LineCap::Butt;
    LineJoin m_join = LineJoin::Miter;
    double m_miterLimit = 5;
    bool m_transparent = true;  // "TR1", and RTL source transparency
    bool m_multiply = false;    // "MC1,160"

    // Pen and drawing.
    Point m_penAt;
    bool m_penDown = false;
    bool m_relative = false;      // "PR"
    std::vector<Point> m_stroke;  // plotter units, pen-down run in progress

    // Polygon mode.
    bool m_inPolygon = false;
    bool m_newSubPolygon = false;
    std::vector<SubPolygon> m_polygon;

    // RTL.
    bool m_inRtl = true;
    Point m_capAt;  // current active position, device pixel edges
    RtlRaster m_raster;
    bool m_rasterScaled = false;
    Point m_rasterOrigin;
    RasterGeometry m_rasterGeometry;
    std::unique_ptr<RasterPlacement> m_placement;
};

}  // namespace plot

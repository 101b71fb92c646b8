#include "reader/plot_reader.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "reader/hpgl_parser.h"
#include "reader/plot_interpreter.h"

namespace plot {

namespace {

// Pixels count as ink when some channel lies this far below white.
constexpr int kInkThreshold = 8;

}  // namespace

PlotRendering RenderPlot(std::string_view bytes, const RenderOptions& options) {
    PlotRendering result;
    ParseResult parsed = ParsePlotStream(bytes);
    result.warnings = std::move(parsed.warnings);
    {
        PlotInterpreter interpreter(options, &result);
        for (const PlotCommand& command : parsed.commands) {
            if (!interpreter.Execute(command)) break;
        }
        // A parse error stops the stream at its offset: everything before
        // it has been drawn.
        if (result.error.empty() && !parsed.Ok()) {
            result.error = parsed.error + " at byte " + std::to_string(parsed.errorOffset);
            result.errorOffset = parsed.errorOffset;
            result.truncated = parsed.truncated;
        }
        interpreter.Finish();
    }
    result.ok = result.error.empty();
    if (!result.pages.empty()) result.summary.ink = FindInkBox(result.pages.front(), kInkThreshold);
    return result;
}

PlotRendering RenderPlotFile(const std::string& path, const RenderOptions& options) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        PlotRendering result;
        result.error = "cannot open " + path;
        return result;
    }
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    return RenderPlot(bytes, options);
}

PlotRendering RenderPlotFile(const std::string& path, int scale) {
    RenderOptions options;
    options.scale = scale;
    return RenderPlotFile(path, options);
}

Image FirstPage(const PlotRendering& rendering) {
    return rendering.pages.empty() ? Image(1, 1) : rendering.pages.front();
}

std::string PlotRendering::SummaryLine() const {
    const PlotSummary& s = summary;
    char geometry[160] = "none";
    if (s.hasGeometry)
        std::snprintf(geometry, sizeof geometry, "[%.0f,%.0f]-[%.0f,%.0f]", s.minX, s.minY, s.maxX,
                      s.maxY);
    std::string size = "none";
    if (!pages.empty())
        size = std::to_string(pages.front().width) + "x" + std::to_string(pages.front().height);
    std::string line =
        "commands=" + std::to_string(s.commands) + " pens=" + std::to_string(s.pensDefined) +
        " selections=" + std::to_string(s.penSelections) +
        " polylines=" + std::to_string(s.polylines) + " polygons=" + std::to_string(s.polygons) +
        " edges=" + std::to_string(s.edges) + " rasters=" + std::to_string(s.rasters) +
        " rows=" + std::to_string(s.rasterRows) + " pages=" + std::to_string(pages.size()) +
        " page=" + size + " dpi=" + std::to_string(int(s.resolution)) + " ink=" + ToString(s.ink) +
        " drawn=" + geometry + " warnings=" + std::to_string(warnings.size());
    if (!ok) line += " ERROR: " + error;
    return line;
}

}  // namespace plot

// The text of "plotview --info": what a plot job holds.
#pragma once

#include <string>

#include "reader/plot_reader.h"

namespace plotview {

// Millimetres of the ink's bounding box on the first page: left, top,
// right and bottom edges of the inked pixels, from the page's top left.
struct InkBoxMm {
    bool empty = true;
    double left = 0, top = 0, right = 0, bottom = 0;
};
InkBoxMm InkInMillimetres(const plot::PlotSummary& summary);

// Lines of "name: value" and one line a pen, then one "warning:" line a
// warning; numbers with a decimal point whatever the locale.
std::string InfoReport(const std::string& path, size_t fileBytes,
                       const plot::PlotRendering& rendering);

}  // namespace plotview

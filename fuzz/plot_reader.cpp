// The plot previewer reads plot files from anywhere: every stream must end
// in a rendering or an error, never in a crash or a read past its end.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "reader/plot_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plot::RenderOptions options;
    // A coarse picture keeps every page small whatever size it announces.
    options.dpi = 4;
    options.skipUnknown = size > 0 && (data[0] & 1) != 0;
    const plot::PlotRendering rendering =
        plot::RenderPlot(std::string_view(reinterpret_cast<const char*>(data), size), options);
    (void)rendering;
    return 0;
}

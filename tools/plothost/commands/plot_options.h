// The arguments of "plothost plot".
#pragma once

#include <string>
#include <vector>

#include "host/page_setup.h"
#include "output/socket_channel.h"
#include "playback/page_placement.h"

struct PlotOptions {
    std::string drawing;     // the metafile
    std::string output;      // -o: the plot file (or a printer device)
    std::string outputName;  // --output-name: the output as the host names it ("FILE:")
    std::string saveAs;      // --save-as: the save dialog's answer
    std::string driver = "1";
    ScaleChoice scale = ScaleChoice::Auto;
    double fixedScale = 1;
    int dpi = 0;     // 0: the driver's setting
    std::string to;  // --to: a network plotter, "socket://HOST[:PORT]"
    SocketOptions socket;
    std::string paper;  // --paper: number or name; empty keeps the driver's
    Orientation orientation = Orientation::Unchanged;
};

// False with a message when the arguments are wrong.
bool ParsePlotOptions(const std::vector<std::string>& arguments, PlotOptions* options,
                      std::string* error);

// Plot files end in ".plt", as the driver names them; the name with the
// ending added when it lacks it.
std::string WithPlotExtension(const std::string& name);

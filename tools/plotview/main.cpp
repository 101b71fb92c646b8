// plotview: renders HP-GL/2 and HP RTL plot files as the plotter would draw
// them and tells what a job holds. "plotview --help" has the details.
#include <iostream>
#include <string>
#include <vector>

#include "cli/run_plotview.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return plotview::RunPlotview(args, std::cout, std::cerr);
}

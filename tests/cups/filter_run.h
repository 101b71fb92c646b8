// Runs a built CUPS filter as CUPS does (job id, user, title, copies,
// options, file; PPD and TMPDIR in the environment) and keeps what it
// wrote.
#pragma once

#include <string>

struct FilterRun {
    int status = -1;
    std::string out;     // the job handed on
    std::string errors;  // the messages to CUPS
};

FilterRun RunFilter(const std::string& filter, const std::string& ppd, const std::string& tmpdir,
                    const std::string& options, const std::string& file);

// A CUPS raster stream of one page, width x height pixels at dpi, RGB at 8
// bits; pixel(x, y) gives 0xRRGGBB. Only the first `rows` rows are written
// when rows is below height (a stream cut short).
std::string MakeRaster(int width, int height, int dpi, unsigned (*pixel)(int x, int y),
                       int rows = -1);

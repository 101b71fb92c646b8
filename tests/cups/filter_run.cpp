#include "cups/filter_run.h"

#include <cups/raster.h>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "plothost/plothost_run.h"

FilterRun RunFilter(const std::string& filter, const std::string& ppd, const std::string& tmpdir,
                    const std::string& options, const std::string& file) {
    const std::string out = tmpdir + "/../filter.out", errors = tmpdir + "/../filter.err";
    const std::string command = "PPD='" + ppd + "' TMPDIR='" + tmpdir + "' '" + filter +
                                "' 7 user title 1 '" + options + "' '" + file + "' > '" + out +
                                "' 2> '" + errors + "'";
    FilterRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadWhole(out);
    run.errors = ReadWhole(errors);
    return run;
}

std::string MakeRaster(int width, int height, int dpi, unsigned (*pixel)(int x, int y), int rows) {
    char path[] = "/tmp/hpgl2-raster-XXXXXX";
    const int fd = mkstemp(path);
    cups_raster_t* raster = cupsRasterOpen(fd, CUPS_RASTER_WRITE);
    cups_page_header2_t h;
    std::memset(&h, 0, sizeof h);
    h.HWResolution[0] = h.HWResolution[1] = static_cast<unsigned>(dpi);
    h.cupsWidth = static_cast<unsigned>(width);
    h.cupsHeight = static_cast<unsigned>(height);
    h.cupsBitsPerColor = 8;
    h.cupsBitsPerPixel = 24;
    h.cupsBytesPerLine = static_cast<unsigned>(width) * 3;
    h.cupsColorOrder = CUPS_ORDER_CHUNKED;
    h.cupsColorSpace = CUPS_CSPACE_RGB;
    cupsRasterWriteHeader2(raster, &h);
    std::vector<unsigned char> row(h.cupsBytesPerLine);
    for (int y = 0; y < (rows < 0 ? height : rows); ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned p = pixel(x, y);
            row[3 * x] = static_cast<unsigned char>(p >> 16);
            row[3 * x + 1] = static_cast<unsigned char>(p >> 8);
            row[3 * x + 2] = static_cast<unsigned char>(p);
        }
        cupsRasterWritePixels(raster, row.data(), h.cupsBytesPerLine);
    }
    cupsRasterClose(raster);
    close(fd);
    std::string bytes = ReadWhole(path);
    unlink(path);
    return bytes;
}

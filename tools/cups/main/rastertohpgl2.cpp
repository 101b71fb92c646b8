// rastertohpgl2: the CUPS filter of CUPS raster jobs (see raster_filter.h).
#include "filter/raster_filter.h"

int main(int argc, char** argv) {
    return RunRasterFilter(argc, argv);
}

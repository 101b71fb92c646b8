// The HP RTL commands around a raster's rows: entering the raster, its size,
// resolution and pixel format, and its end, which for a page of its own also
// ends the page and the job.
#pragma once

#include <string_view>
#include <windows.h>

#include "job/command_text.h"

class OutputChannel;

// Where a raster goes and what its frame says about it.
struct RasterFrame {
    OutputChannel* pOutput;
    int bEmbedded;    // nonzero: inside a vector plot, no page or job framing
    int nWidth;       // raster width in pixels ("\e*r#S")
    int nResolution;  // dots per inch ("\e*t#R")
};

// The six configure-image-data bytes: colour space, pixel encoding mode,
// bits per index, bits per primary 1, 2, 3.
struct ConfigureImageData {
    BYTE bytes[6];
};

// Writes one command as one Write of its exact length. The raster writer
// writes to the channel it took at construction, not through the job.
void WriteRasterCommand(OutputChannel* pOutput, std::string_view text);
void WriteRasterCommand(OutputChannel* pOutput, const CommandText& command);

// The first part of the header: into HP-GL/2 and to the origin for a page of
// its own, then into RTL at the pen position with the raster set-up modes.
void WriteRasterEntry(const RasterFrame& frame);
// The second part: width, resolution, pixel format and start of raster
// graphics at the current position.
// The palette of a grey raster, entry i the grey i, i, i. It follows the
// configure-image-data command: that command gives the raster a new palette
// of the device's default colours, so a ramp sent before it would be lost and
// the levels drawn in false colours. A raster inside a vector plot needs it as
// much as a page of its own.
void WriteGreyRamp(OutputChannel* pOutput);

void WriteRasterSetup(const RasterFrame& frame, const ConfigureImageData& cid,
                      void (*writePalette)(OutputChannel*) = nullptr);
// End of raster graphics and back to HP-GL/2; a page of its own then ends
// its page and job and closes the output.
void WriteRasterEnd(const RasterFrame& frame);

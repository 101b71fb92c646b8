#include "rtl/raster_frame.h"

#include <cstring>

#include "pxrdriver/output_channel.h"

void WriteRasterCommand(OutputChannel* pOutput, std::string_view text) {
    pOutput->Write(text.data(), static_cast<int>(text.size()));
}

void WriteRasterCommand(OutputChannel* pOutput, const CommandText& command) {
    pOutput->Write(command.data(), command.size());
}

void WriteRasterEntry(const RasterFrame& frame) {
    OutputChannel* const pOutput = frame.pOutput;
    if (!frame.bEmbedded) {
        // A page rasterised in the computer starts in HP-GL/2 with
        // transparency off and the pen at the origin, where the raster goes.
        WriteRasterCommand(pOutput, "\x1b%0BTR0;PUPA0,0;");
    }
    WriteRasterCommand(pOutput, "\x1b%1A");  // PCL mode, cursor at the pen position
    // Four bytes each, without '*': the form these plotters take.
    WriteRasterCommand(pOutput, "\x1bv1N");
    WriteRasterCommand(pOutput, "\x1bv1O");
    // Negative motion: a page of its own goes strictly top to bottom (1, none
    // used); a raster inside a plot leaves it allowed (0) for the plot around it.
    WriteRasterCommand(pOutput, frame.bEmbedded ? "\x1b&a0N" : "\x1b&a1N");
}

void WriteRasterSetup(const RasterFrame& frame, const ConfigureImageData& cid,
                      void (*writePalette)(OutputChannel*)) {
    OutputChannel* const pOutput = frame.pOutput;
    WriteRasterCommand(pOutput, CommandText().Text("\x1b*r").Int(frame.nWidth).Text("S"));
    WriteRasterCommand(pOutput, CommandText().Text("\x1b*t").Int(frame.nResolution).Text("R"));
    // "\e*v6W" and its six data bytes as one command; zero bytes included.
    char configure[11] = {'\x1b', '*', 'v', '6', 'W'};
    std::memcpy(configure + 5, cid.bytes, sizeof cid.bytes);
    pOutput->Write(configure, sizeof configure);
    if (writePalette) writePalette(pOutput);
    // Raster graphics start at the current position, which the entry put at
    // the pen position: the raster lands where the plot placed it. Direct RGB
    // rasters send it too: an implicit start at the first transfer would keep
    // the previous left graphics margin (by default the page's left edge).
    WriteRasterCommand(pOutput, "\x1b*r1A");
}

void WriteRasterEnd(const RasterFrame& frame) {
    OutputChannel* const pOutput = frame.pOutput;
    WriteRasterCommand(pOutput, "\x1b*rC");
    WriteRasterCommand(pOutput, "\x1b%0B");
    if (frame.bEmbedded) {
        return;
    }
    // Advance the page, then reset (ESC "E", split so that E is no hex digit).
    WriteRasterCommand(pOutput,
                       "PG;\x1b"
                       "E");
    // No line end after the end-of-job line: the plotter takes the job as
    // ended at the universal exit.
    WriteRasterCommand(pOutput, "\x1b%-12345X @PJL EOJ");
    pOutput->Close();
}

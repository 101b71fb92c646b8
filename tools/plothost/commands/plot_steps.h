// The steps every plot takes, whatever the driver's transaction mode: the
// drawing placed on the printable area, the document started on the output
// channel, the placement told, a failure told.
#pragma once

#include <string>

#include "commands/plot_options.h"
#include "host/page_setup.h"
#include "output/job_channel.h"
#include "playback/page_placement.h"
#include "pxrdriver/host_context.h"
#include "win32/gdi32/emf/emf_reader.h"
#include "win32/gdi32/metafile/gdi_state.h"

// "plothost: MESSAGE" on standard error, or to the sink a host has set;
// returns the exit status 1.
int PlotFailure(const std::string& message);

// Where PlotFailure tells why a plot failed (null: standard error). The CUPS
// filters tell it as their "ERROR:" line.
using PlotFailureSink = void (*)(const std::string& message);
void SetPlotFailureSink(PlotFailureSink sink);

// The printable area the attached driver reports, and the drawing placed on
// it as the options ask; false with a message.
bool PlaceOnPrintableArea(HostContext* host, const EmfDocument& doc, const ReferenceDevice& device,
                          const PlotOptions& options, PrintableArea* area, Placement* placement,
                          std::string* error);

// Starts the document on the channel; false (the channel aborted) with a
// message when the driver does not start it.
bool StartPlotDocument(HostContext* host, const PlotOptions& options, const char* output,
                       JobChannel& channel, std::string* error);

// Where the drawing lands on the sheet, and a warning when it does not fit.
void TellPlacement(const PlotOptions& options, const PageDescription& page, const Placement& p);

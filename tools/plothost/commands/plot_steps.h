// The steps every plot takes, whatever the driver's transaction mode: the
// drawing placed on the printable area, the document started on the output
// channel, the placement told, a failure told.
#pragma once

#include <string>

#include "commands/plot_options.h"
#include "host/page_setup.h"
#include "output/job_channel.h"
#include "output/transfer_meter.h"
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

// True once Ctrl-C or SIGTERM has asked the plot to stop. The plot command
// holds both signals from its start until plothost exits; every step stops
// at its next point where nothing is left behind, and the output channel
// drops a job that was not complete when the signal came.
bool PlotStopRequested();

// "plothost: interrupted (Ctrl-C): the plot was stopped; no plot file was
// written" (what became of the job, as the channel tells it) on the line
// of the transfer meter, if any; returns the exit status 128 + the signal:
// 130 for Ctrl-C, 143 for SIGTERM.
int PlotInterrupted(const JobChannel& channel, TransferMeter* transfer);

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

// A plot on a driver that renders whole pages in the computer ("Transaction
// in computer"): the drawing goes to the page entry as one metafile, placed
// on the page as a vector plot places it, and the driver's render thread
// writes the job while its progress dialog shows.
#pragma once

#include "commands/plot_options.h"
#include "host/page_setup.h"
#include "output/job_channel.h"
#include "output/transfer_meter.h"
#include "pxrdriver/host_context.h"
#include "win32/gdi32/emf/emf_reader.h"
#include "win32/gdi32/metafile/gdi_state.h"

// 0 when the whole job was delivered, 1 (with a message) when not; a page
// that was cancelled or failed leaves no output behind.
int PlotWholePage(HostContext* host, const EmfDocument& doc, const ReferenceDevice& device,
                  const PlotOptions& options, const PageDescription& page, JobChannel& channel,
                  TransferMeter* transfer, const char* output);

// One drawing plotted on an attached driver, whichever entries its
// transaction mode installed: the metafile played through the vector
// callbacks, or handed to the page entry as one page ("Transaction in
// computer"). plothost's plot command and the CUPS filter share it.
#pragma once

#include "commands/plot_options.h"
#include "host/page_setup.h"
#include "output/job_channel.h"
#include "output/transfer_meter.h"
#include "pxrdriver/host_context.h"
#include "win32/gdi32/emf/emf_reader.h"
#include "win32/gdi32/metafile/gdi_state.h"

// 0 when the whole job was delivered to the channel, 1 (with a message on
// standard error) when not; a job that failed half way is aborted, so its
// channel keeps nothing of it. host must be attached; transfer may be null.
int PlotDrawing(HostContext* host, const EmfDocument& doc, const ReferenceDevice& device,
                const PlotOptions& options, const PageDescription& page, JobChannel& channel,
                TransferMeter* transfer, const char* output);

// Plays an enhanced metafile into an attached driver whose document has
// started: the player of the Win32 subset draws on plothost's plot device,
// which turns what it draws into the driver's callbacks.
#pragma once

#include <functional>
#include <string>

#include "commands/run_summary.h"
#include "pxrdriver/host_context.h"
#include "win32/gdi32/emf/emf.h"
#include "win32/gdi32/metafile/gdi_state.h"
#include "win32/gdi32/metafile/gdi_transform.h"

struct PlayOptions {
    ReferenceDevice device;  // of the metafile's header
    Affine placement;        // reference-device pixels -> plotter pixels
    double dpi = 300;        // the plotter's resolution
    // Nothing is drawn outside this rectangle of plotter pixels (the
    // drawing's frame) when it is not empty.
    RECT frame{0, 0, 0, 0};
    // Called now and then with the records played so far and their number.
    std::function<void(size_t done, size_t total)> progress;
    // Asked before each record: true stops the playback (PlayMetafile then
    // returns false).
    std::function<bool()> stopRequested;
};

// Plays the records in order and counts them in *summary. False at the
// first malformed record, with *error naming it ("record 17
// (EMR_SELECTOBJECT): object index 9 is out of range: ..."); what was drawn
// up to there has reached the driver, so the caller drops the job.
bool PlayMetafile(const EmfDocument& doc, HostContext* host, const PlayOptions& options,
                  RunSummary* summary, std::string* error);

// Plays an enhanced metafile into a device: every record becomes the
// primitives GDI would draw of it, in the device's pixels.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "win32/gdi32/emf/emf.h"
#include "win32/gdi32/metafile/gdi_state.h"
#include "win32/gdi32/metafile/gdi_transform.h"
#include "win32/gdi32/metafile/metafile_device.h"

struct MetafilePlacement {
    ReferenceDevice device;  // of the metafile's header
    Affine placement;        // reference-device pixels -> device pixels
    // Called now and then with the records played so far and their number.
    std::function<void(size_t done, size_t total)> progress;
    // Asked before each record: true ends the playback there, as a failure
    // ("the playback was stopped before record N").
    std::function<bool()> stopRequested;
    // Where hatches start until a record sets the brush origin (device
    // pixels): the target DC's own brush origin, so that a band of a larger
    // surface hatches in step with the rest of it.
    POINT brushOrigin{0, 0};
};

// What a playback did: the records played, those skipped by type (what the
// device lacks, and kinds the player does not know), and warnings, each
// told once.
struct MetafilePlaySummary {
    size_t played = 0;
    std::map<DWORD, size_t> skipped;
    std::vector<std::string> warnings;
};

// Plays the records in order and counts them in *summary. False at the
// first malformed record, with *error naming it ("record 17
// (EMR_SELECTOBJECT): object index 9 is out of range: ..."); what was drawn
// up to there has reached the device.
bool PlayMetafileRecords(const EmfDocument& doc, MetafileDevice& device,
                         const MetafilePlacement& placement, MetafilePlaySummary* summary,
                         std::string* error);

// The document behind a metafile handle; null for a handle that is not a
// live metafile.
WIN32_API const EmfDocument* EnhMetaFileDocument(HENHMETAFILE metafile);

// The placement PlayEnhMetaFile uses: the metafile's frame (its bounds when
// the frame is empty) onto dest, in device pixels. False with a message
// when the header gives no usable reference device.
WIN32_API bool PlacementOnto(const ENHMETAHEADER& header, const DPoint& destTopLeft,
                             const DPoint& destBottomRight, MetafilePlacement* placement,
                             std::string* error);

// Plays the document into a memory device context with a bitmap selected,
// placed as given (device pixels), counting in *summary. False when hdc is
// no such context or at the first malformed record (*error says which).
WIN32_API bool PlayMetafileIntoDc(HDC hdc, const EmfDocument& doc,
                                  const MetafilePlacement& placement, MetafilePlaySummary* summary,
                                  std::string* error);

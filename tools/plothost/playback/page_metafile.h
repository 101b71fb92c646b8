// The page a whole-page plotter renders: the drawing's metafile with its
// frame widened to the printable area, so that the driver, which plays the
// page's frame onto the whole printable area, puts the drawing where a
// vector plot puts it, at the same scale; and with the drawing's own frame
// as the meta region, since only the drawing's page reaches the paper.
#pragma once

#include <string>
#include <vector>

#include "playback/page_placement.h"
#include "win32/gdi32/emf/emf_reader.h"

// The page's metafile bytes. False with a message when the placement
// leaves no page (a scale that collapses it, or a frame beyond what a
// metafile header can hold).
bool BuildPageMetafile(const EmfDocument& doc, const ReferenceDevice& device,
                       const Placement& placement, const PrintableArea& area,
                       std::vector<BYTE>* bytes, std::string* error);

#include "playback/emf_player.h"

#include "gdi/plot_device.h"
#include "win32/gdi32/metafile/metafile_player.h"

bool PlayMetafile(const EmfDocument& doc, HostContext* host, const PlayOptions& options,
                  RunSummary* summary, std::string* error) {
    PlotDevice device(host, options.dpi, options.frame);
    MetafilePlacement placement;
    placement.device = options.device;
    placement.placement = options.placement;
    placement.progress = options.progress;
    placement.stopRequested = options.stopRequested;
    MetafilePlaySummary played;
    const bool ok = PlayMetafileRecords(doc, device, placement, &played, error);
    summary->played += played.played;
    for (const auto& [type, count] : played.skipped) summary->skipped[type] += count;
    summary->warnings.insert(summary->warnings.end(), played.warnings.begin(),
                             played.warnings.end());
    return ok;
}

#include "win32/gdi32/metafile/metafile_player.h"

#include <string>

#include "win32/gdi32/metafile/emf_playback.h"

namespace {

// How often progress is told, in records.
constexpr size_t kProgressStep = 4096;

const HandlerTable& Handlers() {
    static const HandlerTable table = [] {
        HandlerTable t{};
        AddStateHandlers(t);
        AddObjectHandlers(t);
        AddLineHandlers(t);
        AddShapeHandlers(t);
        AddPathHandlers(t);
        AddClipHandlers(t);
        AddOtherHandlers(t);
        AddTextHandlers(t);
        AddBitmapHandlers(t);
        AddGradientHandlers(t);
        return t;
    }();
    return table;
}

}  // namespace

bool PlayMetafileRecords(const EmfDocument& doc, MetafileDevice& device,
                         const MetafilePlacement& options, MetafilePlaySummary* summary,
                         std::string* error) {
    Playback pb(doc, device, options.device, options.placement);
    pb.State().brushOrg = options.brushOrigin;
    const HandlerTable& handlers = Handlers();
    const size_t total = doc.records.size();
    size_t done = 0;
    bool ok = true;
    for (const EmfRecordView& record : doc.records) {
        if (options.stopRequested && options.stopRequested()) {
            *error = "the playback was stopped before record " + std::to_string(done);
            ok = false;
            break;
        }
        // Types without a handler (unknown kinds) are skipped,
        // as PlayEnhMetaFile skips what it does not know.
        const RecordHandler handler = record.type <= EMR_MAX ? handlers[record.type] : nullptr;
        const RecordResult result = handler ? handler(pb, record) : RecordResult::Skipped;
        if (result == RecordResult::Failed) {
            *error = pb.error.empty() ? "a record could not be played" : pb.error;
            ok = false;
            break;
        }
        if (result == RecordResult::Played)
            ++summary->played;
        else
            ++summary->skipped[record.type];
        ++done;
        if (options.progress && done % kProgressStep == 0) options.progress(done, total);
        if (record.type == EMR_EOF) break;
    }
    if (doc.header.nRecords != total)
        summary->warnings.push_back(
            "the metafile's header counts " + std::to_string(doc.header.nRecords) +
            " records, the file holds " + std::to_string(total) + "; all of them were played");
    summary->warnings.insert(summary->warnings.end(), pb.warnings.begin(), pb.warnings.end());
    if (ok && options.progress) options.progress(total, total);
    return ok;
}

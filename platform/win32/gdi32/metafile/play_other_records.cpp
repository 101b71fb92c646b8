// Comments, and the blits that are fills (a blit with a source bitmap is
// an image: play_bitmap_records.cpp).
#include <cstring>

#include "win32/gdi32/metafile/emf_playback.h"
#include "win32/gdi32/metafile/record_geometry.h"

namespace {

using R = RecordResult;

// EMF+ records ride in comments; the EMF records that follow them draw the
// same picture, and those are played. A metafile whose EMF+ header says it
// is not "dual" has nothing but placeholders after its comments.
constexpr WORD kEmfPlusHeaderType = 0x4001;
constexpr WORD kEmfPlusDualFlag = 0x0001;

R PlayGdiComment(Playback& pb, const EmfRecordView& r) {
    EmfGdiComment view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    if (!IsEmfPlusComment(view) || pb.warnedEmfPlusOnly || view.data.size() < 8) return R::Played;
    WORD type = 0, flags = 0;
    std::memcpy(&type, view.data.data() + 4, sizeof type);
    std::memcpy(&flags, view.data.data() + 6, sizeof flags);
    if (type == kEmfPlusHeaderType && !(flags & kEmfPlusDualFlag)) {
        pb.warnedEmfPlusOnly = true;
        pb.warnings.push_back(
            "the metafile keeps its drawing in EMF+ records only, which are not played: the plot "
            "may be empty");
    }
    return R::Played;
}

// A blit without a source bitmap paints its rectangle with the brush (or
// black, or white); one with a source is an image.
R PlayBitBlt(Playback& pb, const EmfRecordView& r) {
    EmfBitBlt view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    const EMRBITBLT& rec = *view.record;
    if (view.source.present) return PlaySourceBitBlt(pb, view);
    GdiBrush solid{BS_SOLID, 0, 0};
    const GdiBrush* brush = &solid;
    switch (rec.dwRop) {
        case PATCOPY: brush = pb.State().brush.get(); break;
        case BLACKNESS: solid.color = RGB(0, 0, 0); break;
        case WHITENESS: solid.color = RGB(255, 255, 255); break;
        default: return R::Skipped;  // raster operations the plotter cannot mix
    }
    const RECTL box{rec.xDest, rec.yDest,
                    static_cast<LONG>(static_cast<long long>(rec.xDest) + rec.cxDest),
                    static_cast<LONG>(static_cast<long long>(rec.yDest) + rec.cyDest)};
    GdiPath figures;
    AddRectangle(&figures, box, false, pb.ToDevice());
    pb.device.Fill(figures.Figures(), brush, pb.State(), true);
    return R::Played;
}

}  // namespace

void AddOtherHandlers(HandlerTable& t) {
    t[EMR_GDICOMMENT] = PlayGdiComment;
    t[EMR_BITBLT] = PlayBitBlt;
}

#include "win32/gdi32/display_list.h"

#include <new>

#include "gdi32/display_list/display_list_recorder.h"
#include "gdi32/display_list/display_list_replay.h"
#include "gdi32/metafile/dc_placement.h"

DisplayList::DisplayList(std::unique_ptr<DisplayListData> data) : m_data(std::move(data)) {}

DisplayList::~DisplayList() = default;

std::unique_ptr<DisplayList> DisplayList::Record(HDC hdc, HENHMETAFILE metafile, const RECT& rect,
                                                 unsigned width, unsigned height, unsigned bandRows,
                                                 std::string* error) {
    const HDC__* dc = FindDc(hdc);
    const EmfDocument* doc = EnhMetaFileDocument(metafile);
    if (!dc || !doc) {
        *error = !dc ? "no device context to play the metafile under" : "no metafile to play";
        return nullptr;
    }
    MetafilePlacement placement;
    if (!PlacementInDc(*dc, *doc, rect, &placement, error)) return nullptr;
    try {
        auto data = std::make_unique<DisplayListData>();
        data->width = width;
        data->height = height;
        DisplayListRecorder recorder(*data, doc->data, doc->size, dc->styleUnit);
        MetafilePlaySummary summary;
        if (!PlayMetafileRecords(*doc, recorder, placement, &summary, error)) return nullptr;
        const DisplayListData& d = *data;
        data->rows.Build(height, bandRows, data->primitives.size(),
                         [&d](size_t i, unsigned* top, unsigned* bottom) {
                             const RECT& box = d.primitives[i].box;
                             *top = static_cast<unsigned>(box.top);
                             *bottom = static_cast<unsigned>(box.bottom);
                         });
        return std::unique_ptr<DisplayList>(new DisplayList(std::move(data)));
    } catch (const std::bad_alloc&) {
        *error = "no memory for the page's display list";
        return nullptr;
    }
}

bool DisplayList::DrawRows(HDC hdc, unsigned top, unsigned rows, RECT* drawn) const {
    HDC__* dc = FindDc(hdc);
    if (!dc || !dc->bitmap || rows > static_cast<unsigned>(dc->bitmap->height) ||
        top > m_data->height || rows > m_data->height - top)
        return false;
    RECT area{0, 0, 0, 0};
    if (rows > 0) area = DrawDisplayListRows(*m_data, *dc, top, rows);
    if (drawn) *drawn = area;
    return true;
}

size_t DisplayList::Bytes() const {
    const DisplayListData& d = *m_data;
    return sizeof d + d.primitives.Bytes() + d.figures.Bytes() + d.points.Bytes() +
           d.fills.capacity() * sizeof(RasterFill) + d.strokes.capacity() * sizeof(RasterStroke) +
           d.clips.capacity() * sizeof(RegionRef) +
           (d.bitmaps.capacity() + d.gradients.capacity()) * sizeof(void*) + d.ownedBytes +
           d.rows.Bytes();
}

size_t DisplayList::Primitives() const {
    return m_data->primitives.size();
}

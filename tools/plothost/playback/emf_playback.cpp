#include "playback/emf_playback.h"

Playback::Playback(const EmfDocument& document, PlotSurface& plotSurface,
                   const ReferenceDevice& referenceDevice, const Affine& toPlotter, double dpi)
    : doc(document),
      surface(plotSurface),
      painter(plotSurface, dpi),
      device(referenceDevice),
      placement(toPlotter),
      objects(document.header.nHandles) {}

const Affine& Playback::ToDevice() const {
    if (!m_toDeviceValid) {
        const DcState& s = dc.Current();
        m_toDevice = Then(Then(s.world, PageToDevice(s)), placement);
        m_toDeviceValid = true;
    }
    return m_toDevice;
}

GdiPath& Playback::Figures() {
    if (pathBracketOpen) return path;
    scratch.Clear();
    return scratch;
}

GdiPath& Playback::FiguresFromPosition() {
    GdiPath& figures = Figures();
    figures.StartFigureIfNone(Device(State().position));
    return figures;
}

void Playback::Paint(bool fill, bool stroke, bool simple) {
    if (pathBracketOpen) return;
    const DcState& s = State();
    if (fill) painter.Fill(scratch.Figures(), s.brush.get(), s, simple);
    if (stroke) painter.Stroke(scratch.Figures(), s.pen.get(), s, ToDevice());
}

std::shared_ptr<CKestRgn> Playback::PageRegion() const {
    auto page = std::make_shared<CKestRgn>();
    page->CreateRectRgn(-1, -1, surface.DeviceCaps(HORZRES) + 1, surface.DeviceCaps(VERTRES) + 1);
    return page;
}

RecordResult Playback::Fail(const EmfRecordView& record, const std::string& why) {
    const char* name = EmfRecordTypeName(record.type);
    error = "record " + std::to_string(record.index) + " (" +
            (name ? std::string(name) : "type " + std::to_string(record.type)) + "): " + why;
    return RecordResult::Failed;
}

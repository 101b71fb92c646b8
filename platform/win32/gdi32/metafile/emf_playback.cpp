#include "win32/gdi32/metafile/emf_playback.h"

Playback::Playback(const EmfDocument& document, MetafileDevice& target,
                   const ReferenceDevice& referenceDevice, const Affine& toDevice)
    : doc(document),
      device(target),
      reference(referenceDevice),
      placement(toDevice),
      objects(document.header.nHandles),
      gdiPixels(target.GdiPixelCurves()) {
    m_cullable = device.VisibleArea(&m_visible);
    if (m_cullable) m_pens = ScanMetafilePens(doc);
}

CurveCulling Playback::Culling() const {
    return m_cullable ? CullingFor(m_visible, m_pens, ToDevice()) : CurveCulling{};
}

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
    if (fill) device.Fill(scratch.Figures(), s.brush.get(), s, simple);
    if (stroke) device.Stroke(scratch.Figures(), s.pen.get(), s, ToDevice());
}

RegionRef Playback::PageRegion() const {
    return device.RectRegion(
        RECT{-1, -1, device.DeviceCaps(HORZRES) + 1, device.DeviceCaps(VERTRES) + 1});
}

RecordResult Playback::Fail(const EmfRecordView& record, const std::string& why) {
    const char* name = EmfRecordTypeName(record.type);
    error = "record " + std::to_string(record.index) + " (" +
            (name ? std::string(name) : "type " + std::to_string(record.type)) + "): " + why;
    return RecordResult::Failed;
}

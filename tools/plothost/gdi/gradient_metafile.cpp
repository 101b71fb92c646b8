#include "gdi/gradient_metafile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "win32/gdi32/emf/emf.h"

namespace {

// Plotter pixels stay far inside what a LONG holds, and inside the reach of
// the raster device that renders them.
constexpr double kFarthest = 1.0e8;

LONG Pixel(double value) {
    if (!std::isfinite(value)) return 0;
    return static_cast<LONG>(std::lround(std::clamp(value, -kFarthest, kFarthest)));
}

class RecordWriter {
public:
    // Starts a record; its size is filled in by End.
    void Begin(DWORD type) {
        m_start = m_words.size();
        m_words.push_back(type);
        m_words.push_back(0);
    }
    void Word(DWORD value) { m_words.push_back(value); }
    void Long(LONG value) { m_words.push_back(static_cast<DWORD>(value)); }
    void Rect(const RECT& r) { Long(r.left), Long(r.top), Long(r.right), Long(r.bottom); }
    void End() {
        m_words[m_start + 1] = static_cast<DWORD>((m_words.size() - m_start) * 4);
        ++m_records;
    }
    std::vector<DWORD>& Words() { return m_words; }
    DWORD Records() const { return m_records; }

private:
    std::vector<DWORD> m_words;
    size_t m_start = 0;
    DWORD m_records = 0;
};

void ClipPath(RecordWriter& out, const HT_ClipRgn* clip, const RECT& frame) {
    out.Begin(EMR_BEGINPATH);
    out.End();
    for (const HT_ClipRgn* e = clip; e; e = e->pNext) {
        if (e->nCount < 3) continue;
        out.Begin(EMR_POLYGON);
        out.Rect(frame);
        out.Word(static_cast<DWORD>(e->nCount));
        for (LONG i = 0; i < e->nCount; ++i) out.Long(e->pPoints[i].x), out.Long(e->pPoints[i].y);
        out.End();
    }
    out.Begin(EMR_ENDPATH);
    out.End();
    out.Begin(EMR_SELECTCLIPPATH);
    out.Word(RGN_COPY);
    out.End();
}

void Gradient(RecordWriter& out, const GradientMesh& mesh, const RECT& frame) {
    const bool triangles = mesh.mode == GRADIENT_FILL_TRIANGLE;
    out.Begin(EMR_GRADIENTFILL);
    out.Rect(frame);
    out.Word(static_cast<DWORD>(mesh.vertices.size()));
    out.Word(static_cast<DWORD>(triangles ? mesh.triangles.size() : mesh.rects.size()));
    out.Word(mesh.mode);
    for (const GradientVertex& v : mesh.vertices) {
        out.Long(Pixel(v.at.x)), out.Long(Pixel(v.at.y));
        out.Word(DWORD{v.red} | DWORD{v.green} << 16);
        out.Word(v.blue);  // alpha 0: GradientFill does not blend
    }
    if (triangles)
        for (const GRADIENT_TRIANGLE& t : mesh.triangles)
            out.Word(t.Vertex1), out.Word(t.Vertex2), out.Word(t.Vertex3);
    else
        for (const GRADIENT_RECT& r : mesh.rects) out.Word(r.UpperLeft), out.Word(r.LowerRight);
    out.End();
}

}  // namespace

RECT GradientBounds(const GradientMesh& mesh) {
    if (mesh.vertices.empty()) return RECT{0, 0, 0, 0};
    constexpr LONG kMost = std::numeric_limits<LONG>::max();
    constexpr LONG kLeast = std::numeric_limits<LONG>::min();
    RECT box{kMost, kMost, kLeast, kLeast};
    for (const GradientVertex& v : mesh.vertices) {
        box.left = std::min(box.left, Pixel(v.at.x)),
        box.right = std::max(box.right, Pixel(v.at.x));
        box.top = std::min(box.top, Pixel(v.at.y)),
        box.bottom = std::max(box.bottom, Pixel(v.at.y));
    }
    return box;
}

std::vector<BYTE> GradientMetafile(const GradientMesh& mesh, const HT_ClipRgn* clip,
                                   const RECT& frame) {
    RecordWriter out;
    out.Begin(EMR_HEADER);
    out.Rect(frame);  // rclBounds
    out.Rect(frame);  // rclFrame, in hundredths of a millimetre
    out.Word(ENHMETA_SIGNATURE);
    out.Word(0x10000);                      // nVersion
    out.Word(0);                            // nBytes, filled in below
    out.Word(0);                            // nRecords, filled in below
    out.Word(1);                            // nHandles: the table's reserved entry, no objects
    out.Word(0), out.Word(0), out.Word(0);  // no description, no palette
    // A reference device of a hundred pixels a millimetre: a frame in
    // hundredths of a millimetre then spans as many of its pixels as the
    // frame's numbers say, so that played onto frame one unit is one pixel.
    out.Long(100000), out.Long(100000);  // szlDevice
    out.Long(1000), out.Long(1000);      // szlMillimeters
    out.End();
    if (clip) ClipPath(out, clip, frame);
    Gradient(out, mesh, frame);
    out.Begin(EMR_EOF);
    out.Word(0), out.Word(16), out.Word(20);  // no palette; nSizeLast repeats the size
    out.End();
    std::vector<DWORD>& words = out.Words();
    words[12] = static_cast<DWORD>(words.size() * 4);  // nBytes
    words[13] = out.Records();
    std::vector<BYTE> bytes(words.size() * 4);
    std::memcpy(bytes.data(), words.data(), bytes.size());
    return bytes;
}

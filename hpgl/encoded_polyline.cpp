// "PE" numbers in their 8-bit form: the difference from the previous point,
// zig-zag signed (v = 2d, or 2|d| + 1 when negative), then written as base-64
// digits least significant first: (v mod 64) + 63 while v >= 64, and a last
// digit v + 191. No fraction flag is ever sent: coordinates are integers.
#include "hpgl/encoded_polyline.h"

#include <cstdint>

#include "job/job_context.h"
#include "job/output_stream.h"

namespace {

// A 32-bit difference needs at most 33 bits: 6 digits.
int EncodeNumber(std::int64_t d, unsigned char* out) {
    std::uint64_t v =
        d >= 0 ? static_cast<std::uint64_t>(d) * 2 : static_cast<std::uint64_t>(-d) * 2 + 1;
    int n = 0;
    while (v >= 64) {
        out[n++] = static_cast<unsigned char>(v % 64 + 63);
        v /= 64;
    }
    out[n++] = static_cast<unsigned char>(v + 191);
    return n;
}

void OpenPE(JobContext* job) {
    if (job->m_bInPE) return;
    WriteText(job, "PE");
    job->m_bInPE = 1;
}

// Whether the stream already stands at the point. Before the first absolute
// pair of a job, fill or image the stream's position is not known, so the
// point is always sent.
bool AlreadyThere(const JobContext* job, const POINT& p) {
    return job->m_bPEAbsNext != 1 && p.x == job->m_ptPE.x && p.y == job->m_ptPE.y;
}

}  // namespace

POINT PlotterPoint(const JobContext* job, const POINT& p) {
    // Wraps like the 32-bit plotter arithmetic rather than overflowing.
    return POINT{static_cast<LONG>(static_cast<std::uint32_t>(p.x) +
                                   static_cast<std::uint32_t>(job->m_ptOrigin.x)),
                 static_cast<LONG>(static_cast<std::uint32_t>(p.y) +
                                   static_cast<std::uint32_t>(job->m_ptOrigin.y))};
}

void EncodePECoordinate(JobContext* job, LONG x, LONG y) {
    if (job->m_bPEAbsNext == 1) {
        WriteText(job, "=");  // the next pair is an absolute position
        job->m_ptPE = POINT{0, 0};
        job->m_bPEAbsNext = 0;
    }
    unsigned char digits[12];
    int n = EncodeNumber(std::int64_t{x} - job->m_ptPE.x, digits);
    n += EncodeNumber(std::int64_t{y} - job->m_ptPE.y, digits + n);
    WriteBytes(job, digits, n);
    job->m_ptPE = POINT{x, y};
}

void EmitPEPolyline(JobContext* job, int count, const POINT* points) {
    OpenPE(job);
    const POINT first = PlotterPoint(job, points[0]);
    if (!AlreadyThere(job, first)) {
        WriteText(job, "<");  // pen up to the start
        EncodePECoordinate(job, first.x, first.y);
    }
    for (int i = 1; i < count; ++i) {
        const POINT p = PlotterPoint(job, points[i]);
        EncodePECoordinate(job, p.x, p.y);
    }
}

void MovePE(JobContext* job, const POINT* point) {
    OpenPE(job);
    if (!point) return;
    const POINT p = PlotterPoint(job, *point);
    if (AlreadyThere(job, p)) return;
    WriteText(job, "<");
    EncodePECoordinate(job, p.x, p.y);
}

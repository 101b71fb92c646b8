#include "support/emf_builder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>

namespace {

// ENHMETAHEADER, 108 bytes, as DWORD indexes.
constexpr size_t kFrame = 6;         // rclFrame
constexpr size_t kNBytes = 12;       // nBytes
constexpr size_t kNRecords = 13;     // nRecords
constexpr size_t kHandles = 14;      // nHandles (low word), sReserved
constexpr size_t kDevice = 18;       // szlDevice
constexpr size_t kMillimetres = 20;  // szlMillimeters
constexpr size_t kMicrometres = 25;  // szlMicrometers

DWORD U(LONG v) {
    return static_cast<DWORD>(v);
}

DWORD Short2(LONG x, LONG y) {
    return (static_cast<DWORD>(static_cast<WORD>(x))) |
           (static_cast<DWORD>(static_cast<WORD>(y)) << 16);
}

}  // namespace

DWORD EmfBuilder::Float(float value) {
    return std::bit_cast<DWORD>(value);
}

EmfBuilder::EmfBuilder() : m_header(27, 0) {
    m_header[0] = EMR_HEADER;
    m_header[1] = 108;
    m_header[10] = ENHMETA_SIGNATURE;
    m_header[11] = 0x10000;
    m_header[kHandles] = 16;
    Frame(0, 0, 10000, 10000);
    Device(1000, 1000, 100, 100);
}

EmfBuilder& EmfBuilder::Handles(WORD count) {
    m_header[kHandles] = count;
    return *this;
}

EmfBuilder& EmfBuilder::Frame(LONG left, LONG top, LONG right, LONG bottom) {
    m_header[kFrame] = U(left);
    m_header[kFrame + 1] = U(top);
    m_header[kFrame + 2] = U(right);
    m_header[kFrame + 3] = U(bottom);
    return *this;
}

EmfBuilder& EmfBuilder::Bounds(LONG left, LONG top, LONG right, LONG bottom) {
    m_bounds = {U(left), U(top), U(right), U(bottom)};
    return *this;
}

EmfBuilder& EmfBuilder::Device(LONG px, LONG py, LONG mmx, LONG mmy) {
    m_header[kDevice] = U(px);
    m_header[kDevice + 1] = U(py);
    m_header[kMillimetres] = U(mmx);
    m_header[kMillimetres + 1] = U(mmy);
    m_header[kMicrometres] = U(mmx * 1000);
    m_header[kMicrometres + 1] = U(mmy * 1000);
    return *this;
}

EmfBuilder& EmfBuilder::RawRecord(DWORD type, DWORD size, const std::vector<DWORD>& payload) {
    m_records.push_back(type);
    m_records.push_back(size);
    m_records.insert(m_records.end(), payload.begin(), payload.end());
    ++m_recordCount;
    return *this;
}

EmfBuilder& EmfBuilder::Record(DWORD type, const std::vector<DWORD>& payload) {
    return RawRecord(type, static_cast<DWORD>((payload.size() + 2) * 4), payload);
}

EmfBuilder& EmfBuilder::MoveTo(LONG x, LONG y) {
    return Record(EMR_MOVETOEX, {U(x), U(y)});
}

EmfBuilder& EmfBuilder::LineTo(LONG x, LONG y) {
    return Record(EMR_LINETO, {U(x), U(y)});
}

EmfBuilder& EmfBuilder::Poly(DWORD type, const std::vector<POINT>& points) {
    std::vector<DWORD> payload{0, 0, 0, 0, static_cast<DWORD>(points.size())};  // bounds, count
    for (const POINT& p : points) {
        payload.push_back(U(p.x));
        payload.push_back(U(p.y));
    }
    return Record(type, payload);
}

EmfBuilder& EmfBuilder::Poly16(DWORD type, const std::vector<POINT>& points) {
    std::vector<DWORD> payload{0, 0, 0, 0, static_cast<DWORD>(points.size())};
    for (const POINT& p : points) payload.push_back(Short2(p.x, p.y));
    return Record(type, payload);
}

// Bounds, the figure count, the point count, the counts of the figures,
// then the points as two 32-bit or two 16-bit coordinates.
EmfBuilder& EmfBuilder::PolyPolyOf(DWORD type, const std::vector<std::vector<POINT>>& polys,
                                   bool sixteenBits) {
    std::vector<DWORD> payload{0, 0, 0, 0, static_cast<DWORD>(polys.size()), 0};
    DWORD total = 0;
    for (const auto& poly : polys) {
        payload.push_back(static_cast<DWORD>(poly.size()));
        total += static_cast<DWORD>(poly.size());
    }
    payload[5] = total;
    for (const auto& poly : polys)
        for (const POINT& p : poly) {
            if (sixteenBits) {
                payload.push_back(Short2(p.x, p.y));
                continue;
            }
            payload.push_back(U(p.x));
            payload.push_back(U(p.y));
        }
    return Record(type, payload);
}

EmfBuilder& EmfBuilder::PolyPoly(DWORD type, const std::vector<std::vector<POINT>>& polys) {
    return PolyPolyOf(type, polys, false);
}

EmfBuilder& EmfBuilder::PolyPoly16(DWORD type, const std::vector<std::vector<POINT>>& polys) {
    return PolyPolyOf(type, polys, true);
}

EmfBuilder& EmfBuilder::Box(DWORD type, LONG left, LONG top, LONG right, LONG bottom) {
    return Record(type, {U(left), U(top), U(right), U(bottom)});
}

EmfBuilder& EmfBuilder::CreatePen(DWORD index, DWORD style, LONG width, COLORREF color) {
    return Record(EMR_CREATEPEN, {index, style, U(width), 0, color});
}

EmfBuilder& EmfBuilder::ExtCreatePen(DWORD index, DWORD style, DWORD width, COLORREF color,
                                     const std::vector<DWORD>& entries) {
    // ihPen, offBmi, cbBmi, offBits, cbBits, then EXTLOGPEN32.
    std::vector<DWORD> payload{index,
                               0,
                               0,
                               0,
                               0,
                               style,
                               width,
                               0 /* BS_SOLID */,
                               color,
                               0,
                               static_cast<DWORD>(entries.size())};
    payload.insert(payload.end(), entries.begin(), entries.end());
    return Record(EMR_EXTCREATEPEN, payload);
}

EmfBuilder& EmfBuilder::CreateBrush(DWORD index, UINT style, COLORREF color, ULONG hatch) {
    return Record(EMR_CREATEBRUSHINDIRECT, {index, style, color, static_cast<DWORD>(hatch)});
}

EmfBuilder& EmfBuilder::Select(DWORD index) {
    return Record(EMR_SELECTOBJECT, {index});
}

EmfBuilder& EmfBuilder::Delete(DWORD index) {
    return Record(EMR_DELETEOBJECT, {index});
}

EmfBuilder& EmfBuilder::Mode(DWORD type, DWORD value) {
    return Record(type, {value});
}

EmfBuilder& EmfBuilder::World(float m11, float m12, float m21, float m22, float dx, float dy) {
    return Record(EMR_SETWORLDTRANSFORM,
                  {Float(m11), Float(m12), Float(m21), Float(m22), Float(dx), Float(dy)});
}

EmfBuilder& EmfBuilder::ModifyWorld(float m11, float m12, float m21, float m22, float dx, float dy,
                                    DWORD mode) {
    return Record(EMR_MODIFYWORLDTRANSFORM,
                  {Float(m11), Float(m12), Float(m21), Float(m22), Float(dx), Float(dy), mode});
}

EmfBuilder& EmfBuilder::SelectClipRegion(DWORD mode, const std::vector<RECT>& rects,
                                         bool withData) {
    if (!withData) return Record(EMR_EXTSELECTCLIPRGN, {0, mode});
    const DWORD count = static_cast<DWORD>(rects.size());
    // RGNDATAHEADER: dwSize 32, iType RDH_RECTANGLES, nCount, nRgnSize, rcBound.
    std::vector<DWORD> payload{
        32 + 16 * count, mode, 32, RDH_RECTANGLES, count, 16 * count, 0, 0, 0, 0};
    for (const RECT& r : rects) {
        payload.push_back(U(r.left));
        payload.push_back(U(r.top));
        payload.push_back(U(r.right));
        payload.push_back(U(r.bottom));
    }
    return Record(EMR_EXTSELECTCLIPRGN, payload);
}

std::vector<DWORD> EmfBuilder::Words() const {
    std::vector<DWORD> words = m_header;
    words.insert(words.end(), m_records.begin(), m_records.end());
    return words;
}

std::vector<BYTE> EmfBuilder::Bytes() const {
    std::vector<DWORD> words = Words();
    // EMR_EOF: nPalEntries 0, offPalEntries 16, nSizeLast 20.
    const DWORD eof[] = {EMR_EOF, 20, 0, 16, 20};
    words.insert(words.end(), std::begin(eof), std::end(eof));
    words[kNBytes] = static_cast<DWORD>(words.size() * 4);
    words[kNRecords] = m_recordCount + 2;  // with the header and the end
    // rclBounds: the whole reference device unless given.
    const std::vector<DWORD> bounds =
        m_bounds.empty()
            ? std::vector<DWORD>{0, 0, m_header[kDevice] - 1, m_header[kDevice + 1] - 1}
            : m_bounds;
    std::copy(bounds.begin(), bounds.end(), words.begin() + 2);
    std::vector<BYTE> bytes(words.size() * 4);
    std::memcpy(bytes.data(), words.data(), bytes.size());
    return bytes;
}

bool WriteBytes(const std::string& path, const std::vector<BYTE>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

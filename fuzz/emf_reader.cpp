// Parses arbitrary bytes as a metafile and, when they pass, reads every
// record through every view and touches every byte the views hand out, so
// that a view reaching past its record shows up under AddressSanitizer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "win32/gdi32/emf/emf.h"

namespace {

volatile unsigned g_sink;

void Touch(std::span<const BYTE> bytes) {
    unsigned sum = 0;
    for (BYTE b : bytes) sum += b;
    g_sink = g_sink + sum;
}

template <typename T>
void Touch(std::span<const T> items) {
    Touch(std::span<const BYTE>(reinterpret_cast<const BYTE*>(items.data()), items.size_bytes()));
}

void Touch(const EmfBitmap& bitmap) {
    Touch(bitmap.colors);
    Touch(bitmap.bits);
    // What a player relies on: the colour table and the rows lie inside.
    if (bitmap.present && bitmap.stride != 0 &&
        uint64_t{bitmap.rows} * bitmap.stride > bitmap.bits.size())
        __builtin_trap();
}

void Touch(const EmfRegion& region) {
    if (region.header) g_sink = g_sink + region.header->nCount;
    Touch(region.rects);
}

template <typename View>
bool Read(const EmfDocument& doc, const EmfRecordView& record, View* view) {
    std::string error;
    const bool ok = ReadEmfRecord(doc, record, view, &error);
    if (!ok && error.empty()) __builtin_trap();  // every refusal names the record
    return ok;
}

template <typename Record>
void ReadFixed(const EmfDocument& doc, const EmfRecordView& record) {
    std::string error;
    if (const Record* r = EmfFixedRecord<Record>(doc, record, &error))
        Touch(std::span<const BYTE>(reinterpret_cast<const BYTE*>(r), sizeof(Record)));
}

void ReadEveryView(const EmfDocument& doc, const EmfRecordView& record) {
    Touch(EmfRecordBytes(doc, record));
    if (EmfPolyline v; Read(doc, record, &v)) Touch(v.points);
    if (EmfPolyline16 v; Read(doc, record, &v)) Touch(v.points);
    if (EmfPolyPolyline v; Read(doc, record, &v)) Touch(v.counts), Touch(v.points);
    if (EmfPolyPolyline16 v; Read(doc, record, &v)) Touch(v.counts), Touch(v.points);
    if (EmfPolyDraw v; Read(doc, record, &v)) Touch(v.points), Touch(v.types);
    if (EmfPolyDraw16 v; Read(doc, record, &v)) Touch(v.points), Touch(v.types);
    if (EmfBitBlt v; Read(doc, record, &v)) Touch(v.source);
    if (EmfStretchBlt v; Read(doc, record, &v)) Touch(v.source);
    if (EmfStretchDIBits v; Read(doc, record, &v)) Touch(v.source);
    if (EmfSetDIBitsToDevice v; Read(doc, record, &v)) Touch(v.source);
    if (EmfMaskBlt v; Read(doc, record, &v)) Touch(v.source), Touch(v.mask);
    if (EmfPlgBlt v; Read(doc, record, &v)) Touch(v.source), Touch(v.mask);
    if (EmfExtCreatePen v; Read(doc, record, &v)) Touch(v.styleEntries), Touch(v.pattern);
    if (EmfPatternBrush v; Read(doc, record, &v)) Touch(v.pattern);
    if (EmfExtSelectClipRgn v; Read(doc, record, &v)) Touch(v.region);
    if (EmfFillRgn v; Read(doc, record, &v)) Touch(v.region);
    if (EmfFrameRgn v; Read(doc, record, &v)) Touch(v.region);
    if (EmfInvertRgn v; Read(doc, record, &v)) Touch(v.region);
    if (EmfExtTextOut v; Read(doc, record, &v)) Touch(v.text), Touch(v.dx);
    if (EmfGdiComment v; Read(doc, record, &v)) {
        Touch(v.data);
        g_sink = g_sink + IsEmfPlusComment(v);
    }
    if (EmfEof v; Read(doc, record, &v)) Touch(v.palette);
    ReadFixed<EMRSELECTOBJECT>(doc, record);
    ReadFixed<EMRCREATEPEN>(doc, record);
    ReadFixed<EMRCREATEBRUSHINDIRECT>(doc, record);
    ReadFixed<EMRMODIFYWORLDTRANSFORM>(doc, record);
    ReadFixed<EMRSCALEVIEWPORTEXTEX>(doc, record);
    ReadFixed<EMRARC>(doc, record);
    ReadFixed<EMRROUNDRECT>(doc, record);
    ReadFixed<EMRSTRETCHDIBITS>(doc, record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // libFuzzer's buffer is a heap block of its own, so it keeps the 4-byte
    // grid the reader asks for; copy to be sure of it all the same.
    std::vector<BYTE> bytes(data, data + size);
    EmfDocument doc;
    std::string error;
    if (!ParseEnhMetaFile(bytes.data(), bytes.size(), &doc, &error)) {
        if (error.empty() || !doc.records.empty()) __builtin_trap();
        return 0;
    }
    if (doc.records.empty() || doc.records.back().type != EMR_EOF) __builtin_trap();
    Touch(doc.description);
    for (const EmfRecordView& record : doc.records) ReadEveryView(doc, record);
    return 0;
}

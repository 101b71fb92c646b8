// The metafile walk: the header, then every record checked against what is
// left before it is read, then the record's own arrays and bitmaps.
#include "win32/gdi32/emf/emf_reader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "gdi32/emf/emf_record_check.h"

static_assert(std::endian::native == std::endian::little,
              "metafile records are read in place as little-endian structs");

namespace {

// The header grew twice: the base ends after szlMillimeters, the first
// extension after bOpenGL, the second after szlMicrometers.
constexpr DWORD kHeaderBaseSize = 88;
constexpr DWORD kHeaderExtension1Size = 100;
constexpr DWORD kHeaderExtension2Size = 108;
static_assert(kHeaderExtension2Size == sizeof(ENHMETAHEADER));

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

bool FailRecord(std::string* error, DWORD index, DWORD type, const std::string& what) {
    return Fail(error, EmfRecordLabel(index, type) + ": " + what);
}

// A record must hold its type's fixed part, keep to the 4-byte grid and end
// before the metafile does.
bool CheckRecordSize(DWORD index, DWORD type, DWORD size, uint64_t left, std::string* error) {
    const DWORD fixed = EmfRecordFixedSize(type);
    if (size < fixed)
        return FailRecord(
            error, index, type,
            EmfFormat("size %u is smaller than its fixed part of %u bytes", size, fixed));
    if (size % 4 != 0)
        return FailRecord(error, index, type, EmfFormat("size %u is not a multiple of 4", size));
    if (size > left)
        return FailRecord(error, index, type,
                          EmfFormat("size %u runs past the end of the metafile (%llu bytes left)",
                                    size, static_cast<unsigned long long>(left)));
    return true;
}

// Checks the header record against the file and copies it. An extension
// counts only when the record is long enough for it and the description (or
// pixel format) does not start inside it, which is how writers that predate
// it are told apart.
bool ReadHeader(const BYTE* data, size_t size, EmfDocument* doc, std::string* error) {
    const DWORD type = EmfReadDword(data);
    const DWORD headerSize = EmfReadDword(data + 4);
    if (type != EMR_HEADER)
        return FailRecord(error, 0, type, "the metafile does not start with EMR_HEADER");
    if (!CheckRecordSize(0, type, headerSize, size, error)) return false;

    ENHMETAHEADER& h = doc->header;
    std::memcpy(&h, data, std::min<DWORD>(headerSize, sizeof h));
    if (h.dSignature != ENHMETA_SIGNATURE)
        return FailRecord(error, 0, type,
                          EmfFormat("signature 0x%08X is not \" EMF\" (0x%08X)", h.dSignature,
                                    ENHMETA_SIGNATURE));
    if (h.nBytes > size)
        return FailRecord(
            error, 0, type,
            EmfFormat("nBytes %u is more than the %zu bytes there are", h.nBytes, size));
    if (h.nBytes < headerSize)
        return FailRecord(
            error, 0, type,
            EmfFormat("nBytes %u is smaller than the header's size of %u", h.nBytes, headerSize));

    const auto startsPast = [&](DWORD count, DWORD offset, DWORD end) {
        return count == 0 || offset >= end;
    };
    const bool extension1 = headerSize >= kHeaderExtension1Size &&
                            startsPast(h.nDescription, h.offDescription, kHeaderExtension1Size);
    const bool extension2 = extension1 && headerSize >= kHeaderExtension2Size &&
                            startsPast(h.nDescription, h.offDescription, kHeaderExtension2Size) &&
                            startsPast(h.cbPixelFormat, h.offPixelFormat, kHeaderExtension2Size);
    if (!extension1) {
        h.cbPixelFormat = 0;
        h.offPixelFormat = 0;
        h.bOpenGL = 0;
    }
    if (!extension2) h.szlMicrometers = SIZEL{0, 0};

    uint64_t end;
    if (h.nDescription != 0) {
        if (!EmfArrayEnd(h.offDescription, h.nDescription, 2, &end) || end > headerSize)
            return FailRecord(
                error, 0, type,
                EmfFormat("description of %u characters at offset %u runs past its size of %u",
                          h.nDescription, h.offDescription, headerSize));
        doc->description = {data + h.offDescription, size_t{h.nDescription} * 2};
    }
    if (h.cbPixelFormat != 0 &&
        (!EmfArrayEnd(h.offPixelFormat, h.cbPixelFormat, 1, &end) || end > headerSize))
        return FailRecord(
            error, 0, type,
            EmfFormat("pixel format of %u bytes at offset %u runs past its size of %u",
                      h.cbPixelFormat, h.offPixelFormat, headerSize));
    return true;
}

}  // namespace

bool ParseEnhMetaFile(const BYTE* data, size_t size, EmfDocument* out, std::string* error) {
    *out = EmfDocument{};
    if (size < kHeaderBaseSize)
        return Fail(error, EmfFormat("metafile of %zu bytes is too short for its header of %u",
                                     size, kHeaderBaseSize));
    if (data == nullptr) return Fail(error, "no metafile data");
    if (reinterpret_cast<uintptr_t>(data) % 4 != 0)
        return Fail(error, "metafile data does not start on a 4-byte boundary");

    EmfDocument doc;
    if (!ReadHeader(data, size, &doc, error)) return false;
    doc.data = data;
    doc.size = doc.header.nBytes;  // bytes past nBytes are padding

    const uint64_t total = doc.size;
    uint64_t offset = 0;
    DWORD index = 0;
    bool sawEof = false;
    EmfRecordView last{};
    while (offset < total) {
        const uint64_t left = total - offset;
        const BYTE* p = data + offset;
        if (left < sizeof(EMR)) {
            const std::string what = EmfFormat("only %llu bytes are left, too few for a record",
                                               static_cast<unsigned long long>(left));
            if (left < sizeof(DWORD)) return Fail(error, EmfFormat("record %u: ", index) + what);
            return FailRecord(error, index, EmfReadDword(p), what);
        }
        const EmfRecordView record{EmfReadDword(p), EmfReadDword(p + 4), static_cast<DWORD>(offset),
                                   index};
        if (!CheckRecordSize(index, record.type, record.size, left, error)) return false;
        if (index > 0 && record.type == EMR_HEADER)
            return FailRecord(error, index, record.type, "a second header inside the metafile");
        if (const EmfRecordValidator validate = FindEmfRecordValidator(record.type))
            if (!validate(doc, record, error)) return false;
        last = record;
        offset += record.size;
        ++index;
        if (record.type == EMR_EOF) {
            sawEof = true;
            break;
        }
    }
    if (!sawEof)
        return FailRecord(error, last.index, last.type, "the metafile ends without EMR_EOF");
    if (offset != total)
        return FailRecord(error, last.index, last.type,
                          EmfFormat("%llu bytes of nBytes follow EMR_EOF",
                                    static_cast<unsigned long long>(total - offset)));
    // The header's record count is not checked: Windows plays records up to
    // EMR_EOF whatever it says, and some writers (LibreOffice) count one less.
    doc.records.m_data = data;
    doc.records.m_bytes = static_cast<DWORD>(total);
    doc.records.m_count = index;
    doc.records.m_last = last;
    *out = std::move(doc);
    return true;
}

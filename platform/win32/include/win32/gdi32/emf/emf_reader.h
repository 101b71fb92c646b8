// Reading an enhanced metafile: the header and every record are checked
// against the bytes that are there before anything is read, so that a player
// can refuse a malformed file before it draws (or writes) anything.
//
//   EmfDocument doc;
//   std::string error;
//   if (!LoadEnhMetaFile(path, &doc, &error)) { report error; return; }
//   for (const EmfRecordView& record : doc.records)
//       switch (record.type) { ... ReadEmfRecord(doc, record, &view, &error) ... }
//
// The document is a view over the metafile bytes: records are not copied.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "win32/gdi32/emf/emf_record_types.h"
#include "win32/gdi32/emf/emf_records.h"
#include "win32/types.h"

// One record: where it lies in the metafile. Offsets and sizes fit a DWORD
// because the header's nBytes, which covers them all, is one.
struct EmfRecordView {
    DWORD type;    // iType
    DWORD size;    // nSize
    DWORD offset;  // from the first byte of the metafile
    DWORD index;   // 0 is the header, the last one EMR_EOF
};
static_assert(sizeof(EmfRecordView) == 16);

// The records of a checked metafile, walked in place: nothing is kept per
// record, so a document costs its bytes and no more, however many records
// it holds. Indexing walks from the start (for tests and tools, not loops).
class EmfRecordList {
public:
    class Iterator {
    public:
        using value_type = EmfRecordView;
        using difference_type = std::ptrdiff_t;
        Iterator() = default;
        Iterator(const BYTE* data, DWORD offset, DWORD index)
            : m_data(data), m_offset(offset), m_index(index) {}
        EmfRecordView operator*() const {
            const BYTE* p = m_data + m_offset;
            return {ReadDword(p), ReadDword(p + 4), m_offset, m_index};
        }
        Iterator& operator++() {
            m_offset += ReadDword(m_data + m_offset + 4);
            ++m_index;
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const Iterator& other) const { return m_offset == other.m_offset; }

    private:
        static DWORD ReadDword(const BYTE* p) {
            return DWORD{p[0]} | DWORD{p[1]} << 8 | DWORD{p[2]} << 16 | DWORD{p[3]} << 24;
        }
        const BYTE* m_data = nullptr;
        DWORD m_offset = 0;
        DWORD m_index = 0;
    };

    Iterator begin() const { return {m_data, 0, 0}; }
    Iterator end() const { return {m_data, m_bytes, m_count}; }
    size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    EmfRecordView front() const { return *begin(); }
    EmfRecordView back() const { return m_last; }
    EmfRecordView operator[](size_t index) const {
        Iterator it = begin();
        for (size_t i = 0; i < index; ++i) ++it;
        return *it;
    }

private:
    friend bool ParseEnhMetaFile(const BYTE*, size_t, struct EmfDocument*, std::string*);
    const BYTE* m_data = nullptr;
    DWORD m_bytes = 0;  // nBytes: the records end exactly there
    DWORD m_count = 0;
    EmfRecordView m_last{};
};

// A checked metafile. Movable, not copyable: the views point into the bytes,
// which the document owns when it was loaded from a file.
struct EmfDocument {
    const BYTE* data = nullptr;  // the metafile's first byte, on a 4-byte boundary
    size_t size = 0;             // nBytes: the bytes the records cover
    // A copy of the header record. Extension fields a shorter header lacks
    // (cbPixelFormat..bOpenGL below 100 bytes, szlMicrometers below 108) are 0.
    ENHMETAHEADER header{};
    std::span<const BYTE> description;  // UTF-16LE, nDescription characters; may be empty
    EmfRecordList records;
    std::vector<BYTE> storage;  // the file's bytes, when LoadEnhMetaFile read them

    EmfDocument() = default;
    EmfDocument(EmfDocument&&) = default;
    EmfDocument& operator=(EmfDocument&&) = default;
    EmfDocument(const EmfDocument&) = delete;
    EmfDocument& operator=(const EmfDocument&) = delete;
};

// Checks and indexes size bytes of metafile at data, which must stay alive as
// long as *out is used (and not be *out's own storage) and start on a 4-byte
// boundary (any heap block does).
// Bytes past the header's nBytes are ignored: spoolers and clipboards pad
// metafiles. A record count other than the header's nRecords is accepted, as
// Windows accepts it (records.Count() is what the file holds). A file shorter
// than nBytes, a record that does not fit, one whose arrays or bitmap do not fit inside
// it, and a file that does not end with EMR_EOF are refused. On failure *out
// is empty and *error names the record, e.g.
//   "record 17 (EMR_POLYLINE16): size 12 is smaller than its fixed part of 28 bytes".
WIN32_API bool ParseEnhMetaFile(const BYTE* data, size_t size, EmfDocument* out,
                                std::string* error);

// Metafiles larger than this are refused before they are read.
constexpr size_t kEmfMaxFileBytes = size_t{1} << 30;

// Reads a metafile file (Windows or Linux path) and parses it as above.
WIN32_API bool LoadEnhMetaFile(const char* path, EmfDocument* out, std::string* error);

// The bytes of one record of the document.
inline std::span<const BYTE> EmfRecordBytes(const EmfDocument& doc, const EmfRecordView& record) {
    return {doc.data + record.offset, record.size};
}

// Shared checks of the metafile reader: where a record's parts lie, computed
// in 64 bits with overflow checks, and messages that name the record.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>

#include "win32/gdi32/emf/emf_reader.h"
#include "win32/gdi32/emf/emf_record_views.h"

// "record 3 (EMR_POLYLINE)", or "record 3 (type 200)" for a type without a name.
std::string EmfRecordLabel(DWORD index, DWORD type);

// printf into a std::string; integers only, so the locale plays no part.
std::string EmfFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// offset + count * elementSize, false when it does not fit 64 bits.
bool EmfArrayEnd(uint64_t offset, uint64_t count, uint64_t elementSize, uint64_t* end);

// Reads a DWORD at any alignment.
inline DWORD EmfReadDword(const BYTE* p) {
    DWORD value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// One record under check.
struct EmfRecordCheck {
    const EmfRecordView* record = nullptr;
    const BYTE* bytes = nullptr;  // the record's first byte
    std::string* error = nullptr;

    DWORD size() const { return record->size; }
    // Sets *error to "record N (NAME): " + what and returns false.
    bool Fail(const std::string& what) const;
    // count elements of elementSize from offset must end inside the record.
    bool Array(uint64_t offset, uint64_t count, uint64_t elementSize, const char* what) const;
    // length bytes from offset must lie inside the record.
    bool Range(uint64_t offset, uint64_t length, const char* what) const;
    template <typename T>
    const T* At(size_t offset) const {
        return reinterpret_cast<const T*>(bytes + offset);
    }
};

// Starts the check of a record read as a view: the record must lie inside
// the document, be of one of the types the view reads, and hold the fixed
// part of its layout.
bool BeginEmfRecordCheck(const EmfDocument& doc, const EmfRecordView& record,
                         std::initializer_list<DWORD> types, DWORD fixedSize, const char* layout,
                         std::string* error, EmfRecordCheck* check);

// Where a record keeps one bitmap.
struct EmfBitmapFields {
    const char* label;  // "source bitmap", "mask bitmap", "pattern bitmap"
    DWORD offBmi;
    DWORD cbBmi;
    DWORD offBits;
    DWORD cbBits;
    DWORD usage;
    bool rowsFromScans = false;  // EMR_SETDIBITSTODEVICE: the bits hold cScans rows
    DWORD scans = 0;
};

// Checks a bitmap's header, colour table and bits against the record and
// against each other, and fills *out. cbBmi 0 means no bitmap.
bool ReadEmfBitmap(const EmfRecordCheck& check, const EmfBitmapFields& fields, EmfBitmap* out);

// Checks cbRgnData bytes of RGNDATA at offset and fills *out; none when 0.
bool ReadEmfRegion(const EmfRecordCheck& check, DWORD offset, DWORD cbRgnData, EmfRegion* out);

// Validators run on every record while the document is parsed.
using EmfRecordValidator = bool (*)(const EmfDocument& doc, const EmfRecordView& record,
                                    std::string* error);
// The validator of a record type, or nullptr when its fixed part is all.
EmfRecordValidator FindEmfRecordValidator(DWORD type);
// Palette records have no view; the player ignores them but they are checked.
bool ValidateEmfCreatePalette(const EmfDocument& doc, const EmfRecordView& record,
                              std::string* error);
bool ValidateEmfSetPaletteEntries(const EmfDocument& doc, const EmfRecordView& record,
                                  std::string* error);

#include "gdi32/emf/emf_record_check.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

std::string EmfRecordLabel(DWORD index, DWORD type) {
    const char* name = EmfRecordTypeName(type);
    if (name) return EmfFormat("record %u (%s)", index, name);
    return EmfFormat("record %u (type %u)", index, type);
}

std::string EmfFormat(const char* format, ...) {
    char buffer[256];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0) return {};
    return std::string(buffer, std::min<size_t>(static_cast<size_t>(n), sizeof buffer - 1));
}

bool EmfArrayEnd(uint64_t offset, uint64_t count, uint64_t elementSize, uint64_t* end) {
    uint64_t bytes;
    return !__builtin_mul_overflow(count, elementSize, &bytes) &&
           !__builtin_add_overflow(offset, bytes, end);
}

bool EmfRecordCheck::Fail(const std::string& what) const {
    if (error) *error = EmfRecordLabel(record->index, record->type) + ": " + what;
    return false;
}

bool EmfRecordCheck::Array(uint64_t offset, uint64_t count, uint64_t elementSize,
                           const char* what) const {
    uint64_t end;
    if (!EmfArrayEnd(offset, count, elementSize, &end))
        return Fail(EmfFormat("%llu %s do not fit in 64 bits",
                              static_cast<unsigned long long>(count), what));
    if (end > size())
        return Fail(EmfFormat("%llu %s end at byte %llu, past its size of %u",
                              static_cast<unsigned long long>(count), what,
                              static_cast<unsigned long long>(end), size()));
    return true;
}

bool EmfRecordCheck::Range(uint64_t offset, uint64_t length, const char* what) const {
    if (offset + length > size())  // both below 2^32: no overflow
        return Fail(EmfFormat("%s at offset %llu with %llu bytes runs past its size of %u", what,
                              static_cast<unsigned long long>(offset),
                              static_cast<unsigned long long>(length), size()));
    return true;
}

bool BeginEmfRecordCheck(const EmfDocument& doc, const EmfRecordView& record,
                         std::initializer_list<DWORD> types, DWORD fixedSize, const char* layout,
                         std::string* error, EmfRecordCheck* check) {
    check->record = &record;
    check->error = error;
    if (static_cast<uint64_t>(record.offset) + record.size > doc.size || record.size < 8)
        return check->Fail("is not a record of this document");
    check->bytes = doc.data + record.offset;
    bool known = false;
    for (DWORD type : types) known = known || type == record.type;
    if (!known) return check->Fail(EmfFormat("is not a record of the %s layout", layout));
    if (record.size < fixedSize)
        return check->Fail(EmfFormat("size %u is smaller than its fixed part of %u bytes",
                                     record.size, fixedSize));
    return true;
}

const void* EmfFixedRecordBytes(const EmfDocument& doc, const EmfRecordView& record,
                                size_t fixedSize, std::string* error) {
    EmfRecordCheck check{&record, nullptr, error};
    if (static_cast<uint64_t>(record.offset) + record.size > doc.size || record.size < 8) {
        check.Fail("is not a record of this document");
        return nullptr;
    }
    if (record.size < fixedSize) {
        check.Fail(EmfFormat("size %u is smaller than its fixed part of %zu bytes", record.size,
                             fixedSize));
        return nullptr;
    }
    return doc.data + record.offset;
}

// Loading a metafile from disk into a document that owns its bytes.
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "gdi32/emf/emf_record_check.h"
#include "win32/gdi32/emf/emf_reader.h"
#include "win32/kernel32/native_path.h"

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

}  // namespace

bool LoadEnhMetaFile(const char* path, EmfDocument* out, std::string* error) {
    *out = EmfDocument{};
    const std::string native = NativePath(path);
    const std::string quoted = "\"" + native + "\"";
    std::unique_ptr<FILE, FileCloser> file(std::fopen(native.c_str(), "rb"));
    if (!file) return Fail(error, "cannot open metafile " + quoted);
    struct stat info;
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode))
        return Fail(error, "metafile " + quoted + " is not a file");
    // Refused before anything is allocated: a page never needs more.
    const auto bytes = static_cast<unsigned long long>(info.st_size);
    if (bytes > kEmfMaxFileBytes)
        return Fail(error, "metafile " + quoted + " is " + std::to_string(bytes) +
                               " bytes, more than the " + std::to_string(kEmfMaxFileBytes) +
                               " a metafile may have");

    std::vector<BYTE> storage(static_cast<size_t>(bytes));
    if (!storage.empty() &&
        std::fread(storage.data(), 1, storage.size(), file.get()) != storage.size())
        return Fail(error, "cannot read metafile " + quoted);

    EmfDocument doc;
    if (!ParseEnhMetaFile(storage.data(), storage.size(), &doc, error)) return false;
    // Moving the vector keeps its heap block, so the views stay valid.
    doc.storage = std::move(storage);
    *out = std::move(doc);
    return true;
}

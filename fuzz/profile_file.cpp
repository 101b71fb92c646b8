// Arbitrary bytes as a private profile file: every read form must stay in
// its buffer and terminate.
#include <cstdio>
#include <string>
#include <unistd.h>
#include <windows.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/hpgl2-fuzz-profile-" + std::to_string(getpid()) + ".ini";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    char small[7];
    char large[2048];
    GetPrivateProfileSectionNamesA(small, sizeof small, path.c_str());
    GetPrivateProfileSectionNamesA(large, sizeof large, path.c_str());
    const DWORD n = GetPrivateProfileSectionNamesA(large, sizeof large, path.c_str());
    std::string first = n ? std::string(large) : "P";
    GetPrivateProfileStringA(first.c_str(), nullptr, "", small, sizeof small, path.c_str());
    GetPrivateProfileStringA(first.c_str(), "Name", "d", large, sizeof large, path.c_str());
    GetPrivateProfileIntA(first.c_str(), "COLOR", 1, path.c_str());
    unsigned char record[1180];
    GetPrivateProfileStructA(first.c_str(), "ALLSETTING", record, sizeof record, path.c_str());
    GetPrivateProfileStructA(first.c_str(), "ALLSETTING", record, 3, path.c_str());
    return 0;
}

// Arbitrary bytes as a paper list: malformed lines are skipped, the rest read.
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "pxrdriver/paper.h"

namespace {
void Quiet(const char*, const PaperFileProblem&) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/hpgl2-fuzz-paper-" + std::to_string(getpid()) + ".ini";
    HT_SetPaperProblemSink(Quiet);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    std::vector<PaperFileProblem> problems;
    const std::vector<PaperSize> papers = HT_ReadPaperFile(path.c_str(), &problems);
    for (const PaperSize& p : papers)
        if (p.szPaperName[sizeof p.szPaperName - 1] != '\0') __builtin_trap();
    const int count =
        HT_DefaultDeviceCapabilities(HT_DC_PAPERRECORDS, nullptr, nullptr, path.c_str());
    std::vector<char> names(static_cast<size_t>(count > 0 ? count : 0) * 64 + 1);
    HT_DefaultDeviceCapabilities(DC_PAPERNAMES, names.data(), nullptr, path.c_str());
    return 0;
}

#include "commands/run_summary.h"

#include <cstring>
#include <unistd.h>

#include "win32/gdi32/emf/emf_record_types.h"

size_t RunSummary::SkippedCount() const {
    size_t count = 0;
    for (const auto& [type, n] : skipped) count += n;
    return count;
}

std::string RecordKindName(DWORD type) {
    const char* name = EmfRecordTypeName(type);
    if (!name) return "record type " + std::to_string(type);
    if (std::strncmp(name, "EMR_", 4) == 0) name += 4;
    return name;
}

void PrintSummary(std::FILE* out, const RunSummary& summary, const std::string& target) {
    std::fprintf(out, "plothost: %zu record%s played\n", summary.played,
                 summary.played == 1 ? "" : "s");
    for (const auto& [type, count] : summary.skipped)
        std::fprintf(out, "plothost: skipped %zu %s\n", count, RecordKindName(type).c_str());
    for (const std::string& warning : summary.warnings)
        std::fprintf(out, "plothost: warning: %s\n", warning.c_str());
    std::fprintf(out, "plothost: %llu bytes written to %s\n", summary.bytesWritten, target.c_str());
}

ProgressMeter::ProgressMeter(size_t metafileBytes, size_t recordCount)
    : m_enabled(isatty(STDERR_FILENO) && metafileBytes >= kLargeMetafileBytes && recordCount > 0),
      m_total(recordCount) {}

void ProgressMeter::Update(size_t recordsDone) {
    if (!m_enabled) return;
    const int percent = static_cast<int>(recordsDone * 100 / m_total);
    if (percent == m_shown) return;
    m_shown = percent;
    std::fprintf(stderr, "\rplothost: playing the metafile, %3d%%", percent);
    std::fflush(stderr);
}

void ProgressMeter::Finish() {
    if (!m_enabled || m_shown < 0) return;
    std::fprintf(stderr, "\r%40s\r", "");
    std::fflush(stderr);
    m_shown = -1;
}

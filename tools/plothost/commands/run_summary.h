// What a plot run did, told on standard error when it ends, and the
// progress shown while a large metafile plays.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <windows.h>

struct RunSummary {
    size_t played = 0;
    std::map<DWORD, size_t> skipped;  // by record type
    std::vector<std::string> warnings;
    unsigned long long bytesWritten = 0;

    size_t SkippedCount() const;
};

// The record kind as the summary names it: "EXTTEXTOUTW" for
// EMR_EXTTEXTOUTW, "record type 69" for a type without a name.
std::string RecordKindName(DWORD type);

// "1689 records played", one "skipped N KIND" line per kind, the warnings,
// and "N bytes written to TARGET", each line prefixed with "plothost: ".
void PrintSummary(std::FILE* out, const RunSummary& summary, const std::string& target);

// A percentage on one terminal line, redrawn when it changes. Shown only
// when standard error is a terminal and the metafile is large enough for the
// wait to be noticed.
class ProgressMeter {
public:
    ProgressMeter(size_t metafileBytes, size_t recordCount);
    ~ProgressMeter() { Finish(); }
    ProgressMeter(const ProgressMeter&) = delete;
    ProgressMeter& operator=(const ProgressMeter&) = delete;

    void Update(size_t recordsDone);
    // Clears the line.
    void Finish();

    bool Enabled() const { return m_enabled; }
    static constexpr size_t kLargeMetafileBytes = 4u << 20;

private:
    bool m_enabled;
    size_t m_total;
    int m_shown = -1;
};

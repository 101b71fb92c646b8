// The paper list as the dialogs hold it: PaperSize records in file order.
#pragma once

#include <string>
#include <vector>

#include "pxrdriver/paper.h"

using PaperList = std::vector<PaperSize>;

// The papers of a paper file through the framework's capability call: the
// count first, then the records. Empty when there are none or the file
// cannot be read.
PaperList FetchPapers(const char* pszPaperFile);
// The same through a capability call of the caller's (a driver's slot 11).
template <typename CapabilityCall>
PaperList FetchPapersBy(CapabilityCall&& call) {
    const int count = call(nullptr);
    if (count <= 0) return {};
    PaperList papers(static_cast<size_t>(count));
    const int filled = call(reinterpret_cast<char*>(papers.data()));
    papers.resize(static_cast<size_t>(filled < 0 ? 0 : filled < count ? filled : count));
    return papers;
}

// The name of a record, which need not hold a NUL within its 64 bytes.
std::string PaperName(const PaperSize& paper);

// The smallest paper number from 650 up that no record carries.
int NextFreePaperNumber(const PaperList& papers);

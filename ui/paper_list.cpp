#include "ui/paper_list.h"

#include <algorithm>
#include <cstring>
#include <set>

PaperList FetchPapers(const char* pszPaperFile) {
    return FetchPapersBy([pszPaperFile](char* pOutput) {
        return HT_DefaultDeviceCapabilities(HT_DC_PAPERRECORDS, pOutput, nullptr, pszPaperFile);
    });
}

std::string PaperName(const PaperSize& paper) {
    return std::string(paper.szPaperName, strnlen(paper.szPaperName, sizeof paper.szPaperName));
}

int NextFreePaperNumber(const PaperList& papers) {
    std::set<int> used;
    for (const PaperSize& p : papers) used.insert(p.nPaperID);
    int number = 650;
    while (used.count(number)) ++number;
    return number;
}

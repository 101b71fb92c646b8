// The paper side of the driver: the refresh of the record's sheet size and
// margins from the paper list, the custom paper, and paper additions.
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "driver/hpgl2_driver.h"

namespace {

// Paper lists longer than this are not believed.
constexpr int kMaxPapers = 1 << 16;

// Truncation toward zero, held inside the range of int (NaN gives 0).
int TruncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

void FillPaper(PaperSize* paper, int id, const char* name, double width, double length, double left,
               double right, double top, double bottom) {
    paper->nPaperID = id;
    CopyToField(paper->szPaperName, sizeof paper->szPaperName, name);
    paper->nPaperWidth = TruncateToInt(width);
    paper->nPaperLength = TruncateToInt(length);
    paper->nLeftMargin = TruncateToInt(left);
    paper->nRightMargin = TruncateToInt(right);
    paper->nTopMargin = TruncateToInt(top);
    paper->nBottomMargin = TruncateToInt(bottom);
}

// The paper list through device capability 19; false when it cannot be had.
bool ReadPaperList(const DriverState* driver, std::vector<PaperSize>* papers) {
    const int count = driver->PaperRecords(nullptr);
    papers->clear();
    if (count <= 0) return true;
    if (count > kMaxPapers) return false;
    try {
        papers->resize(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        return false;
    }
    const int filled = driver->PaperRecords(reinterpret_cast<char*>(papers->data()));
    if (filled >= 0 && filled < count) papers->resize(static_cast<size_t>(filled));
    return true;
}

}  // namespace

int DriverState::PaperRecords(char* pOutput) const {
    return HT_DefaultDeviceCapabilities(HT_DC_PAPERRECORDS, pOutput, nullptr,
                                        m_strPaperFile.c_str());
}

void DriverState::RefreshPaperGeometry(HPGL2DevMode* r) {
    if (std::memcmp(&r->dm, &r->dmSaved, sizeof r->dm) == 0) return;
    if (r->dm.dmPaperSize == 0) {
        // The custom paper's margins arrive turned by a quarter, as the
        // settings dialog stores them.
        r->nMarginLeft = m_customPaper.nTopMargin;
        r->nMarginTop = m_customPaper.nRightMargin;
        r->nMarginRight = m_customPaper.nBottomMargin;
        r->nMarginBottom = m_customPaper.nLeftMargin;
        return;
    }
    std::vector<PaperSize> papers;
    if (!ReadPaperList(this, &papers)) return;
    const PaperSize* entry = nullptr;
    for (const PaperSize& p : papers)
        if (p.nPaperID == r->dm.dmPaperSize) {
            entry = &p;
            break;
        }
    if (!entry) return;
    if (r->dm.dmOrientation != DMORIENT_LANDSCAPE) {
        r->nPaperWidth = entry->nPaperWidth;
        r->nPaperLength = entry->nPaperLength;
        r->nMarginLeft = entry->nLeftMargin;
        r->nMarginTop = entry->nTopMargin;
        r->nMarginRight = entry->nRightMargin;
        r->nMarginBottom = entry->nBottomMargin;
    } else {
        r->nPaperWidth = entry->nPaperLength;
        r->nPaperLength = entry->nPaperWidth;
        r->nMarginLeft = entry->nTopMargin;
        r->nMarginTop = entry->nRightMargin;
        r->nMarginRight = entry->nBottomMargin;
        r->nMarginBottom = entry->nLeftMargin;
    }
    r->nPaperCode = entry->nPaperID;
    std::memcpy(&r->dmSaved, &r->dm, sizeof r->dm);
}

int HPGL2Driver::SetCustomPaper(const char* pszName, double dWidth, double dLength, double dLeft,
                                double dRight, double dTop, double dBottom, DWORD) {
    FillPaper(&m_customPaper, 0, pszName, dWidth, dLength, dLeft, dRight, dTop, dBottom);
    return 1;
}

int HPGL2Driver::AddPaper(const char* pszName, double dWidth, double dLength, double dLeft,
                          double dRight, double dTop, double dBottom, int* pCode) {
    std::vector<PaperSize> papers;
    if (!ReadPaperList(this, &papers)) return 0;
    PaperSize added{};
    FillPaper(&added, pCode ? *pCode : 0, pszName, dWidth, dLength, dLeft, dRight, dTop, dBottom);
    try {
        papers.push_back(added);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return HT_WritePaperFile(m_strPaperFile.c_str(), papers.data(), static_cast<int>(papers.size()))
               ? 1
               : 0;
}

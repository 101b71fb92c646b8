#include "host/page_setup.h"

#include "host/driver_settings.h"
#include "host/paper_choice.h"

bool ApplyPageRequest(HT_Driver* driver, const PageRequest& request, std::string* error) {
    if (request.paper.empty() && request.orientation == Orientation::Unchanged && request.dpi == 0)
        return true;
    auto settings = FetchSettings(driver);
    if (!settings) {
        *error = "the driver does not hand out its settings, so the page cannot be set";
        return false;
    }
    DEVMODEA& dm = settings->Public();
    if (!request.paper.empty()) {
        const std::vector<PaperSize> papers = FetchPapers(driver);
        const PaperSize* paper = FindPaper(papers, request.paper, error);
        if (!paper) return false;
        if (paper->nPaperID < 1 || paper->nPaperID > 32767) {
            *error = "the paper number " + std::to_string(paper->nPaperID) +
                     " does not fit the settings' paper field (1 to 32767)";
            return false;
        }
        dm.dmPaperSize = static_cast<SHORT>(paper->nPaperID);
        dm.dmFields |= DM_PAPERSIZE;
    }
    if (request.orientation != Orientation::Unchanged) {
        dm.dmOrientation =
            request.orientation == Orientation::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        dm.dmFields |= DM_ORIENTATION;
    }
    if (request.dpi > 0) {
        dm.dmPrintQuality = static_cast<SHORT>(request.dpi);
        dm.dmYResolution = static_cast<SHORT>(request.dpi);
        dm.dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
    }
    if (!StoreSettings(driver, *settings)) {
        *error = "the driver refused the paper, orientation or resolution";
        return false;
    }
    return true;
}

PageDescription DescribePage(HT_Driver* driver) {
    PageDescription page;
    const auto settings = FetchSettings(driver);
    if (!settings) {
        page.paper = "the driver's paper";
        return page;
    }
    const DEVMODEA& dm = settings->Public();
    page.landscape = dm.dmOrientation == DMORIENT_LANDSCAPE;
    if (dm.dmPaperSize == 0) {
        page.paper = "custom paper";
        return page;
    }
    page.paper = "paper " + std::to_string(dm.dmPaperSize);
    for (const PaperSize& paper : FetchPapers(driver))
        if (paper.nPaperID == dm.dmPaperSize) page.paper = PaperText(paper);
    return page;
}

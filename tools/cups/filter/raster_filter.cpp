#include "filter/raster_filter.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "filter/cancel_signal.h"
#include "filter/cups_messages.h"
#include "filter/filter_arguments.h"
#include "filter/filter_session.h"
#include "filter/raster_band.h"
#include "filter/stream_channel.h"
#include "pxrdriver/driver_callbacks.h"
#include "pxrdriver/ht_driver.h"
#include "win32/user32/ui_presenter.h"

namespace {

// Pixels a page may reach beyond the printable area: the raster's size is
// rounded from points, the driver's truncated from tenths of a millimetre.
constexpr unsigned kRoundingSlack = 2;

enum class PageResult { Done, Failed, Cancelled };

class RasterReader {
public:
    explicit RasterReader(int fd) : m_raster(cupsRasterOpen(fd, CUPS_RASTER_READ)) {}
    ~RasterReader() {
        if (m_raster) cupsRasterClose(m_raster);
    }
    RasterReader(const RasterReader&) = delete;
    RasterReader& operator=(const RasterReader&) = delete;
    cups_raster_t* Get() const { return m_raster; }

private:
    cups_raster_t* m_raster;
};

// The PageSize choice the page was made for, when the raster names one the
// queue has; else the job's.
std::string PaperOfPage(const FilterSession& session, const cups_page_header2_t& h) {
    const std::string named = session.Ppd().Choice("PageSize", h.cupsPageSizeName);
    return named.empty() ? "" : named;
}

// Plots one page whose header has been read; the driver is attached.
PageResult PlotPage(HostContext* host, cups_raster_t* raster, const cups_page_header2_t& h,
                    RasterKind kind, int page, StreamChannel& channel, const std::string& title,
                    std::string* error) {
    const DriverCallbacks* t = host->pCallbacks;
    const int width = t->GetDeviceCaps(host, HORZRES);
    const int height = t->GetDeviceCaps(host, VERTRES);
    if (h.cupsWidth > static_cast<unsigned>(width) + kRoundingSlack ||
        h.cupsHeight > static_cast<unsigned>(height) + kRoundingSlack) {
        *error = "page " + std::to_string(page) + " is " + std::to_string(h.cupsWidth) + " x " +
                 std::to_string(h.cupsHeight) + " pixels, larger than the printable area of " +
                 std::to_string(width) + " x " + std::to_string(height) +
                 " pixels of the plotter's paper; nothing of it was sent";
        return PageResult::Failed;
    }
    DOCINFOA info{static_cast<int>(sizeof(DOCINFOA)), title.c_str(), nullptr, nullptr, 0};
    if (!t->StartDocument(host, &info, &channel)) {
        *error = "the driver did not start the job";
        return PageResult::Failed;
    }
    t->OnSetClipRegion(host, nullptr);  // the whole page

    // What lies beyond the printable area by rounding is not drawn.
    const int columns = std::min(static_cast<int>(h.cupsWidth), width);
    const int rows = std::min(static_cast<int>(h.cupsHeight), height);
    const int dpi = static_cast<int>(h.HWResolution[0]);
    const int bandRows = BandRows(columns, dpi, kRasterBandBudget);
    RasterBand band(kind, columns, bandRows);
    std::vector<unsigned char> row(h.cupsBytesPerLine);
    for (int top = 0; top < static_cast<int>(h.cupsHeight); top += bandRows) {
        const int count = std::min(bandRows, static_cast<int>(h.cupsHeight) - top);
        band.Clear();
        for (int y = 0; y < count; ++y) {
            if (cupsRasterReadPixels(raster, row.data(), h.cupsBytesPerLine) !=
                h.cupsBytesPerLine) {
                *error = "the raster stream ends inside page " + std::to_string(page) +
                         ", at row " + std::to_string(top + y) + " of " +
                         std::to_string(h.cupsHeight) + "; the page was not finished";
                return PageResult::Failed;
            }
            if (top + y < rows) band.PutRow(y, row.data());
        }
        if (Cancelled()) return PageResult::Cancelled;
        const int drawn = std::min(count, rows - top);
        // White needs no ink: a blank band is not sent.
        if (drawn <= 0 || band.Blank()) continue;
        if (!t->OnDrawBitmap(host, 0, top, columns, drawn, 0, 0, columns, drawn, band.Bits(),
                             band.Info(drawn), DIB_RGB_COLORS, SRCCOPY)) {
            *error = "the driver did not take the rows from " + std::to_string(top) + " of page " +
                     std::to_string(page);
            return PageResult::Failed;
        }
    }
    if (Cancelled()) return PageResult::Cancelled;
    t->EndDocument(host);
    if (!channel.Completed()) {
        *error = channel.Error().empty() ? "the driver did not finish the page" : channel.Error();
        return PageResult::Failed;
    }
    return PageResult::Done;
}

}  // namespace

int RunRasterFilter(int argc, const char* const* argv) {
    CatchCancel();
    FilterArguments args;
    std::string error;
    if (!ParseFilterArguments(argc, argv, &args, &error)) return TellError(error), 1;
    const char* ppd = std::getenv("PPD");
    FilterSession session;
    if (!session.Open(ppd ? ppd : "", args.options, &error)) return TellError(error), 1;
    const int fd = args.file.empty() ? STDIN_FILENO : open(args.file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return TellError("cannot open " + args.file + ": " + std::strerror(errno)), 1;
    RasterReader reader(fd);
    if (!reader.Get()) return TellError("the input is not a CUPS raster stream"), 1;

    // Dialogs of the driver (its settings) run unseen.
    ScriptedPresenter presenter;
    SetUiPresenter(&presenter);
    StreamChannel channel(STDOUT_FILENO);
    HT_Driver* driver = session.Driver();
    const std::string port = "HPGL2:";
    int page = 0;
    int status = 0;
    cups_page_header2_t header;
    while (status == 0 && cupsRasterReadHeader2(reader.Get(), &header)) {
        ++page;
        RasterKind kind;
        if (!RasterKindOf(header, &kind, &error)) {
            TellError("page " + std::to_string(page) + ": " + error);
            status = 1;
            break;
        }
        if (header.HWResolution[0] != header.HWResolution[1] || header.HWResolution[0] < 1) {
            TellError("page " + std::to_string(page) + " has a resolution of " +
                      std::to_string(header.HWResolution[0]) + " x " +
                      std::to_string(header.HWResolution[1]) +
                      " dpi; the plotter takes the same in both directions");
            status = 1;
            break;
        }
        // The page is rendered already: it goes through the bitmap entry of
        // the vector transaction mode, in the colours and resolution it has.
        JobRequest& request = session.Request();
        request.SetField("transaction", "0");
        request.SetField("colour", ColourModeOf(kind));
        request.dpi = static_cast<int>(header.HWResolution[0]);
        request.orientation = Orientation::Portrait;
        if (const std::string paper = PaperOfPage(session, header); !paper.empty())
            request.paper = paper;
        if (!session.ApplyRequest(&error)) {
            TellError(error);
            status = 1;
            break;
        }
        TellInfo("Plotting page " + std::to_string(page) + " (" + request.paper + ", " +
                 std::to_string(request.dpi) + " dpi)");
        HostContext host{};
        host.pDriver = driver;
        host.pszPortName = port.c_str();
        if (!driver->Attach(&host)) {
            TellError(std::string("the driver \"") + driver->GetName() + "\" cannot be attached");
            status = 1;
            break;
        }
        const PageResult result =
            PlotPage(&host, reader.Get(), header, kind, page, channel, args.title, &error);
        if (result != PageResult::Done) {
            channel.Abort();
            host.pCallbacks->EndDocument(&host);  // into the dropped channel
        }
        driver->Detach(&host);
        if (result == PageResult::Failed) {
            TellError(error);
            status = 1;
        } else if (result == PageResult::Cancelled) {
            TellInfo("The job was cancelled; the page's end was not sent");
            break;
        } else {
            TellPage(page, 1);
        }
    }
    SetUiPresenter(nullptr);
    if (status == 0 && page == 0 && !Cancelled()) {
        TellError("the raster stream holds no page");
        status = 1;
    }
    if (fd != STDIN_FILENO) close(fd);
    return status;
}

#include "filter/emf_filter.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "commands/plot_drawing.h"
#include "commands/plot_steps.h"
#include "filter/cancel_signal.h"
#include "filter/cups_messages.h"
#include "filter/filter_arguments.h"
#include "filter/filter_session.h"
#include "output/file_channel.h"
#include "win32/user32/ui_presenter.h"

namespace {

// Copies the whole of fd into path; false with a message.
bool CopyInto(int from, const std::string& path, std::string* error) {
    const int to = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (to < 0) {
        *error = "cannot keep the metafile in " + path + ": " + std::strerror(errno);
        return false;
    }
    char buffer[1 << 16];
    bool ok = true;
    for (;;) {
        const ssize_t n = read(from, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        if (write(to, buffer, static_cast<size_t>(n)) != n) ok = false;
        if (!ok) break;
    }
    if (close(to) != 0) ok = false;
    if (!ok) *error = std::string("cannot read the metafile: ") + std::strerror(errno);
    return ok;
}

// Hands the finished job on `copies` times; false when it could not be
// written or the job was cancelled on the way.
bool HandOn(const std::string& path, int copies, std::string* error) {
    for (int copy = 0; copy < copies; ++copy) {
        const int from = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (from < 0) {
            *error = "the plot is gone from " + path;
            return false;
        }
        char buffer[1 << 16];
        for (;;) {
            if (Cancelled()) {
                close(from);
                return false;
            }
            const ssize_t n = read(from, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            for (ssize_t done = 0; done < n;) {
                const ssize_t w =
                    write(STDOUT_FILENO, buffer + done, static_cast<size_t>(n - done));
                if (w < 0 && errno == EINTR) continue;
                if (w <= 0) {
                    *error = std::string("the job could not be handed on: ") + std::strerror(errno);
                    close(from);
                    return false;
                }
                done += w;
            }
        }
        close(from);
    }
    return true;
}

}  // namespace

int RunEmfFilter(int argc, const char* const* argv) {
    CatchCancel();
    SetPlotFailureSink([](const std::string& message) { TellError(message); });
    FilterArguments args;
    std::string error;
    if (!ParseFilterArguments(argc, argv, &args, &error)) return TellError(error), 1;
    const char* ppd = std::getenv("PPD");
    FilterSession session;
    if (!session.Open(ppd ? ppd : "", args.options, &error)) return TellError(error), 1;

    std::string drawing = args.file;
    if (drawing.empty()) {
        drawing = session.DataFolder() + "/job.emf";
        if (!CopyInto(STDIN_FILENO, drawing, &error)) return TellError(error), 1;
    }
    EmfDocument doc;
    ReferenceDevice device;
    if (!LoadEnhMetaFile(drawing.c_str(), &doc, &error) ||
        !ReadReferenceDevice(doc.header, &device, &error))
        return TellError(args.title + ": not a metafile that can be plotted: " + error), 1;
    if (!session.ApplyRequest(&error)) return TellError(error), 1;

    const JobRequest& request = session.Request();
    PlotOptions options;
    options.drawing = args.title;
    options.scale = request.scale;
    options.fixedScale = request.fixedScale;
    TellInfo("Plotting " + args.title + " on " + session.Driver()->GetName());

    FileChannel channel;
    const std::string plot = session.DataFolder() + "/job.plt";
    // No one answers the driver's dialogs here: its progress dialog runs unseen.
    ScriptedPresenter presenter;
    SetUiPresenter(&presenter);
    HostContext host{};
    host.pDriver = session.Driver();
    host.pszPortName = plot.c_str();
    int status = 1;
    if (!session.Driver()->Attach(&host)) {
        TellError(std::string("the driver \"") + session.Driver()->GetName() +
                  "\" cannot be attached");
    } else {
        status = PlotDrawing(&host, doc, device, options, DescribePage(session.Driver()), channel,
                             nullptr, plot.c_str());
        session.Driver()->Detach(&host);
    }
    SetUiPresenter(nullptr);
    if (status != 0) return 1;
    if (!HandOn(plot, args.copies, &error)) {
        if (Cancelled()) return TellInfo("The job was cancelled; its end was not sent"), 0;
        return TellError(error), 1;
    }
    TellPage(1, args.copies);
    return 0;
}

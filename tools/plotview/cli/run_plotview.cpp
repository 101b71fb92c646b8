#include "cli/run_plotview.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "cli/info_report.h"
#include "cli/view_options.h"
#include "picture/image_compare.h"

namespace plotview {

namespace {

bool ReadFile(const std::string& path, std::string* pBytes, std::string* pError) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        *pError = path + " is a folder, not a plot file";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *pError = "cannot open " + path;
        return false;
    }
    pBytes->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        *pError = "cannot read " + path;
        return false;
    }
    return true;
}

// A picture is written beside its name and renamed over it when whole, so
// that no half-written picture is ever left behind.
// A device, a pipe or a link ("/dev/stdout" links to whatever standard
// output is): written through as it is, never renamed over or removed.
bool IsSpecialFile(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(path, ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

bool WritePng(const plot::Image& image, const std::string& path, std::string* pError) {
    if (IsSpecialFile(path)) return plot::SavePng(image, path, pError);
    std::error_code ec;
    const std::string temporary = path + ".tmp";
    if (!plot::SavePng(image, temporary, pError)) {
        std::remove(temporary.c_str());
        return false;
    }
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::remove(temporary.c_str());
        *pError = "cannot write " + path + ": " + ec.message();
        return false;
    }
    return true;
}

int RenderPictures(const ViewOptions& options, const plot::PlotRendering& rendering,
                   std::ostream& out, std::ostream& err) {
    if (rendering.pages.empty()) {
        err << "plotview: " << options.plotPath << " draws no page\n";
        return rendering.ok ? 0 : 1;
    }
    // The comparison comes before any file: a reference that cannot be read
    // leaves nothing written.
    plot::ImageComparison comparison;
    if (!options.referencePath.empty()) {
        comparison = plot::ComparePlotToReference(rendering.pages.front(), options.referencePath,
                                                  options.compare);
        if (!comparison.ok) {
            out << comparison.ToString() << "\n";
            return 2;
        }
    }
    std::vector<std::pair<std::string, const plot::Image*>> files;
    for (size_t page = 0; page < rendering.pages.size(); ++page)
        files.emplace_back(PagePath(options.pngPath, page), &rendering.pages[page]);
    if (!options.differencePath.empty())
        files.emplace_back(options.differencePath, &comparison.difference);
    std::vector<std::string> written;
    std::string error;
    for (const auto& [path, image] : files) {
        const bool ours = !IsSpecialFile(path);
        if (!WritePng(*image, path, &error)) {
            // The pictures of one run come whole or not at all.
            for (const std::string& done : written) std::remove(done.c_str());
            err << "plotview: " << error << "\n";
            return 2;
        }
        if (ours) written.push_back(path);
    }
    // A picture sent to standard output must not get the summary mixed in.
    (IsSpecialFile(options.pngPath) ? err : out) << rendering.SummaryLine() << "\n";
    if (!options.referencePath.empty()) out << comparison.ToString() << "\n";
    return rendering.ok || rendering.truncated ? 0 : 1;
}

}  // namespace

std::string PagePath(const std::string& first, size_t page) {
    if (page == 0) return first;
    const size_t slash = first.find_last_of('/');
    const size_t dot = first.rfind('.');
    std::string suffix = "-";
    suffix += std::to_string(page + 1);
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return first + suffix;
    return first.substr(0, dot) + suffix + first.substr(dot);
}

int RunPlotview(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ViewOptions options;
    std::string error;
    if (!ParseViewOptions(args, &options, &error)) {
        err << "plotview: " << error << "\n(plotview --help tells the options)\n";
        return 2;
    }
    if (options.action == ViewAction::Help) {
        out << ViewHelpText();
        return 0;
    }
    std::string bytes;
    if (!ReadFile(options.plotPath, &bytes, &error)) {
        err << "plotview: " << error << "\n";
        return 2;
    }
    const plot::PlotRendering rendering = plot::RenderPlot(bytes, options.render);
    // Nothing of HP-GL/2 or HP RTL before the first fault: not a plot file.
    if (rendering.summary.plotCommands == 0) {
        err << "plotview: " << options.plotPath << " is not an HP-GL/2 or HP RTL plot ("
            << (rendering.ok ? std::string("no plotter command in it") : rendering.error) << ")\n";
        return 2;
    }
    if (options.action == ViewAction::Info) {
        out << InfoReport(options.plotPath, bytes.size(), rendering);
        return rendering.ok || rendering.truncated ? 0 : 1;
    }
    for (const std::string& warning : rendering.warnings) err << "warning: " << warning << "\n";
    if (!rendering.ok)
        err << (rendering.truncated ? "warning: the plot is cut short: " : "error: ")
            << rendering.error << (rendering.truncated ? " (drawn up to there)\n" : "\n");
    return RenderPictures(options, rendering, out, err);
}

}  // namespace plotview

// plt2png FILE.plt OUT.png [--scale N] [--page W H] [--lenient-palette]
//         [--compare REF.png [--turn N] [--place LEFT TOP WIDTH HEIGHT] [--diff DIFF.png]]
// Renders the first page of a plot file and prints one line of summary;
// every further page goes to OUT-2.png, OUT-3.png and so on. Warnings go to
// the error stream. With --compare, a second line compares the first page
// with a reference picture (turned clockwise N quarter turns, laid at the
// given place in reference pixels), and --diff writes where they differ
// (grey matched, orange wrong colour, red missing, blue added). Exit status 0 when the plot read
// cleanly, 1 when the reading stopped at an error (the pages so far are
// still written), 2 for bad arguments or files.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/image_compare.h"
#include "support/plot_reader.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: plt2png FILE.plt OUT.png [--scale N] [--page W H] [--lenient-palette]\n"
                 "               [--compare REF.png [--turn N] [--place LEFT TOP WIDTH HEIGHT]\n"
                 "                [--diff DIFF.png]]\n");
    return 2;
}

bool Number(const char* text, int lowest, int* pValue) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != 0 || value < lowest || value > 1000000) return false;
    *pValue = int(value);
    return true;
}
bool PositiveNumber(const char* text, int* pValue) {
    return Number(text, 1, pValue);
}

std::string PagePath(const std::string& out, size_t page) {
    if (page == 0) return out;
    const size_t dot = out.rfind('.');
    std::string suffix = "-";
    suffix += std::to_string(page + 1);
    return dot == std::string::npos ? out + suffix : out.substr(0, dot) + suffix + out.substr(dot);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    plot::RenderOptions options;
    plot::CompareOptions compare;
    std::string reference, difference;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--scale" && i + 1 < argc) {
            if (!PositiveNumber(argv[++i], &options.scale)) return Usage();
        } else if (arg == "--page" && i + 2 < argc) {
            if (!PositiveNumber(argv[i + 1], &options.pageWidth) ||
                !PositiveNumber(argv[i + 2], &options.pageHeight))
                return Usage();
            i += 2;
        } else if (arg == "--lenient-palette") {
            options.lenientPalette = true;
        } else if (arg == "--compare" && i + 1 < argc) {
            reference = argv[++i];
        } else if (arg == "--diff" && i + 1 < argc) {
            difference = argv[++i];
            compare.makeDifference = true;
        } else if (arg == "--turn" && i + 1 < argc) {
            if (!Number(argv[++i], 0, &compare.plotQuarterTurns)) return Usage();
        } else if (arg == "--place" && i + 4 < argc) {
            plot::Placement& p = compare.placement;
            if (!Number(argv[i + 1], -1000000, &p.left) || !Number(argv[i + 2], -1000000, &p.top) ||
                !PositiveNumber(argv[i + 3], &p.width) || !PositiveNumber(argv[i + 4], &p.height))
                return Usage();
            i += 4;
        } else {
            return Usage();
        }
    }
    const plot::PlotRendering rendering = plot::RenderPlotFile(argv[1], options);
    if (rendering.pages.empty() && !rendering.ok && rendering.summary.commands == 0) {
        std::fprintf(stderr, "%s\n", rendering.error.c_str());
        return 2;
    }
    for (const std::string& warning : rendering.warnings)
        std::fprintf(stderr, "warning: %s\n", warning.c_str());
    const plot::Image first = plot::FirstPage(rendering);
    std::string error;
    if (!plot::SavePng(first, argv[2], &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    for (size_t page = 1; page < rendering.pages.size(); ++page) {
        if (!plot::SavePng(rendering.pages[page], PagePath(argv[2], page), &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 2;
        }
    }
    std::printf("%s\n", rendering.SummaryLine().c_str());
    if (!reference.empty()) {
        const plot::ImageComparison c = plot::ComparePlotToReference(first, reference, compare);
        std::printf("%s\n", c.ToString().c_str());
        if (!c.ok) return 2;
        if (!difference.empty() && !plot::SavePng(c.difference, difference, &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 2;
        }
    }
    return rendering.ok ? 0 : 1;
}

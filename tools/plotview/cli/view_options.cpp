#include "cli/view_options.h"

#include <charconv>
#include <cstdlib>

namespace plotview {

namespace {

bool WholeNumber(const std::string& text, long lowest, long highest, int* pValue) {
    long value = 0;
    const char* end = text.data() + text.size();
    const auto [rest, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || rest != end || value < lowest || value > highest) return false;
    *pValue = int(value);
    return true;
}

}  // namespace

const char* ViewHelpText() {
    return "usage: plotview PLOT.plt -o PICTURE.png [--dpi N] [options]\n"
           "       plotview --info PLOT.plt [--dpi N] [options]\n"
           "       plotview --help\n"
           "\n"
           "Renders an HP-GL/2 and HP RTL plot file as the plotter would draw it, or tells\n"
           "what the job holds.\n"
           "\n"
           "  -o, --output PICTURE.png\n"
           "                       write the first page as PNG; further pages go to\n"
           "                       PICTURE-2.png, PICTURE-3.png ...\n"
           "  --info               print the plot size, resolution, pens with their colours\n"
           "                       and widths, counts of lines, fills and rasters, the ink\n"
           "                       bounding box in millimetres, and the warnings\n"
           "  --dpi N              pixels per inch of the picture (1 to 2400, default 150)\n"
           "  --strict             stop at the first instruction the reader does not know\n"
           "                       (default: skip it with a warning)\n"
           "  --lenient-palette    keep raster palette colours that a plotter would drop,\n"
           "                       and pen colours across raster configurations: shows what\n"
           "                       the plot meant rather than what a plotter draws\n"
           "  --compare REF.png    compare the first page with a picture of the drawing\n"
           "  --turn N             turn the page N quarter turns clockwise (0 to 3) before\n"
           "                       comparing\n"
           "  --place L T W H      where the page lies on the reference, in its pixels\n"
           "  --diff DIFF.png      write the differences: grey matched, orange wrong colour,\n"
           "                       red missing, blue added\n"
           "  -h, --help           this text\n"
           "\n"
           "Exit status: 0 when the plot was read to its end (a plot cut short is drawn\n"
           "up to where it ends, with a warning), 1 when the reading stopped at an error\n"
           "(the pages so far are written), 2 for bad arguments, unreadable files and files\n"
           "that are not plots (nothing is written then).\n";
}

bool ParseViewOptions(const std::vector<std::string>& args, ViewOptions* pOptions,
                      std::string* pError) {
    ViewOptions& o = *pOptions;
    o.render.dpi = kDefaultDpi;
    o.render.skipUnknown = true;
    bool info = false, turned = false, placed = false;
    auto fail = [&](const std::string& text) {
        *pError = text;
        return false;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            o.action = ViewAction::Help;
            return true;
        } else if (arg == "--info") {
            info = true;
        } else if (arg == "-o" || arg == "--output") {
            if (!hasValue) return fail(arg + " needs a file name");
            o.pngPath = args[++i];
        } else if (arg == "--dpi") {
            int dpi = 0;
            if (!hasValue || !WholeNumber(args[++i], 1, long(kMaxDpi), &dpi))
                return fail("--dpi needs a whole number from 1 to 2400");
            o.render.dpi = dpi;
        } else if (arg == "--strict") {
            o.render.skipUnknown = false;
        } else if (arg == "--lenient-palette") {
            o.render.lenientPalette = true;
        } else if (arg == "--compare") {
            if (!hasValue) return fail("--compare needs a picture");
            o.referencePath = args[++i];
        } else if (arg == "--diff") {
            if (!hasValue) return fail("--diff needs a file name");
            o.differencePath = args[++i];
            o.compare.makeDifference = true;
        } else if (arg == "--turn") {
            if (!hasValue || !WholeNumber(args[++i], 0, 3, &o.compare.plotQuarterTurns))
                return fail("--turn needs 0, 1, 2 or 3");
            turned = true;
        } else if (arg == "--place") {
            plot::Placement& p = o.compare.placement;
            if (i + 4 >= args.size() || !WholeNumber(args[i + 1], -1000000, 1000000, &p.left) ||
                !WholeNumber(args[i + 2], -1000000, 1000000, &p.top) ||
                !WholeNumber(args[i + 3], 1, 1000000, &p.width) ||
                !WholeNumber(args[i + 4], 1, 1000000, &p.height))
                return fail("--place needs LEFT TOP WIDTH HEIGHT in pixels of the reference");
            i += 4;
            placed = true;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return fail("unknown option " + arg);
        } else if (o.plotPath.empty()) {
            o.plotPath = arg;
        } else {
            return fail("one plot file at a time (" + o.plotPath + ", then " + arg + ")");
        }
    }
    if (o.plotPath.empty()) return fail("no plot file given");
    if (info && !o.pngPath.empty()) return fail("--info writes no picture: leave out -o");
    if (info && !o.referencePath.empty())
        return fail("--info compares nothing: leave out --compare");
    // What only a comparison uses is refused without one, rather than ignored.
    if (o.referencePath.empty()) {
        if (!o.differencePath.empty()) return fail("--diff needs --compare");
        if (turned) return fail("--turn needs --compare");
        if (placed) return fail("--place needs --compare");
    }
    if (info) {
        o.action = ViewAction::Info;
        return true;
    }
    if (o.pngPath.empty()) return fail("no picture to write: give -o PICTURE.png (or --info)");
    return true;
}

}  // namespace plotview

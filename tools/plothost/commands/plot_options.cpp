#include "commands/plot_options.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace {

constexpr int kLowestDpi = 50;
constexpr int kHighestDpi = 4800;
// A day: waits beyond it are mistakes, and milliseconds of it fit an int.
constexpr int kLongestWaitSeconds = 86400;

bool ParseNumber(const std::string& text, double* value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, *value);
    return ec == std::errc() && ptr == end && std::isfinite(*value);
}

bool ParseInteger(const std::string& text, int* value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, *value);
    return ec == std::errc() && ptr == end;
}

}  // namespace

std::string WithPlotExtension(const std::string& name) {
    if (name.size() >= 4) {
        std::string ending = name.substr(name.size() - 4);
        for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (ending == ".plt") return name;
    }
    return name + ".plt";
}

bool ParsePlotOptions(const std::vector<std::string>& args, PlotOptions* o, std::string* error) {
    bool fit = false, scaled = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](std::string* out) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                *error = arg + " needs a value";
                return false;
            }
            *out = args[++i];
            return true;
        };
        std::string text;
        if (arg == "-o" || arg == "--output") {
            if (!value(&o->output)) return false;
        } else if (arg == "--output-name") {
            if (!value(&o->outputName)) return false;
        } else if (arg == "--save-as") {
            if (!value(&o->saveAs)) return false;
        } else if (arg == "--driver") {
            if (!value(&o->driver)) return false;
        } else if (arg == "--to") {
            if (!value(&o->to)) return false;
            SocketAddress address;
            if (!ParseSocketAddress(o->to, &address, error)) return false;
        } else if (arg == "--connect-timeout" || arg == "--write-timeout" || arg == "--retry-for") {
            if (!value(&text)) return false;
            double seconds = 0;
            const bool retry = arg == "--retry-for";
            if (!ParseNumber(text, &seconds) || seconds < (retry ? 0 : 0.001) ||
                seconds > kLongestWaitSeconds) {
                *error = arg + " needs seconds from " + (retry ? "0" : "0.001") + " to " +
                         std::to_string(kLongestWaitSeconds) + ", not \"" + text + "\"";
                return false;
            }
            const int ms = static_cast<int>(std::lround(seconds * 1000));
            (arg == "--connect-timeout" ? o->socket.connectTimeoutMs
             : retry                    ? o->socket.retryForMs
                                        : o->socket.writeTimeoutMs) = ms;
        } else if (arg == "--paper") {
            if (!value(&o->paper)) return false;
        } else if (arg == "--landscape" || arg == "--portrait") {
            const Orientation chosen =
                arg == "--landscape" ? Orientation::Landscape : Orientation::Portrait;
            if (o->orientation != Orientation::Unchanged && o->orientation != chosen) {
                *error = "--landscape and --portrait exclude each other";
                return false;
            }
            o->orientation = chosen;
        } else if (arg == "--fit") {
            fit = true;
        } else if (arg == "--scale") {
            if (!value(&text)) return false;
            if (!ParseNumber(text, &o->fixedScale) || !(o->fixedScale > 0)) {
                *error = "--scale needs a positive number, not \"" + text + "\"";
                return false;
            }
            scaled = true;
        } else if (arg == "--dpi") {
            if (!value(&text)) return false;
            if (!ParseInteger(text, &o->dpi) || o->dpi < kLowestDpi || o->dpi > kHighestDpi) {
                *error = "--dpi needs a resolution from " + std::to_string(kLowestDpi) + " to " +
                         std::to_string(kHighestDpi) + ", not \"" + text + "\"";
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            *error = "unknown plot option " + arg;
            return false;
        } else if (o->drawing.empty()) {
            o->drawing = arg;
        } else {
            *error = "plot takes one metafile, not also \"" + arg + "\"";
            return false;
        }
    }
    if (o->drawing.empty()) {
        *error = "plot needs a metafile to plot";
        return false;
    }
    if (fit && scaled) {
        *error = "--fit and --scale exclude each other";
        return false;
    }
    o->scale = fit ? ScaleChoice::Fit : scaled ? ScaleChoice::Fixed : ScaleChoice::Auto;
    if (!o->output.empty() && (!o->outputName.empty() || !o->saveAs.empty())) {
        *error = "-o excludes --output-name and --save-as";
        return false;
    }
    if (!o->to.empty() && (!o->output.empty() || !o->outputName.empty() || !o->saveAs.empty())) {
        *error = "--to excludes -o, --output-name and --save-as";
        return false;
    }
    // The save dialog answers only when the output is "FILE:".
    if (!o->saveAs.empty() && o->outputName.empty()) o->outputName = "FILE:";
    if (o->output.empty() && o->outputName.empty() && o->to.empty()) {
        *error = "plot needs -o FILE, --to socket://HOST[:PORT] or --save-as FILE";
        return false;
    }
    return true;
}

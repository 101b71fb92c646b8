#include "filter/job_request.h"

#include <cstdio>
#include <cstdlib>
#include <cups/cups.h>
#include <strings.h>

#include "ppd/plotter_options.h"
#include "ppd/ppd_writer.h"

namespace {

class Options {
public:
    explicit Options(const std::string& text) {
        m_count = cupsParseOptions(text.c_str(), 0, &m_options);
    }
    ~Options() { cupsFreeOptions(m_count, m_options); }
    Options(const Options&) = delete;
    Options& operator=(const Options&) = delete;
    // Null when the option is not given.
    const char* Get(const char* name) const { return cupsGetOption(name, m_count, m_options); }

private:
    int m_count = 0;
    cups_option_t* m_options = nullptr;
};

std::string Offered(const PpdFile& ppd, const std::string& option) {
    std::string list;
    const auto found = ppd.choices.find(option);
    if (found != ppd.choices.end())
        for (const std::string& c : found->second) list += (list.empty() ? "" : ", ") + c;
    return list;
}

// The choice of a PPD option: the job's value when given, else the PPD's
// default; "" with a message when the value is not offered.
bool Choose(const PpdFile& ppd, const std::string& option, const char* given, std::string* choice,
            std::string* error) {
    const std::string value = given                        ? given
                              : ppd.defaults.count(option) ? ppd.defaults.at(option)
                                                           : "";
    *choice = ppd.Choice(option, value);
    if (choice->empty()) {
        *error = option + "=" + value + ": this queue offers " + Offered(ppd, option);
        return false;
    }
    return true;
}

// A media list ("A0", "iso_a0_841x1189mm", "A0,Roll") names a paper when one
// of its entries is a PageSize choice, by its own name or as a PWG name.
std::string PaperOfMedia(const PpdFile& ppd, const std::string& media) {
    size_t start = 0;
    while (start <= media.size()) {
        const size_t comma = media.find(',', start);
        const std::string entry = media.substr(start, comma - start);
        std::string choice = ppd.Choice("PageSize", entry);
        if (choice.empty())
            if (pwg_media_t* pwg = pwgMediaForPWG(entry.c_str()); pwg && pwg->ppd)
                choice = ppd.Choice("PageSize", pwg->ppd);
        if (!choice.empty()) return choice;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return "";
}

}  // namespace

void JobRequest::SetField(const std::string& field, const std::string& value) {
    for (FieldValue& f : fields)
        if (f.field == field) {
            f.value = value;
            return;
        }
    fields.push_back({field, value});
}

std::string JobRequest::Field(const std::string& field) const {
    for (const FieldValue& f : fields)
        if (f.field == field) return f.value;
    return "";
}

bool BuildJobRequest(const PpdFile& ppd, const std::string& text, JobRequest* out,
                     std::string* error) {
    *out = JobRequest{};
    const auto plotter = ppd.attributes.find(kPlotterAttribute);
    if (plotter == ppd.attributes.end() || plotter->second.empty()) {
        *error = std::string("the queue's PPD names no plotter (*") + kPlotterAttribute +
                 "): it was not made for these filters";
        return false;
    }
    out->plotter = plotter->second;
    const Options options(text);

    // The paper: PageSize, else PageRegion, else media.
    const char* size = options.Get("PageSize");
    if (!size) size = options.Get("PageRegion");
    if (!size && options.Get("media")) {
        out->paper = PaperOfMedia(ppd, options.Get("media"));
        if (out->paper.empty()) {
            *error = std::string("media=") + options.Get("media") +
                     ": this plotter has no such paper; it has " + Offered(ppd, "PageSize");
            return false;
        }
    } else if (!Choose(ppd, "PageSize", size, &out->paper, error)) {
        return false;
    }

    const char* resolution = options.Get("Resolution");
    if (!resolution) resolution = options.Get("printer-resolution");
    std::string dpi;
    if (resolution && !ppd.Choice("Resolution", resolution).empty()) {
        dpi = ppd.Choice("Resolution", resolution);
    } else if (resolution) {
        // "600x600dpi", as IPP writes it, when both directions agree.
        int x = 0, y = 0;
        char unit[8] = {};
        if (std::sscanf(resolution, "%dx%d%7s", &x, &y, unit) == 3 && x == y)
            dpi = ppd.Choice("Resolution", std::to_string(x) + unit);
        if (dpi.empty()) {
            *error = std::string("Resolution=") + resolution + ": this queue offers " +
                     Offered(ppd, "Resolution");
            return false;
        }
    } else if (!Choose(ppd, "Resolution", nullptr, &dpi, error)) {
        return false;
    }
    out->dpi = std::atoi(dpi.c_str());

    const char* colour = options.Get("ColorModel");
    if (!colour)
        if (const char* mode = options.Get("print-color-mode")) {
            colour = !strcasecmp(mode, "color")        ? "RGB"
                     : !strcasecmp(mode, "monochrome") ? "Gray"
                     : !strcasecmp(mode, "bi-level")   ? "BlackWhite"
                                                       : mode;
        }
    const PlotterOption& colourOption = ColourModelOption();
    if (!Choose(ppd, colourOption.keyword, colour, &out->colourModel, error)) return false;
    out->SetField(colourOption.field, FindChoice(colourOption, out->colourModel)->value);

    for (const PlotterOption& option : DialogOptions()) {
        if (!ppd.choices.count(option.keyword)) continue;
        std::string choice;
        if (!Choose(ppd, option.keyword, options.Get(option.keyword.c_str()), &choice, error))
            return false;
        const OptionChoice* c = FindChoice(option, choice);
        if (!c) {
            *error = option.keyword + "=" + choice + ": the plotter's dialogs have no such choice";
            return false;
        }
        out->SetField(option.field, c->value);
    }

    if (const char* o = options.Get("orientation-requested")) {
        const int v = std::atoi(o);
        if (v < 3 || v > 6) {
            *error = std::string("orientation-requested=") + o + ": give 3, 4, 5 or 6";
            return false;
        }
        out->orientation = v == 4 || v == 5 ? Orientation::Landscape : Orientation::Portrait;
    }
    if (options.Get("landscape")) out->orientation = Orientation::Landscape;
    if (const char* fit = options.Get("fit-to-page"); fit && strcasecmp(fit, "false") != 0 &&
                                                      strcasecmp(fit, "no") != 0 &&
                                                      strcasecmp(fit, "off") != 0)
        out->scale = ScaleChoice::Fit;
    if (const char* scaling = options.Get("scaling")) {
        char* end = nullptr;
        const double percent = std::strtod(scaling, &end);
        if (end == scaling || *end || !(percent >= 1 && percent <= 800)) {
            *error = std::string("scaling=") + scaling + ": give a percentage from 1 to 800";
            return false;
        }
        out->scale = ScaleChoice::Fixed;
        out->fixedScale = percent / 100;
    }
    return true;
}

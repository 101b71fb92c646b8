#include "ppd/ppd_writer.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "host/paper_choice.h"
#include "ppd/plotter_options.h"

namespace {

// Tenths of a millimetre in PostScript points.
std::string Points(double tenths) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", tenths * 72.0 / 254.0);
    return text;
}

// A text a PPD can carry after "/" or in quotes: printable ASCII without
// the characters that end it.
std::string PpdText(const std::string& text) {
    std::string out;
    for (unsigned char c : text) out += (c >= 0x20 && c < 0x7F && c != ':' && c != '"') ? c : ' ';
    return out;
}

// Model names have no parentheses: "Plotter (in colour)" reads "Plotter -
// in colour".
std::string ModelText(const std::string& name) {
    std::string out;
    for (char c : PpdText(name)) {
        if (c == '(')
            out += "- ";
        else if (c != ')')
            out += c;
    }
    return out;
}

std::string Manufacturer(const std::string& name) {
    std::string first = name.substr(0, name.find(' '));
    return first.empty() ? "HPGL2" : PpdText(first);
}

// "<</cupsColorSpace 1/...>>": what the raster filter is to receive.
const char* ColourSetup(const std::string& keyword) {
    if (keyword == "RGB") return "<</cupsColorSpace 1/cupsBitsPerColor 8/cupsColorOrder 0>>";
    if (keyword == "Gray") return "<</cupsColorSpace 0/cupsBitsPerColor 8/cupsColorOrder 0>>";
    return "<</cupsColorSpace 3/cupsBitsPerColor 1/cupsColorOrder 0>>";
}

class PpdBuilder {
public:
    void Line(const std::string& line) { m_text += line + "\n"; }
    void OpenUI(const std::string& keyword, const std::string& text, int order,
                const std::string& defaultChoice) {
        Line("*OpenUI *" + keyword + "/" + PpdText(text) + ": PickOne");
        Line("*OrderDependency: " + std::to_string(order) + " AnySetup *" + keyword);
        Line("*Default" + keyword + ": " + defaultChoice);
    }
    void Choice(const std::string& keyword, const std::string& choice, const std::string& text,
                const std::string& code) {
        Line("*" + keyword + " " + choice + "/" + PpdText(text) + ": \"" + code + "\"");
    }
    void CloseUI(const std::string& keyword) { Line("*CloseUI: *" + keyword); }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

}  // namespace

std::string PpdFileName(const std::string& section) {
    std::string name;
    for (unsigned char c : section) name += std::isalnum(c) || c == '-' ? c : '_';
    return name + ".ppd";
}

std::string WritePpd(const PlotterDescription& p) {
    PpdBuilder ppd;
    const std::string model = ModelText(p.name);
    std::string shortName = model.substr(0, 31);
    while (!shortName.empty() && shortName.back() == ' ') shortName.pop_back();
    ppd.Line("*PPD-Adobe: \"4.3\"");
    ppd.Line("*% " + model + ": made from hpgl2.ini for the HPGL2.pxr plotter driver module.");
    ppd.Line("*FormatVersion: \"4.3\"");
    ppd.Line("*FileVersion: \"1.0\"");
    ppd.Line("*LanguageVersion: English");
    ppd.Line("*LanguageEncoding: ISOLatin1");
    ppd.Line("*PCFileName: \"HPGL2.PPD\"");
    ppd.Line("*Manufacturer: \"" + Manufacturer(p.name) + "\"");
    ppd.Line("*Product: \"(" + model + ")\"");
    ppd.Line("*ModelName: \"" + model + "\"");
    ppd.Line("*ShortNickName: \"" + shortName + "\"");
    ppd.Line("*NickName: \"" + model + ", HPGL2.pxr\"");
    ppd.Line("*PSVersion: \"(3010.000) 0\"");
    ppd.Line("*LanguageLevel: \"3\"");
    ppd.Line("*ColorDevice: True");
    ppd.Line("*DefaultColorSpace: RGB");
    ppd.Line("*FileSystem: False");
    ppd.Line("*Throughput: \"1\"");
    ppd.Line("*LandscapeOrientation: Plus90");
    ppd.Line("*TTRasterizer: Type42");
    ppd.Line("*cupsVersion: 2.4");
    ppd.Line("*cupsModelNumber: 0");
    ppd.Line("*cupsManualCopies: True");
    // Metafiles go to the module as they are; everything else arrives as
    // CUPS raster made by CUPS's own filters.
    ppd.Line("*cupsFilter2: \"image/emf application/vnd.hp-hpgl 0 emftohpgl2\"");
    ppd.Line(
        "*cupsFilter2: \"application/vnd.cups-raster application/vnd.hp-hpgl 50 "
        "rastertohpgl2\"");
    ppd.Line(std::string("*") + kPlotterAttribute + ": \"" + PpdText(p.section) + "\"");

    const std::vector<std::string> keywords = PaperKeywords(p.papers);
    std::string defaultPaper = keywords.front();
    for (size_t i = 0; i < p.papers.size(); ++i)
        if (p.papers[i].nPaperID == p.paperId) defaultPaper = keywords[i];
    for (const char* kind : {"PageSize", "PageRegion"}) {
        ppd.OpenUI(kind, "Media Size", 10, defaultPaper);
        for (size_t i = 0; i < p.papers.size(); ++i) {
            const PaperSize& paper = p.papers[i];
            ppd.Choice(kind, keywords[i], PaperText(paper),
                       "<</PageSize[" + Points(paper.nPaperWidth) + " " +
                           Points(paper.nPaperLength) + "]/ImagingBBox null>>setpagedevice");
        }
        ppd.CloseUI(kind);
    }
    ppd.Line("*DefaultImageableArea: " + defaultPaper);
    for (size_t i = 0; i < p.papers.size(); ++i) {
        const PaperSize& s = p.papers[i];
        // Lower left and upper right corners of the printable area, from
        // the bottom left of the sheet.
        ppd.Line("*ImageableArea " + keywords[i] + "/" + PpdText(PaperText(s)) + ": \"" +
                 Points(s.nLeftMargin) + " " + Points(s.nBottomMargin) + " " +
                 Points(s.nPaperWidth - s.nRightMargin) + " " +
                 Points(s.nPaperLength - s.nTopMargin) + "\"");
    }
    ppd.Line("*DefaultPaperDimension: " + defaultPaper);
    for (size_t i = 0; i < p.papers.size(); ++i)
        ppd.Line("*PaperDimension " + keywords[i] + "/" + PpdText(PaperText(p.papers[i])) + ": \"" +
                 Points(p.papers[i].nPaperWidth) + " " + Points(p.papers[i].nPaperLength) + "\"");

    int defaultDpi = PlotterResolutions().front();
    for (int dpi : PlotterResolutions())
        if (dpi == p.dpi) defaultDpi = dpi;
    ppd.OpenUI("Resolution", "Resolution", 20, ResolutionKeyword(defaultDpi));
    for (int dpi : PlotterResolutions())
        ppd.Choice("Resolution", ResolutionKeyword(dpi), std::to_string(dpi) + " dpi",
                   "<</HWResolution[" + std::to_string(dpi) + " " + std::to_string(dpi) +
                       "]>>setpagedevice");
    ppd.CloseUI("Resolution");

    const auto settingOf = [&](const PlotterOption& option) {
        const auto found = p.settings.find(option.field);
        const OptionChoice* c =
            found == p.settings.end() ? nullptr : ChoiceWithValue(option, found->second);
        return c ? c->keyword : option.choices.front().keyword;
    };
    const PlotterOption& colour = ColourModelOption();
    ppd.OpenUI(colour.keyword, colour.text, 30, settingOf(colour));
    for (const OptionChoice& c : colour.choices)
        ppd.Choice(colour.keyword, c.keyword, c.text,
                   std::string(ColourSetup(c.keyword)) + "setpagedevice");
    ppd.CloseUI(colour.keyword);

    ppd.Line("*OpenGroup: HPGL2/Plotter");
    int order = 40;
    for (const PlotterOption& option : DialogOptions()) {
        ppd.OpenUI(option.keyword, option.text, order++, settingOf(option));
        for (const OptionChoice& c : option.choices)
            ppd.Choice(option.keyword, c.keyword, c.text, "");
        ppd.CloseUI(option.keyword);
    }
    ppd.Line("*CloseGroup: HPGL2");
    ppd.Line("*DefaultFont: Courier");
    ppd.Line("*Font Courier: Standard \"(002.004S)\" Standard ROM");
    ppd.Line("*% End of " + PpdFileName(p.section));
    return ppd.Text();
}

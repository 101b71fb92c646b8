#include "ppd/plotter_options.h"

#include <strings.h>

const PlotterOption& ColourModelOption() {
    static const PlotterOption option{
        "ColorModel",
        "Colour",
        "colour",
        {{"RGB", "Colour", "1"}, {"Gray", "Grey", "2"}, {"BlackWhite", "Black and white", "0"}}};
    return option;
}

const std::vector<PlotterOption>& DialogOptions() {
    static const std::vector<PlotterOption> options = {
        {"HPGL2Transaction",
         "Transaction",
         "transaction",
         {{"Plot", "Vectors (transaction in plot)", "0"},
          {"Computer", "Rendered in the computer", "1"},
          {"Auto", "Auto", "2"}}},
        {"HPGL2Compression",
         "Raster compression",
         "compression",
         {{"Uncompressed", "Uncompressed", "0"},
          {"RL", "RL compressed", "1"},
          {"TIF", "TIF compressed", "2"},
          {"Random", "Random compressed", "3"},
          {"BestFit", "Best fit", "4"}}},
        {"HPGL2DataMode",
         "Raster data",
         "datamode",
         {{"IndexColor", "Index Color", "0"},
          {"Dither", "dither", "1"},
          {"PlaneByPlane", "plane by plane", "2"},
          {"DirectRGB", "direct by RGB", "3"}}},
        {"HPGL2Trim",
         "Trim mode",
         "trim",
         {{"NoClip", "No Clip", "0"},
          {"Model1", "Model 1", "1"},
          {"Model2", "Model 2", "2"},
          {"Model3", "Model 3", "3"},
          {"Model4", "Model 4", "4"},
          {"Model5", "Model 5", "5"},
          {"Model6", "Model 6", "6"},
          {"Model7", "Model 7", "7"}}},
        {"HPGL2Shade", "Shade mode", "shade", {{"Color", "Color", "0"}, {"Gray", "Gray", "1"}}},
        {"HPGL2InkedArea",
         "Only plot within ink area",
         "inkedarea",
         {{"False", "Off", "0"}, {"True", "On", "1"}}},
    };
    return options;
}

const std::vector<int>& PlotterResolutions() {
    static const std::vector<int> dpi = {96, 150, 300, 400, 600, 720, 1016, 1200, 2400};
    return dpi;
}

std::string ResolutionKeyword(int dpi) {
    return std::to_string(dpi) + "dpi";
}

const OptionChoice* FindChoice(const PlotterOption& option, const std::string& keyword) {
    for (const OptionChoice& c : option.choices)
        if (strcasecmp(c.keyword.c_str(), keyword.c_str()) == 0) return &c;
    return nullptr;
}

const OptionChoice* ChoiceWithValue(const PlotterOption& option, const std::string& value) {
    for (const OptionChoice& c : option.choices)
        if (c.value == value) return &c;
    return nullptr;
}

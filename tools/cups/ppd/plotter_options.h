// The choices a print job has on a plotter's queue, named once for the PPDs
// and the filters: each PPD option with its choices and the settings field
// of the driver's dialogs that it reaches (the fields of "plothost
// settings", set through the very same dialogs).
#pragma once

#include <string>
#include <vector>

struct OptionChoice {
    std::string keyword;  // the PPD choice name
    std::string text;     // what a print dialog shows
    std::string value;    // the settings field's value: the dialog's choice index
};

struct PlotterOption {
    std::string keyword;  // the PPD main keyword
    std::string text;
    std::string field;  // the settings field
    std::vector<OptionChoice> choices;
};

// "ColorModel": colour, grey, black and white (field "colour").
const PlotterOption& ColourModelOption();

// The options of the settings dialogs a job may choose besides paper,
// resolution and colour: the transaction mode and the advanced options
// (compression, data mode, trim, shade, inked area).
const std::vector<PlotterOption>& DialogOptions();

// The resolutions of the settings dialog's list, in dots per inch.
const std::vector<int>& PlotterResolutions();

// The PPD choice name of a resolution: "600dpi".
std::string ResolutionKeyword(int dpi);

// The choice named keyword (letter case ignored); null when none is.
const OptionChoice* FindChoice(const PlotterOption& option, const std::string& keyword);
// The choice whose settings value is value; null when none is.
const OptionChoice* ChoiceWithValue(const PlotterOption& option, const std::string& value);

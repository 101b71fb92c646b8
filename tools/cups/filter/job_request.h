// What a print job asks of the plotter: its options (the queue's PPD
// defaults, then the job's own) checked against the choices the queue
// offers and turned into the settings a host's page set-up and the
// driver's dialogs take.
#pragma once

#include <string>
#include <vector>

#include "commands/settings_fields.h"
#include "filter/ppd_file.h"
#include "host/page_setup.h"
#include "playback/page_placement.h"

struct JobRequest {
    std::string plotter;  // the configuration name, from the PPD
    std::string paper;    // the PageSize choice
    int dpi = 300;
    std::string colourModel;  // the ColorModel choice
    Orientation orientation = Orientation::Unchanged;
    ScaleChoice scale = ScaleChoice::Auto;
    double fixedScale = 1;
    // The dialogs' fields: colour, transaction and the advanced options.
    std::vector<FieldValue> fields;

    // Sets a dialog field, replacing what the options gave it.
    void SetField(const std::string& field, const std::string& value);
    // The value given to a field; empty when none.
    std::string Field(const std::string& field) const;
};

// False with a message that names the option when a value is not one of
// the queue's choices (or not a number where one is wanted). Options the
// queue does not know are CUPS's own and are left alone.
bool BuildJobRequest(const PpdFile& ppd, const std::string& options, JobRequest* out,
                     std::string* error);

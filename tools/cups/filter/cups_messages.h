// What a filter tells CUPS on standard error, one line each: "ERROR:" (the
// job's state message, and the job stops), "INFO:", "PAGE:" (page
// accounting) and "ATTR:" (job attributes).
#pragma once

#include <string>

void TellError(const std::string& message);
void TellInfo(const std::string& message);
void TellPage(int page, int copies);
void TellAttribute(const std::string& name, const std::string& value);

// The user's data folder, where the framework keeps the paper lists.
#pragma once

#include <string>

// Copies every paper list that hpgl2.ini names from the application folder
// into the data folder when the data folder has none yet, as an installed
// host does on first use. Existing lists are never touched.
void PreparePaperLists(const std::string& appDir, const std::string& dataDir);

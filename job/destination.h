// Where a document goes: the host's port, a ".plt" file the host names, or
// one the user picks in the save dialog.
#pragma once

#include <string>

// Whether the output name asks for the save dialog ("FILE:" in any case).
bool IsFilePort(const char* pszOutput);
// The output name as a ".plt" file name: ".plt" (in any case) is kept,
// anything else gets it appended.
std::string PlotFileName(const char* pszOutput);
// The name the save dialog proposes for a document: its file name without
// folder and extension, with ".plt"; "Drawing1.plt" for no name.
std::string ProposedPlotName(const char* pszDocName);

// The paper list: "paper.ini", read and written whole by the framework.
#pragma once

#include <cstddef>
#include <string>
#include <vector>
#include <windows.h>

#include "pxrdriver/api.h"

struct PaperSize {
    int nPaperID;
    char szPaperName[64];
    int nPaperWidth;  // tenths of a millimetre
    int nPaperLength;
    int nTopMargin;
    int nBottomMargin;
    int nLeftMargin;
    int nRightMargin;
};
static_assert(sizeof(PaperSize) == 92);
static_assert(offsetof(PaperSize, szPaperName) == 4);
static_assert(offsetof(PaperSize, nPaperWidth) == 68);
static_assert(offsetof(PaperSize, nRightMargin) == 88);

// Index of HT_DefaultDeviceCapabilities that answers whole PaperSize records.
#define HT_DC_PAPERRECORDS 19

// Writes the whole list to a temporary file and renames it over the old one.
// Lines of the old file that hold no paper (comments, malformed papers) stay
// where they are, and papers whose record is unchanged keep their line as
// written. Nonzero on success.
PXR_API int HT_WritePaperFile(const char* pszPaperFile, const PaperSize* pPapers, int nCount);

// Device capabilities answered from the paper file: HT_DC_PAPERRECORDS
// (PaperSize records), DC_PAPERS (WORD numbers), DC_PAPERSIZE (POINT sizes in
// tenths of a millimetre) and DC_PAPERNAMES (64-byte names). With a null
// output the count is returned; -1 for an index the framework does not answer.
PXR_API int HT_DefaultDeviceCapabilities(WORD nIndex, char* pOutput, const DEVMODEA* pDevMode,
                                         const char* pszPaperFile);

// Reading the paper file. Malformed lines are reported and skipped; the
// other papers are kept.
struct PaperFileProblem {
    int nLine;
    std::string strMessage;
};
PXR_API std::vector<PaperSize> HT_ReadPaperFile(const char* pszPaperFile,
                                                std::vector<PaperFileProblem>* pProblems);
// Where problems of the paper file are told, each once for as long as its
// line stays as it is, with the file's native path; stderr unless the host
// sets one.
using PFN_PaperProblemSink = void (*)(const char* pszPaperFile, const PaperFileProblem&);
PXR_API void HT_SetPaperProblemSink(PFN_PaperProblemSink pfnSink);

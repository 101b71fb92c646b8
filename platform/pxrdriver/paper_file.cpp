// "paper.ini": one paper a line, in the order of the PaperSize record:
//
//   ; number, width, length, top, bottom, left, right, name
//   9, 2100, 2970, 170, 170, 50, 50, ISO A4
//
// Sizes and margins are tenths of a millimetre; the name runs from the
// seventh comma to the end of the line and may hold commas of its own.
// Blank lines and lines starting with ";" or "#" are comments.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <fstream>
#include <sstream>

#include "pxrdriver/paper.h"
#include "win32/kernel32/native_path.h"

namespace {

void PrintProblem(const char* file, const PaperFileProblem& problem) {
    std::fprintf(stderr, "%s:%d: %s\n", file, problem.nLine, problem.strMessage.c_str());
}

PFN_PaperProblemSink g_sink = PrintProblem;

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return s.substr(b, e - b);
}

bool ParseInt(const std::string& text, int* value) {
    const std::string t = Trim(text);
    if (t.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(t.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < -2147483647L - 1 || v > 2147483647L) return false;
    *value = static_cast<int>(v);
    return true;
}

const char* const kFieldNames[7] = {"number",        "width",       "length",      "top margin",
                                    "bottom margin", "left margin", "right margin"};

// One paper line; an empty message when it is sound.
std::string ParsePaperLine(const std::string& line, PaperSize* paper) {
    int values[7];
    size_t pos = 0;
    for (int i = 0; i < 7; ++i) {
        const size_t comma = line.find(',', pos);
        if (comma == std::string::npos) {
            if (i == 6 && ParseInt(line.substr(pos), &values[i])) return "the paper has no name";
            return "expected 7 numbers and a name, found " + std::to_string(i + 1) + " fields";
        }
        if (!ParseInt(line.substr(pos, comma - pos), &values[i]))
            return std::string("the ") + kFieldNames[i] + " is not a whole number";
        pos = comma + 1;
    }
    const std::string name = Trim(line.substr(pos));
    if (name.empty()) return "the paper has no name";
    for (int i = 1; i < 7; ++i)
        if (values[i] < 0) return std::string("the ") + kFieldNames[i] + " is negative";
    if (values[1] == 0 || values[2] == 0) return "the paper has no area";
    *paper = PaperSize{};
    paper->nPaperID = values[0];
    std::strncpy(paper->szPaperName, name.c_str(), sizeof paper->szPaperName - 1);
    paper->nPaperWidth = values[1];
    paper->nPaperLength = values[2];
    paper->nTopMargin = values[3];
    paper->nBottomMargin = values[4];
    paper->nLeftMargin = values[5];
    paper->nRightMargin = values[6];
    return "";
}

}  // namespace

void HT_SetPaperProblemSink(PFN_PaperProblemSink pfnSink) {
    g_sink = pfnSink ? pfnSink : PrintProblem;
}

std::vector<PaperSize> HT_ReadPaperFile(const char* pszPaperFile,
                                        std::vector<PaperFileProblem>* pProblems) {
    std::vector<PaperSize> papers;
    if (!pszPaperFile) return papers;
    std::ifstream in(NativePath(pszPaperFile), std::ios::binary);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string text = Trim(line);
        if (text.empty() || text[0] == ';' || text[0] == '#') continue;
        PaperSize paper;
        const std::string problem = ParsePaperLine(text, &paper);
        if (problem.empty()) {
            papers.push_back(paper);
            continue;
        }
        const PaperFileProblem report{number, "skipped a paper: " + problem};
        if (pProblems) pProblems->push_back(report);
        g_sink(pszPaperFile, report);
    }
    return papers;
}

int HT_WritePaperFile(const char* pszPaperFile, const PaperSize* pPapers, int nCount) {
    if (!pszPaperFile || nCount < 0 || (nCount > 0 && !pPapers)) return 0;
    std::ostringstream out;
    out << "; Paper list of the plotter drivers.\n"
           "; One paper a line: number, width, length, top, bottom, left and right margin\n"
           "; in tenths of a millimetre, then the name up to the end of the line.\n";
    for (int i = 0; i < nCount; ++i) {
        const PaperSize& p = pPapers[i];
        std::string name(p.szPaperName, strnlen(p.szPaperName, sizeof p.szPaperName));
        for (char& c : name)
            if (c == '\n' || c == '\r') c = ' ';
        out << p.nPaperID << ", " << p.nPaperWidth << ", " << p.nPaperLength << ", " << p.nTopMargin
            << ", " << p.nBottomMargin << ", " << p.nLeftMargin << ", " << p.nRightMargin << ", "
            << name << "\n";
    }
    const std::string target = NativePath(pszPaperFile);
    // A read-only list is never replaced, as Windows refuses to replace a
    // read-only file. The mode bits decide, so that it holds for root too.
    struct stat existing;
    if (stat(target.c_str(), &existing) == 0 &&
        (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return 0;
    const std::string temporary = target + ".tmp";
    const std::string text = out.str();
    FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) return 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        return 0;
    }
    return 1;
}

int HT_DefaultDeviceCapabilities(WORD nIndex, char* pOutput, const DEVMODEA*,
                                 const char* pszPaperFile) {
    if (nIndex != HT_DC_PAPERRECORDS && nIndex != DC_PAPERS && nIndex != DC_PAPERSIZE &&
        nIndex != DC_PAPERNAMES)
        return -1;
    const std::vector<PaperSize> papers = HT_ReadPaperFile(pszPaperFile, nullptr);
    int count = static_cast<int>(papers.size());
    // Callers size the buffer by a count query first. The list may grow in
    // between (another program adding a paper): never fill more entries than
    // the last count this thread was told for the same file.
    thread_local std::string countedFile;
    thread_local int countedPapers = 0;
    const std::string file = pszPaperFile ? pszPaperFile : "";
    if (!pOutput) {
        countedFile = file;
        countedPapers = count;
        return count;
    }
    if (countedFile == file && countedPapers < count) count = countedPapers;
    for (int i = 0; i < count; ++i) {
        const PaperSize& p = papers[static_cast<size_t>(i)];
        switch (nIndex) {
            case HT_DC_PAPERRECORDS:
                std::memcpy(pOutput + i * sizeof(PaperSize), &p, sizeof(PaperSize));
                break;
            case DC_PAPERS: {
                const WORD id = static_cast<WORD>(p.nPaperID);
                std::memcpy(pOutput + i * sizeof(WORD), &id, sizeof id);
                break;
            }
            case DC_PAPERSIZE: {
                const POINT size{p.nPaperWidth, p.nPaperLength};
                std::memcpy(pOutput + i * sizeof(POINT), &size, sizeof size);
                break;
            }
            case DC_PAPERNAMES: std::memcpy(pOutput + i * 64, p.szPaperName, 64); break;
        }
    }
    return count;
}

// "paper.ini": one paper a line, in the order of the PaperSize record:
//
//   ; number, width, length, top, bottom, left, right, name
//   9, 2100, 2970, 170, 170, 50, 50, ISO A4
//
// Sizes and margins are tenths of a millimetre; the name runs from the
// seventh comma to the end of the line and may hold commas of its own.
// Blank lines and lines starting with ";" or "#" are comments. Writing the
// list back keeps every line that is no sound paper (comments, lines the user
// has yet to mend) where it stands; only the lines of papers change.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>

#include "pxrdriver/paper.h"
#include "win32/kernel32/native_path.h"

namespace {

void PrintProblem(const char* file, const PaperFileProblem& problem) {
    std::fprintf(stderr, "%s:%d: %s\n", file, problem.nLine, problem.strMessage.c_str());
}

PFN_PaperProblemSink g_sink = PrintProblem;

// The list is read on every capability query, several times for one dialog:
// a line is told once for as long as it stays as it is.
void TellOnce(const std::string& file, const PaperFileProblem& problem, const std::string& line) {
    static std::mutex lock;
    static std::set<std::string> told;
    {
        const std::lock_guard<std::mutex> guard(lock);
        const std::string key = file + '\n' + std::to_string(problem.nLine) + '\n' + line;
        if (!told.insert(key).second) return;
    }
    g_sink(file.c_str(), problem);
}

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

// One line of the file as read: its text without the end of line and, when
// it is a sound paper, the record.
struct FileLine {
    std::string text;
    bool isPaper = false;
    PaperSize paper{};
};

std::vector<FileLine> ReadLines(const std::string& path, std::vector<PaperFileProblem>* pProblems) {
    std::vector<FileLine> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        FileLine read;
        read.text = line;
        const std::string text = Trim(line);
        if (!text.empty() && text[0] != ';' && text[0] != '#') {
            const std::string problem = ParsePaperLine(text, &read.paper);
            read.isPaper = problem.empty();
            if (!read.isPaper) {
                const PaperFileProblem report{static_cast<int>(lines.size()) + 1,
                                              "skipped a paper: " + problem};
                if (pProblems) pProblems->push_back(report);
                TellOnce(path, report, line);
            }
        }
        lines.push_back(std::move(read));
    }
    return lines;
}

bool SamePaper(const PaperSize& a, const PaperSize& b) {
    return a.nPaperID == b.nPaperID &&
           strncmp(a.szPaperName, b.szPaperName, sizeof a.szPaperName) == 0 &&
           a.nPaperWidth == b.nPaperWidth && a.nPaperLength == b.nPaperLength &&
           a.nTopMargin == b.nTopMargin && a.nBottomMargin == b.nBottomMargin &&
           a.nLeftMargin == b.nLeftMargin && a.nRightMargin == b.nRightMargin;
}

std::string FormatPaper(const PaperSize& p) {
    std::string name(p.szPaperName, strnlen(p.szPaperName, sizeof p.szPaperName));
    for (char& c : name)
        if (c == '\n' || c == '\r') c = ' ';
    std::ostringstream out;
    out << p.nPaperID << ", " << p.nPaperWidth << ", " << p.nPaperLength << ", " << p.nTopMargin
        << ", " << p.nBottomMargin << ", " << p.nLeftMargin << ", " << p.nRightMargin << ", "
        << name;
    return out.str();
}

// The text of the file that holds `papers` in their order, made from the
// file's present lines: a paper line stays word for word while its record
// is unchanged, is rewritten when it changed and goes when its paper is no
// longer in the list; papers the file does not hold yet go in at their place
// in the list, after the last line when they come last. Every other line
// stays.
std::string MergedText(const std::vector<FileLine>& lines, const PaperSize* pPapers, int nCount) {
    std::string text;
    // New lines end as the file's lines do.
    const bool crlf = !lines.empty() && !lines[0].text.empty() && lines[0].text.back() == '\r';
    const auto add = [&](const std::string& line) { text += line + (crlf ? "\r\n" : "\n"); };
    if (lines.empty())
        text =
            "; Paper list of the plotter drivers.\n"
            "; One paper a line: number, width, length, top, bottom, left and right margin\n"
            "; in tenths of a millimetre, then the name up to the end of the line.\n";
    int next = 0;  // the first paper of the list not yet written
    for (const FileLine& line : lines) {
        if (!line.isPaper) {
            text += line.text + "\n";
            continue;
        }
        int at = next;
        while (at < nCount && pPapers[at].nPaperID != line.paper.nPaperID) ++at;
        if (at == nCount) continue;  // deleted
        for (; next < at; ++next) add(FormatPaper(pPapers[next]));
        if (SamePaper(line.paper, pPapers[at]))
            text += line.text + "\n";
        else
            add(FormatPaper(pPapers[at]));
        next = at + 1;
    }
    for (; next < nCount; ++next) add(FormatPaper(pPapers[next]));
    return text;
}

}  // namespace

void HT_SetPaperProblemSink(PFN_PaperProblemSink pfnSink) {
    g_sink = pfnSink ? pfnSink : PrintProblem;
}

std::vector<PaperSize> HT_ReadPaperFile(const char* pszPaperFile,
                                        std::vector<PaperFileProblem>* pProblems) {
    std::vector<PaperSize> papers;
    if (!pszPaperFile) return papers;
    for (const FileLine& line : ReadLines(NativePath(pszPaperFile), pProblems))
        if (line.isPaper) papers.push_back(line.paper);
    return papers;
}

int HT_WritePaperFile(const char* pszPaperFile, const PaperSize* pPapers, int nCount) {
    if (!pszPaperFile || nCount < 0 || (nCount > 0 && !pPapers)) return 0;
    const std::string target = NativePath(pszPaperFile);
    // A read-only list is never replaced, as Windows refuses to replace a
    // read-only file. The mode bits decide, so that it holds for root too.
    struct stat existing;
    if (stat(target.c_str(), &existing) == 0 &&
        (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return 0;
    const std::string temporary = target + ".tmp";
    const std::string text = MergedText(ReadLines(target, nullptr), pPapers, nCount);
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

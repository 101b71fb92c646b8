#include "job/control_code.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "job/output_stream.h"
#include "pxrdriver/app_paths.h"
#include "win32/kernel32/native_path.h"

namespace {

constexpr char kUseFile[] = "USEFILE=";
constexpr char kHeadMask[] = "$HEADMASK=";
// The file is streamed in pieces; a control file may be large.
constexpr size_t kChunk = 4095;

// The decimal number a text begins with: blanks, a sign, digits; 0 when there
// are none. Values past the range of int are held at its ends.
int LeadingInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

void ReplaceAll(std::string* text, const std::string& from, const std::string& to) {
    for (size_t at = text->find(from); at != std::string::npos;
         at = text->find(from, at + to.size()))
        text->replace(at, from.size(), to);
}

// A path with no "\\" and no drive colon is a file of the application folder.
std::string ControlFilePath(const std::string& path) {
    const bool absolute = path.find("\\\\") != std::string::npos ||
                          (path.size() > 1 && path.find(':', 1) != std::string::npos);
    if (absolute) return path;
    return std::string(KestGetAppFullPath()) + "\\" + path;
}

void SendFile(JobContext* job, const std::string& path) {
    FILE* file = std::fopen(NativePath(path.c_str()).c_str(), "rb");
    if (!file) return;  // a missing control file is skipped
    char buffer[kChunk];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        WriteBytes(job, buffer, static_cast<int>(n));
    std::fclose(file);
}

}  // namespace

std::string ExpandControlCode(const std::string& code, int* pHeadMask) {
    std::string text = code;
    ReplaceAll(&text, "\\033", "\x1b");
    const size_t start = text.find(kHeadMask);
    if (start == std::string::npos) return text;
    const size_t end = text.find('$', start + 3);
    if (end == std::string::npos || end <= start) return text;
    const size_t digits = start + std::strlen(kHeadMask);
    *pHeadMask = LeadingInt(text.substr(digits, end > digits ? end - digits : 0));
    const std::string token = text.substr(start, end - start + 1);
    for (size_t at = text.find(token); at != std::string::npos; at = text.find(token, at))
        text.erase(at, token.size());
    return text;
}

int SendControlCode(JobContext* job, const char* pszCode, int nHeadMask) {
    const std::string code = pszCode ? pszCode : "";
    if (code.compare(0, std::strlen(kUseFile), kUseFile) == 0) {
        SendFile(job, ControlFilePath(code.substr(std::strlen(kUseFile))));
        return nHeadMask;
    }
    int mask = nHeadMask;
    const std::string text = ExpandControlCode(code, &mask);
    WriteText(job, std::string_view(text.c_str(), std::strlen(text.c_str())));
    return mask;
}

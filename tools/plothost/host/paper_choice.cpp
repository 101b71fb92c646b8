#include "host/paper_choice.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>

namespace {

std::string Lower(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : Lower(text)) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            word += c;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

// The words of `part` appear one after another among the words of `whole`.
bool HasWordsInOrder(const std::vector<std::string>& whole, const std::vector<std::string>& part) {
    if (part.empty() || part.size() > whole.size()) return false;
    for (size_t i = 0; i + part.size() <= whole.size(); ++i)
        if (std::equal(part.begin(), part.end(), whole.begin() + static_cast<long>(i))) return true;
    return false;
}

size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string List(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "\"" : ", \"") + name + "\"";
    return text;
}

}  // namespace

std::string PaperText(const PaperSize& paper) {
    return std::string(paper.szPaperName, strnlen(paper.szPaperName, sizeof paper.szPaperName));
}

std::vector<std::string> CloseNames(const std::vector<PaperSize>& papers, const std::string& wanted,
                                    size_t limit) {
    const std::string target = Lower(wanted);
    std::vector<std::pair<size_t, std::string>> scored;
    for (const PaperSize& paper : papers) {
        const std::string name = PaperText(paper);
        // Against the whole name and against each of its tails ("a0" is near
        // the "A0" of "ISO A0"), whichever is nearer.
        const std::string lower = Lower(name);
        size_t best = EditDistance(target, lower);
        for (size_t i = 1; i < lower.size(); ++i)
            if (lower[i - 1] == ' ') best = std::min(best, EditDistance(target, lower.substr(i)));
        if (best <= std::max<size_t>(2, target.size() / 3)) scored.emplace_back(best, name);
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (const auto& entry : scored) {
        if (names.size() == limit) break;
        names.push_back(entry.second);
    }
    return names;
}

const PaperSize* FindPaper(const std::vector<PaperSize>& papers, const std::string& wanted,
                           std::string* error) {
    int number = 0;
    const char* end = wanted.data() + wanted.size();
    const auto [rest, ec] = std::from_chars(wanted.data(), end, number);
    if (ec == std::errc() && rest == end) {
        for (const PaperSize& paper : papers)
            if (paper.nPaperID == number) return &paper;
        *error = "no paper number " + wanted + " (see 'plothost papers')";
        return nullptr;
    }
    const std::string lower = Lower(wanted);
    for (const PaperSize& paper : papers)
        if (Lower(PaperText(paper)) == lower) return &paper;
    const std::vector<std::string> words = Words(wanted);
    std::vector<const PaperSize*> matches;
    for (const PaperSize& paper : papers)
        if (HasWordsInOrder(Words(PaperText(paper)), words)) matches.push_back(&paper);
    if (matches.size() == 1) return matches.front();
    if (matches.size() > 1) {
        std::vector<std::string> names;
        for (const PaperSize* paper : matches) names.push_back(PaperText(*paper));
        *error = "the paper \"" + wanted + "\" could be " + List(names) + ": say which";
        return nullptr;
    }
    const std::vector<std::string> close = CloseNames(papers, wanted);
    *error = "no paper named \"" + wanted + "\"";
    *error += close.empty() ? " (see 'plothost papers')"
                            : "; close names: " + List(close) + " (see 'plothost papers')";
    return nullptr;
}

// CString: the MFC text class, as much of it as the module uses.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>

#include "win32/types.h"

class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}  // NOLINT: implicit, as in MFC
    CString(const std::string& text) : m_text(text) {}       // NOLINT

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    const char* GetString() const { return m_text.c_str(); }
    operator const char*() const { return m_text.c_str(); }  // NOLINT
    const std::string& str() const { return m_text; }
    char GetAt(int i) const { return m_text.at(static_cast<size_t>(i)); }
    CString& operator+=(const CString& more) {
        m_text += more.m_text;
        return *this;
    }
    CString& operator+=(char c) {
        m_text += c;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b) {
        return CString(a.m_text + b.m_text);
    }
    bool operator==(const CString& other) const { return m_text == other.m_text; }

    // Blanks are the C locale's white space, as MFC trims them.
    CString& Trim() { return TrimLeft().TrimRight(); }
    CString& TrimLeft() {
        const auto it = std::find_if(m_text.begin(), m_text.end(),
                                     [](unsigned char c) { return !std::isspace(c); });
        m_text.erase(m_text.begin(), it);
        return *this;
    }
    CString& TrimRight() {
        while (!m_text.empty() && std::isspace(static_cast<unsigned char>(m_text.back())))
            m_text.pop_back();
        return *this;
    }
    CString& MakeUpper() {
        for (char& c : m_text)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return *this;
    }
    int Find(const char* sub, int start = 0) const {
        if (start < 0 || static_cast<size_t>(start) > m_text.size()) return -1;
        const size_t at = m_text.find(sub ? sub : "", static_cast<size_t>(start));
        return at == std::string::npos ? -1 : static_cast<int>(at);
    }
    CString Left(int n) const {
        return CString(m_text.substr(0, static_cast<size_t>(std::max(n, 0))));
    }

private:
    std::string m_text;
};

// CString: the MFC text class, as much of it as the module uses.
#pragma once

#include <string>

#include "win32/types.h"

class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}  // NOLINT: implicit, as in MFC
    CString(const std::string& text) : m_text(text) {}       // NOLINT

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    const char* GetString() const { return m_text.c_str(); }
    operator const char*() const { return m_text.c_str(); }  // NOLINT
    const std::string& str() const { return m_text; }
    CString& operator+=(const CString& more) {
        m_text += more.m_text;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b) {
        return CString(a.m_text + b.m_text);
    }
    bool operator==(const CString& other) const { return m_text == other.m_text; }

private:
    std::string m_text;
};

// Dialog templates in the extended form (DLGTEMPLATEEX) that resource
// compilers make of a DIALOGEX statement, parsed into records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "win32/types.h"
#include "win32/user32/window_styles.h"

struct DialogItemTemplate {
    DWORD dwStyle = 0;
    DWORD dwExStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    int nId = -1;                        // -1 for the unnamed statics and group boxes
    // "Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox" for the
    // predefined classes, else the class name as written ("msctls_updown32").
    std::string strClass;
    std::string strText;    // UTF-8
    int nTextOrdinal = -1;  // a resource id instead of a text (a bitmap static)
};

struct DialogTemplate {
    DWORD dwStyle = 0;
    DWORD dwExStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string strCaption;  // UTF-8
    WORD wPointSize = 0;
    WORD wWeight = 0;
    bool bItalic = false;
    std::string strFont;
    std::vector<DialogItemTemplate> items;
};

// nullopt when the bytes are not a well-formed extended template; every
// length is checked against what is left.
WIN32_API std::optional<DialogTemplate> ParseDialogTemplate(const std::uint8_t* p, size_t n);

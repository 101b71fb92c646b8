#include "win32/user32/dialog_template.h"

#include <algorithm>
#include <cctype>

#include "win32/kernel32/res_file.h"

namespace {

class TemplateReader {
public:
    TemplateReader(const std::uint8_t* p, size_t n) : m_p(p), m_n(n) {}
    bool U16(std::uint16_t* v) {
        if (m_n - m_off < 2) return false;
        *v = static_cast<std::uint16_t>(m_p[m_off] | (m_p[m_off + 1] << 8));
        m_off += 2;
        return true;
    }
    bool S16(short* v) {
        std::uint16_t u;
        if (!U16(&u)) return false;
        *v = static_cast<short>(u);
        return true;
    }
    bool U32(std::uint32_t* v) {
        std::uint16_t lo, hi;
        if (!U16(&lo) || !U16(&hi)) return false;
        *v = lo | (static_cast<std::uint32_t>(hi) << 16);
        return true;
    }
    bool Byte(std::uint8_t* v) {
        if (m_n - m_off < 1) return false;
        *v = m_p[m_off++];
        return true;
    }
    bool Text(std::u16string* out) {
        for (std::uint16_t c;;) {
            if (!U16(&c)) return false;
            if (c == 0) return true;
            out->push_back(static_cast<char16_t>(c));
        }
    }
    // 0 for none, 0xFFFF and an ordinal, or a text.
    bool TextOrOrdinal(int* ordinal, std::u16string* text) {
        std::uint16_t first;
        if (!U16(&first)) return false;
        *ordinal = -1;
        if (first == 0) return true;
        if (first == 0xFFFF) {
            std::uint16_t v;
            if (!U16(&v)) return false;
            *ordinal = v;
            return true;
        }
        text->push_back(static_cast<char16_t>(first));
        return Text(text);
    }
    bool AlignTo4() {
        const size_t pad = (4 - (m_off & 3)) & 3;
        if (m_n - m_off < pad) return false;
        m_off += pad;
        return true;
    }
    bool Skip(size_t n) {
        if (m_n - m_off < n) return false;
        m_off += n;
        return true;
    }

private:
    const std::uint8_t* m_p;
    size_t m_n;
    size_t m_off = 0;
};

std::string PredefinedClass(int ordinal) {
    switch (ordinal) {
        case 0x80: return "Button";
        case 0x81: return "Edit";
        case 0x82: return "Static";
        case 0x83: return "ListBox";
        case 0x84: return "ScrollBar";
        case 0x85: return "ComboBox";
        default: {
            // Built by appending: GCC 12 warns falsely on "#" + std::string.
            std::string name(1, '#');
            name += std::to_string(ordinal);
            return name;
        }
    }
}

// Resource compilers write the predefined classes either as ordinals or as
// their names in any letter case ("BUTTON"), and class names ignore letter
// case: one spelling each, so that code compares them plainly.
std::string CanonicalClass(const std::string& name) {
    static const char* const kPredefined[] = {
        "Button",    "Edit",     "Static",          "ListBox",
        "ScrollBar", "ComboBox", "msctls_updown32", "msctls_progress32"};
    for (const char* predefined : kPredefined) {
        const std::string p = predefined;
        if (p.size() == name.size() &&
            std::equal(p.begin(), p.end(), name.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            }))
            return p;
    }
    return name;
}

}  // namespace

std::optional<DialogTemplate> ParseDialogTemplate(const std::uint8_t* p, size_t n) {
    TemplateReader r(p, n);
    std::uint16_t version, signature, count;
    std::uint32_t helpId;
    DialogTemplate t;
    if (!r.U16(&version) || !r.U16(&signature) || version != 1 || signature != 0xFFFF)
        return std::nullopt;
    if (!r.U32(&helpId) || !r.U32(&t.dwExStyle) || !r.U32(&t.dwStyle) || !r.U16(&count) ||
        !r.S16(&t.x) || !r.S16(&t.y) || !r.S16(&t.cx) || !r.S16(&t.cy))
        return std::nullopt;
    int menu, windowClass, captionOrdinal;
    std::u16string menuName, className, caption;
    if (!r.TextOrOrdinal(&menu, &menuName) || !r.TextOrOrdinal(&windowClass, &className) ||
        !r.TextOrOrdinal(&captionOrdinal, &caption))
        return std::nullopt;
    t.strCaption = win32::Utf16ToUtf8(caption);
    if (t.dwStyle & DS_SETFONT) {
        std::uint8_t italic, charset;
        std::u16string face;
        if (!r.U16(&t.wPointSize) || !r.U16(&t.wWeight) || !r.Byte(&italic) || !r.Byte(&charset) ||
            !r.Text(&face))
            return std::nullopt;
        t.bItalic = italic != 0;
        t.strFont = win32::Utf16ToUtf8(face);
    }
    for (std::uint16_t i = 0; i < count; ++i) {
        DialogItemTemplate item;
        std::uint32_t itemHelp, id;
        if (!r.AlignTo4() || !r.U32(&itemHelp) || !r.U32(&item.dwExStyle) ||
            !r.U32(&item.dwStyle) || !r.S16(&item.x) || !r.S16(&item.y) || !r.S16(&item.cx) ||
            !r.S16(&item.cy) || !r.U32(&id))
            return std::nullopt;
        item.nId = id == 0xFFFFFFFFu || id == 0xFFFFu ? -1 : static_cast<int>(id);
        int classOrdinal;
        std::u16string itemClass, text;
        std::uint16_t extra;
        if (!r.TextOrOrdinal(&classOrdinal, &itemClass) ||
            !r.TextOrOrdinal(&item.nTextOrdinal, &text) || !r.U16(&extra) || !r.Skip(extra))
            return std::nullopt;
        item.strClass = classOrdinal >= 0 ? PredefinedClass(classOrdinal)
                                          : CanonicalClass(win32::Utf16ToUtf8(itemClass));
        item.strText = win32::Utf16ToUtf8(text);
        t.items.push_back(std::move(item));
    }
    return t;
}

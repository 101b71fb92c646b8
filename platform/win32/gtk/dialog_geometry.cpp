#include <algorithm>
#include <cctype>

#include "gtk/shown_dialog.h"
#include "win32/kernel32/resources.h"

// Compact controls, so that a control fits the pixels its dialog units give.
// A check box's box and the gap after it take 13 + 4 pixels, as on Windows.
// A read-only edit shows the dialog's face colour, as Windows paints it.
const char kDialogCss[] =
    "window.pxr-dialog button, window.pxr-dialog entry, window.pxr-dialog dropdown > button,"
    "window.pxr-dialog combobox button { min-height: 0; min-width: 0; padding: 0 3px; }"
    "window.pxr-dialog entry { padding: 0 2px; }"
    "window.pxr-dialog entry.pxr-readonly { background-color: transparent; }"
    "window.pxr-dialog checkbutton { min-height: 0; padding: 0; border-spacing: 0; }"
    "window.pxr-dialog checkbutton > label { margin: 0; padding: 0; }"
    "window.pxr-dialog checkbutton > check, window.pxr-dialog checkbutton > radio"
    " { min-width: 11px; min-height: 11px; -gtk-icon-size: 11px; border-width: 1px;"
    " margin: 0 4px 0 0; padding: 0; }"
    "window.pxr-dialog .pxr-updown button { padding: 0; -gtk-icon-size: 8px; }"
    "window.pxr-dialog progressbar > trough { border-radius: 0; }";

namespace {

std::string Folded(const std::string& s) {
    std::string out;
    for (char c : s)
        if (c != ' ') out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// "MS Shell Dlg" is no face but a name Windows gives the user interface
// face of the system's language.
const char* ShellDialogFace() {
    const LANGID language = GetUserDefaultUILanguage();
    if (PRIMARYLANGID(language) == LANG_JAPANESE) return "MS UI Gothic";
    if (PRIMARYLANGID(language) == LANG_CHINESE)
        return SUBLANGID(language) == SUBLANG_CHINESE_TRADITIONAL ? "PMingLiU" : "SimSun";
    return "Microsoft Sans Serif";
}

// Installed faces that stand in for the Windows dialog faces: Liberation
// Sans has Arial's widths, which Microsoft Sans Serif shares closely (the
// same 6 by 13 base units at 8 points); the East Asian faces draw their
// ideographs one em wide, as the Noto CJK faces do.
struct StandIn {
    const char* windowsFace;  // folded: lower case, no blanks
    const char* family;
};
constexpr StandIn kStandIns[] = {
    {"microsoftsansserif", "Liberation Sans"},
    {"mssansserif", "Liberation Sans"},
    {"arial", "Liberation Sans"},
    {"tahoma", "DejaVu Sans"},
    {"msuigothic", "Noto Sans CJK JP"},
    {"msgothic", "Noto Sans CJK JP"},
    {"mspgothic", "Noto Sans CJK JP"},
    {"meiryo", "Noto Sans CJK JP"},
    {"simsun", "Noto Sans CJK SC"},
    {"\xe5\xae\x8b\xe4\xbd\x93", "Noto Sans CJK SC"},  // 宋体
    {"microsoftyahei", "Noto Sans CJK SC"},
    {"pmingliu", "Noto Sans CJK TC"},
    {"mingliu", "Noto Sans CJK TC"},
    {"\xe6\x96\xb0\xe7\xb4\xb0\xe6\x98\x8e\xe9\xab\x94", "Noto Sans CJK TC"},  // 新細明體
    {"microsoftjhenghei", "Noto Sans CJK TC"},
};

}  // namespace

DialogFont DialogFontOf(const DialogTemplate& dialogTemplate) {
    std::string face = dialogTemplate.strFont;
    const std::string folded = Folded(face);
    if (folded == "msshelldlg" || folded.empty()) face = ShellDialogFace();
    if (folded == "msshelldlg2") face = "Tahoma";
    DialogFont font;
    font.family = face;
    for (const StandIn& s : kStandIns)
        if (Folded(face) == s.windowsFace) font.family = s.family;
    // The height Windows asks of a dialog font: -MulDiv(points, 96, 72).
    const int points = dialogTemplate.wPointSize > 0 ? dialogTemplate.wPointSize : 8;
    font.pixels = (points * 96 + 36) / 72;
    return font;
}

PangoFontDescription* NewFontDescription(const DialogFont& font) {
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font.family.c_str());
    pango_font_description_set_absolute_size(description, font.pixels * PANGO_SCALE);
    return description;
}

namespace {

// MulDiv: the product divided, rounded to the nearest, halves away from 0.
LONG Scaled(short value, LONG numerator, LONG denominator) {
    const LONG product = value * numerator;
    return product >= 0 ? (product + denominator / 2) / denominator
                        : -((-product + denominator / 2) / denominator);
}

}  // namespace

RECT PixelsOf(const SIZE& base, short x, short y, short cx, short cy) {
    // Dialog units: a quarter of the average character width, an eighth of
    // the character height. Windows maps a control's origin and its size
    // each on its own, rounded, as it creates the control.
    const LONG left = Scaled(x, base.cx, 4), top = Scaled(y, base.cy, 8);
    return RECT{left, top, left + Scaled(cx, base.cx, 4), top + Scaled(cy, base.cy, 8)};
}

// An up-down control with UDS_AUTOBUDDY and UDS_ALIGNRIGHT moves to the right
// edge of its buddy, which gives up that width, as Windows places them.
bool PlacedRect(const DialogWindow& dialog, const SIZE& base, int index, RECT* out) {
    const auto& items = dialog.Template().items;
    if (index < 0 || index >= static_cast<int>(items.size())) return false;
    const DialogItemTemplate& item = items[static_cast<size_t>(index)];
    // A combo box's height in the template is that of its dropped list; closed,
    // it is one line high, as tall as the single-line edits of these dialogs.
    constexpr short kClosedComboHeight = 14;
    const short cy = item.strClass == "ComboBox" ? std::min(item.cy, kClosedComboHeight) : item.cy;
    RECT r = PixelsOf(base, item.x, item.y, item.cx, cy);
    const auto isAlignedUpDown = [](const DialogItemTemplate& i) {
        return i.strClass == "msctls_updown32" && (i.dwStyle & UDS_AUTOBUDDY) &&
               (i.dwStyle & UDS_ALIGNRIGHT);
    };
    if (isAlignedUpDown(item) && index > 0) {
        const DialogItemTemplate& buddy = items[static_cast<size_t>(index - 1)];
        const RECT b = PixelsOf(base, buddy.x, buddy.y, buddy.cx, buddy.cy);
        const LONG width = r.right - r.left;
        r = {b.right - width, b.top, b.right, b.bottom};
    } else if (index + 1 < static_cast<int>(items.size()) &&
               isAlignedUpDown(items[static_cast<size_t>(index + 1)])) {
        const DialogItemTemplate& spin = items[static_cast<size_t>(index + 1)];
        r.right -= PixelsOf(base, spin.x, spin.y, spin.cx, spin.cy).right -
                   PixelsOf(base, spin.x, spin.y, spin.cx, spin.cy).left;
    }
    *out = r;
    return true;
}

SIZE MeasureBase(GtkWidget* widget, const DialogFont& font) {
    // The average width of the 52 letters, rounded (not tmAveCharWidth), and
    // the height of a line of text (tmHeight), as Windows takes them.
    const SIZE letters =
        MeasureText(widget, font, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 0);
    return SIZE{std::max<LONG>(1, (letters.cx + 26) / 52), std::max<LONG>(1, letters.cy)};
}

SIZE MeasureText(GtkWidget* widget, const DialogFont& font, const std::string& text,
                 int wrapWidth) {
    PangoFontDescription* description = NewFontDescription(font);
    PangoLayout* layout = gtk_widget_create_pango_layout(widget, text.c_str());
    pango_layout_set_font_description(layout, description);
    if (wrapWidth > 0) {
        pango_layout_set_width(layout, wrapWidth * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    }
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    g_object_unref(layout);
    pango_font_description_free(description);
    return SIZE{width, height};
}

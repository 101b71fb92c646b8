#include <algorithm>

#include "gtk/shown_dialog.h"

// Compact controls, so that a control fits the pixels its dialog units give.
const char kDialogCss[] =
    "window.pxr-dialog, window.pxr-dialog * { font-family: Sans; font-size: 8pt; }"
    "window.pxr-dialog button, window.pxr-dialog entry, window.pxr-dialog dropdown > button,"
    "window.pxr-dialog combobox button { min-height: 0; min-width: 0; padding: 0 4px; }"
    "window.pxr-dialog entry { padding: 0 2px; }"
    "window.pxr-dialog checkbutton { min-height: 0; padding: 0; }"
    "window.pxr-dialog .pxr-updown button { padding: 0; font-size: 5pt; }"
    "window.pxr-dialog progressbar trough, window.pxr-dialog progressbar progress"
    " { min-height: 12px; }";

RECT PixelsOf(const SIZE& base, short x, short y, short cx, short cy) {
    // Dialog units: a quarter of the average character width, an eighth of
    // the character height (MapDialogRect).
    RECT r;
    r.left = x * base.cx / 4;
    r.top = y * base.cy / 8;
    r.right = (x + cx) * base.cx / 4;
    r.bottom = (y + cy) * base.cy / 8;
    return r;
}

// An up-down control with UDS_AUTOBUDDY and UDS_ALIGNRIGHT moves to the right
// edge of its buddy, which gives up that width, as Windows places them.
bool PlacedRect(const DialogWindow& dialog, const SIZE& base, int index, RECT* out) {
    const auto& items = dialog.Template().items;
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

SIZE MeasureBase(GtkWidget* widget, int pointSize) {
    PangoContext* context = gtk_widget_get_pango_context(widget);
    PangoFontDescription* font = pango_font_description_from_string("Sans");
    pango_font_description_set_size(font, (pointSize > 0 ? pointSize : 8) * PANGO_SCALE);
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", -1);
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    g_object_unref(layout);
    pango_font_description_free(font);
    // The average width as Windows rounds it: (cx / 26 + 1) / 2.
    return SIZE{std::max(1, (width / 26 + 1) / 2), std::max(1, height)};
}

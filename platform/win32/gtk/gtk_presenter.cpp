#include "win32/gtk_presenter.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "mfc/cdialog.h"
#include "win32/resources.h"
#include "win32/window.h"

namespace {

// Compact controls, so that a control fits the pixels its dialog units give.
const char kCss[] =
    "window.pxr-dialog, window.pxr-dialog * { font-family: Sans; font-size: 8pt; }"
    "window.pxr-dialog button, window.pxr-dialog entry, window.pxr-dialog dropdown > button,"
    "window.pxr-dialog combobox button { min-height: 0; min-width: 0; padding: 0 4px; }"
    "window.pxr-dialog entry { padding: 0 2px; }"
    "window.pxr-dialog checkbutton { min-height: 0; padding: 0; }"
    "window.pxr-dialog .pxr-updown button { padding: 0; font-size: 5pt; }"
    "window.pxr-dialog progressbar trough, window.pxr-dialog progressbar progress"
    " { min-height: 12px; }";

// "&Advance..." -> "_Advance...": Windows marks mnemonics with "&", GTK with "_".
std::string Mnemonic(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_') {
            out += "__";
        } else if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += '&';
                ++i;
            } else {
                out += '_';
            }
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string WithoutMnemonic(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] != '&' || (i + 1 < text.size() && text[i + 1] == '&')) out += text[i];
    return out;
}

// The static bitmap's picture: a DIB resource becomes a BMP file in memory.
GdkTexture* BitmapTexture(int id) {
    // The dialog's own module is the current resource module of the process.
    HMODULE module = AfxGetResourceHandle();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_BITMAP);
    if (!found) return nullptr;
    const auto* dib = static_cast<const guint8*>(LockResource(LoadResource(module, found)));
    const DWORD size = SizeofResource(module, found);
    if (!dib || size < 40) return nullptr;
    const guint32 headerSize =
        dib[0] | (dib[1] << 8) | (dib[2] << 16) | (static_cast<guint32>(dib[3]) << 24);
    const guint16 bits = static_cast<guint16>(dib[14] | (dib[15] << 8));
    const guint32 colours =
        dib[32] | (dib[33] << 8) | (dib[34] << 16) | (static_cast<guint32>(dib[35]) << 24);
    const guint32 palette = bits <= 8 ? (colours ? colours : (1u << bits)) * 4 : 0;
    if (headerSize > size) return nullptr;
    std::vector<guint8> file(14, 0);
    const guint32 total = 14 + size, offset = 14 + headerSize + palette;
    file[0] = 'B', file[1] = 'M';
    for (int i = 0; i < 4; ++i) file[2 + i] = static_cast<guint8>(total >> (8 * i));
    for (int i = 0; i < 4; ++i) file[10 + i] = static_cast<guint8>(offset >> (8 * i));
    file.insert(file.end(), dib, dib + size);
    GBytes* bytes = g_bytes_new(file.data(), file.size());
    GdkTexture* texture = gdk_texture_new_from_bytes(bytes, nullptr);
    g_bytes_unref(bytes);
    return texture;
}

}  // namespace

namespace {

struct ShownDialog;

struct ShownControl {
    ShownDialog* owner = nullptr;
    ControlWindow* control = nullptr;
    GtkWidget* widget = nullptr;     // placed in the fixed container
    GtkWidget* input = nullptr;      // what takes input (entry of a combo, text view)
    std::vector<std::string> items;  // what the list shows
};

struct ShownDialog {
    GtkPresenter::Impl* impl = nullptr;
    DialogWindow* dialog = nullptr;
    GtkWidget* window = nullptr;
    GtkWidget* fixed = nullptr;
    GMainLoop* loop = nullptr;
    std::vector<std::unique_ptr<ShownControl>> controls;
    SIZE base{6, 13};
    bool syncing = false;
    bool shownCalled = false;
    int focusShown = -2;
    guint timer = 0;
};

}  // namespace

struct GtkPresenter::Impl {
    GtkPresenter* self = nullptr;
    std::vector<ShownDialog*> stack;
    SIZE lastBase{6, 13};

    static void Sync(ShownDialog& s);
    static void AfterAction(ShownDialog& s);
};

namespace {

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

ShownControl* Find(ShownDialog& s, int id) {
    for (auto& c : s.controls)
        if (c->control->m_item.nId == id) return c.get();
    return nullptr;
}

void OnButtonClicked(GtkButton*, gpointer data) {
    auto* c = static_cast<ShownControl*>(data);
    if (c->owner->syncing) return;
    c->owner->dialog->UserClick(c->control->m_item.nId);
    GtkPresenter::Impl::AfterAction(*c->owner);
}

void OnToggled(GtkCheckButton* button, gpointer data) {
    auto* c = static_cast<ShownControl*>(data);
    if (c->owner->syncing) return;
    // A radio button reports both the one that goes off and the one that goes on.
    if (c->control->m_kind == ControlKind::RadioButton && !gtk_check_button_get_active(button))
        return;
    c->owner->dialog->UserClick(c->control->m_item.nId);
    GtkPresenter::Impl::AfterAction(*c->owner);
}

void OnEntryChanged(GtkEditable* editable, gpointer data) {
    auto* c = static_cast<ShownControl*>(data);
    if (c->owner->syncing) return;
    c->owner->dialog->UserType(c->control->m_item.nId, gtk_editable_get_text(editable));
    GtkPresenter::Impl::AfterAction(*c->owner);
}

void OnTextChanged(GtkTextBuffer* buffer, gpointer data) {
    auto* c = static_cast<ShownControl*>(data);
    if (c->owner->syncing) return;
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    char* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
    // The multi-line edit holds CR LF line ends, as on Windows.
    std::string windows;
    for (const char* p = text; *p; ++p) {
        if (*p == '\n') windows += '\r';
        windows += *p;
    }
    g_free(text);
    c->owner->dialog->UserType(c->control->m_item.nId, windows);
    GtkPresenter::Impl::AfterAction(*c->owner);
}

void OnDropDownSelected(GObject* object, GParamSpec*, gpointer data) {
    auto* c = static_cast<ShownControl*>(data);
    if (c->owner->syncing) return;
    const guint selected = gtk_drop_down_get_selected(GTK_DROP_DOWN(object));
    if (selected != GTK_INVALID_LIST_POSITION)
        c->owner->dialog->UserChoose(c->control->m_item.nId, static_cast<int>(selected));
    GtkPresenter::Impl::AfterAction(*c->owner);
}

void OnComboChanged(GtkComboBox* combo, gpointer data) {
    auto* c = static_cast<ShownControl*>(data);
    if (c->owner->syncing) return;
    const int active = gtk_combo_box_get_active(combo);
    if (active >= 0)
        c->owner->dialog->UserChoose(c->control->m_item.nId, active);
    else
        c->owner->dialog->UserType(c->control->m_item.nId,
                                   gtk_editable_get_text(GTK_EDITABLE(c->input)));
    GtkPresenter::Impl::AfterAction(*c->owner);
}

void OnSpinUp(GtkButton*, gpointer data) {
    auto* c = static_cast<ShownControl*>(data);
    c->owner->dialog->UserSpin(c->control->m_item.nId, 1);
    GtkPresenter::Impl::AfterAction(*c->owner);
}

void OnSpinDown(GtkButton*, gpointer data) {
    auto* c = static_cast<ShownControl*>(data);
    c->owner->dialog->UserSpin(c->control->m_item.nId, -1);
    GtkPresenter::Impl::AfterAction(*c->owner);
}

gboolean OnCloseRequest(GtkWindow*, gpointer data) {
    auto* s = static_cast<ShownDialog*>(data);
    s->dialog->UserClose();
    GtkPresenter::Impl::AfterAction(*s);
    return TRUE;  // the window goes when the dialog has ended
}

gboolean OnEscape(GtkWidget*, GVariant*, gpointer data) {
    OnCloseRequest(nullptr, data);
    return TRUE;
}

gboolean OnTimer(gpointer data) {
    auto* s = static_cast<ShownDialog*>(data);
    const std::vector<UINT_PTR> timers = s->dialog->m_timers;
    for (UINT_PTR id : timers) s->dialog->TimerTick(id);
    GtkPresenter::Impl::AfterAction(*s);
    return G_SOURCE_CONTINUE;
}

gboolean OnShownCheck(gpointer data) {
    auto* s = static_cast<ShownDialog*>(data);
    if (s->shownCalled) return G_SOURCE_REMOVE;
    if (!gtk_widget_get_mapped(s->window) || gtk_widget_get_width(s->fixed) <= 0)
        return G_SOURCE_CONTINUE;
    s->shownCalled = true;
    if (s->impl->self->onShown) s->impl->self->onShown(*s->dialog);
    GtkPresenter::Impl::AfterAction(*s);
    return G_SOURCE_REMOVE;
}

GtkWidget* MakeWidget(ShownDialog& s, ShownControl& c) {
    const DialogItemTemplate& item = c.control->m_item;
    const std::string text = item.strText;
    switch (c.control->m_kind) {
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton: {
            GtkWidget* b = gtk_button_new_with_mnemonic(Mnemonic(text).c_str());
            g_signal_connect(b, "clicked", G_CALLBACK(OnButtonClicked), &c);
            if (c.control->m_kind == ControlKind::DefaultPushButton)
                gtk_window_set_default_widget(GTK_WINDOW(s.window), b);
            return b;
        }
        case ControlKind::CheckBox:
        case ControlKind::RadioButton: {
            GtkWidget* b = gtk_check_button_new_with_mnemonic(Mnemonic(text).c_str());
            g_signal_connect(b, "toggled", G_CALLBACK(OnToggled), &c);
            if (c.control->m_kind == ControlKind::RadioButton) {
                const auto group = s.dialog->RadioGroupOf(c.control);
                if (!group.empty() && group.front() != c.control)
                    if (ShownControl* first = Find(s, group.front()->m_item.nId))
                        gtk_check_button_set_group(GTK_CHECK_BUTTON(b),
                                                   GTK_CHECK_BUTTON(first->widget));
            }
            return b;
        }
        case ControlKind::GroupBox: return gtk_frame_new(WithoutMnemonic(text).c_str());
        case ControlKind::Label: {
            GtkWidget* l = gtk_label_new_with_mnemonic(Mnemonic(text).c_str());
            gtk_label_set_xalign(GTK_LABEL(l), 0);
            gtk_widget_set_valign(l, GTK_ALIGN_START);
            return l;
        }
        case ControlKind::Bitmap: {
            GdkTexture* texture = BitmapTexture(item.nTextOrdinal);
            GtkWidget* p =
                texture ? gtk_picture_new_for_paintable(GDK_PAINTABLE(texture)) : gtk_picture_new();
            if (texture) g_object_unref(texture);
            return p;
        }
        case ControlKind::Edit: {
            if (item.dwStyle & ES_MULTILINE) {
                GtkWidget* view = gtk_text_view_new();
                gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_WORD_CHAR);
                g_signal_connect(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)), "changed",
                                 G_CALLBACK(OnTextChanged), &c);
                GtkWidget* scroll = gtk_scrolled_window_new();
                gtk_scrolled_window_set_child(GTK_SCROLLED_WINDOW(scroll), view);
                gtk_scrolled_window_set_has_frame(GTK_SCROLLED_WINDOW(scroll), TRUE);
                c.input = view;
                return scroll;
            }
            GtkWidget* e = gtk_entry_new();
            gtk_entry_set_activates_default(GTK_ENTRY(e), TRUE);
            gtk_editable_set_editable(GTK_EDITABLE(e), !(item.dwStyle & ES_READONLY));
            if (item.dwStyle & ES_NUMBER)
                gtk_entry_set_input_purpose(GTK_ENTRY(e), GTK_INPUT_PURPOSE_DIGITS);
            g_signal_connect(e, "changed", G_CALLBACK(OnEntryChanged), &c);
            c.input = e;
            return e;
        }
        case ControlKind::DropDownList: {
            GtkWidget* d = gtk_drop_down_new_from_strings(nullptr);
            g_signal_connect(d, "notify::selected", G_CALLBACK(OnDropDownSelected), &c);
            return d;
        }
        case ControlKind::DropDownCombo: {
            GtkWidget* combo = gtk_combo_box_text_new_with_entry();
            c.input = gtk_combo_box_get_child(GTK_COMBO_BOX(combo));
            gtk_entry_set_activates_default(GTK_ENTRY(c.input), TRUE);
            g_signal_connect(combo, "changed", G_CALLBACK(OnComboChanged), &c);
            return combo;
        }
        case ControlKind::UpDown: {
            GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
            gtk_widget_add_css_class(box, "pxr-updown");
            GtkWidget* up = gtk_button_new_with_label("\xE2\x96\xB4");
            GtkWidget* down = gtk_button_new_with_label("\xE2\x96\xBE");
            gtk_widget_set_vexpand(up, TRUE);
            gtk_widget_set_vexpand(down, TRUE);
            g_signal_connect(up, "clicked", G_CALLBACK(OnSpinUp), &c);
            g_signal_connect(down, "clicked", G_CALLBACK(OnSpinDown), &c);
            gtk_box_append(GTK_BOX(box), up);
            gtk_box_append(GTK_BOX(box), down);
            return box;
        }
        case ControlKind::Progress: return gtk_progress_bar_new();
        case ControlKind::Other: return gtk_label_new("");
    }
    return gtk_label_new("");
}

}  // namespace

void GtkPresenter::Impl::Sync(ShownDialog& s) {
    s.syncing = true;
    gtk_window_set_title(GTK_WINDOW(s.window), s.dialog->m_strCaption.c_str());
    for (auto& shown : s.controls) {
        ShownControl& c = *shown;
        ControlWindow& m = *c.control;
        gtk_widget_set_visible(c.widget, m.m_bVisible);
        gtk_widget_set_sensitive(c.widget, m.m_bEnabled);
        switch (m.m_kind) {
            case ControlKind::CheckBox:
            case ControlKind::RadioButton:
                gtk_check_button_set_active(GTK_CHECK_BUTTON(c.widget), m.m_nCheck == BST_CHECKED);
                break;
            case ControlKind::PushButton:
            case ControlKind::DefaultPushButton:
                gtk_button_set_label(GTK_BUTTON(c.widget), Mnemonic(m.m_strText).c_str());
                gtk_button_set_use_underline(GTK_BUTTON(c.widget), TRUE);
                break;
            case ControlKind::Label:
                gtk_label_set_text_with_mnemonic(GTK_LABEL(c.widget),
                                                 Mnemonic(m.m_strText).c_str());
                break;
            case ControlKind::Edit:
                if (GTK_IS_TEXT_VIEW(c.input)) {
                    std::string unix;
                    for (char ch : m.m_strText)
                        if (ch != '\r') unix += ch;
                    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(c.input));
                    GtkTextIter a, b;
                    gtk_text_buffer_get_bounds(buffer, &a, &b);
                    char* now = gtk_text_buffer_get_text(buffer, &a, &b, FALSE);
                    if (unix != now) gtk_text_buffer_set_text(buffer, unix.c_str(), -1);
                    g_free(now);
                } else if (m.m_strText != gtk_editable_get_text(GTK_EDITABLE(c.input))) {
                    gtk_editable_set_text(GTK_EDITABLE(c.input), m.m_strText.c_str());
                }
                break;
            case ControlKind::DropDownList: {
                std::vector<std::string> items;
                for (const auto& i : m.m_items) items.push_back(i.strText);
                if (items != c.items) {
                    std::vector<const char*> strings;
                    for (const auto& i : items) strings.push_back(i.c_str());
                    strings.push_back(nullptr);
                    GtkStringList* list = gtk_string_list_new(strings.data());
                    gtk_drop_down_set_model(GTK_DROP_DOWN(c.widget), G_LIST_MODEL(list));
                    g_object_unref(list);
                    c.items = items;
                }
                gtk_drop_down_set_selected(
                    GTK_DROP_DOWN(c.widget),
                    m.m_nCurSel >= 0 ? static_cast<guint>(m.m_nCurSel) : GTK_INVALID_LIST_POSITION);
                break;
            }
            case ControlKind::DropDownCombo: {
                std::vector<std::string> items;
                for (const auto& i : m.m_items) items.push_back(i.strText);
                if (items != c.items) {
                    gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(c.widget));
                    for (const auto& i : items)
                        gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(c.widget), i.c_str());
                    c.items = items;
                }
                if (gtk_combo_box_get_active(GTK_COMBO_BOX(c.widget)) != m.m_nCurSel)
                    gtk_combo_box_set_active(GTK_COMBO_BOX(c.widget), m.m_nCurSel);
                if (m.m_strText != gtk_editable_get_text(GTK_EDITABLE(c.input)))
                    gtk_editable_set_text(GTK_EDITABLE(c.input), m.m_strText.c_str());
                break;
            }
            case ControlKind::Progress: {
                const int range = m.m_nUpper - m.m_nLower;
                gtk_progress_bar_set_fraction(
                    GTK_PROGRESS_BAR(c.widget),
                    range > 0
                        ? std::clamp(static_cast<double>(m.m_nPos - m.m_nLower) / range, 0.0, 1.0)
                        : 0.0);
                break;
            }
            default: break;
        }
    }
    // Focus moves where the dialog put it (a refused value, an opened dialog).
    if (s.dialog->m_nFocusId != s.focusShown) {
        s.focusShown = s.dialog->m_nFocusId;
        if (ShownControl* c = Find(s, s.focusShown)) {
            GtkWidget* target = c->input ? c->input : c->widget;
            gtk_widget_grab_focus(target);
            if (GTK_IS_EDITABLE(target) && c->control->m_nSelEnd == -1)
                gtk_editable_select_region(GTK_EDITABLE(target), 0, -1);
        }
    }
    s.syncing = false;
}

void GtkPresenter::Impl::AfterAction(ShownDialog& s) {
    if (!s.dialog->m_bEnded) {
        Sync(s);
        return;
    }
    if (s.loop && g_main_loop_is_running(s.loop)) g_main_loop_quit(s.loop);
}

GtkPresenter::GtkPresenter() : m_impl(std::make_unique<Impl>()) {
    m_impl->self = this;
}

GtkPresenter::~GtkPresenter() = default;

std::unique_ptr<GtkPresenter> GtkPresenter::Create() {
    if (!gtk_init_check()) return nullptr;
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, kCss, -1);
    gtk_style_context_add_provider_for_display(gdk_display_get_default(), GTK_STYLE_PROVIDER(css),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
    return std::unique_ptr<GtkPresenter>(new GtkPresenter());
}

std::unique_ptr<UiPresenter> MakeGtkPresenter() {
    return GtkPresenter::Create();
}

void GtkPresenter::RunDialog(DialogWindow& dialog) {
    ShownDialog s;
    s.impl = m_impl.get();
    s.dialog = &dialog;
    s.window = gtk_window_new();
    gtk_widget_add_css_class(s.window, "pxr-dialog");
    gtk_window_set_modal(GTK_WINDOW(s.window), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(s.window), FALSE);
    if (!m_impl->stack.empty())
        gtk_window_set_transient_for(GTK_WINDOW(s.window),
                                     GTK_WINDOW(m_impl->stack.back()->window));
    s.fixed = gtk_fixed_new();
    gtk_window_set_child(GTK_WINDOW(s.window), s.fixed);
    s.base = MeasureBase(s.window, dialog.Template().wPointSize);
    m_impl->lastBase = s.base;
    const RECT client = PixelsOf(s.base, 0, 0, dialog.Template().cx, dialog.Template().cy);
    gtk_widget_set_size_request(s.fixed, client.right, client.bottom);

    // Template order is the tab order, and group boxes come before what they hold.
    const auto& controls = dialog.Controls();
    for (size_t i = 0; i < controls.size(); ++i) {
        auto shown = std::make_unique<ShownControl>();
        shown->owner = &s;
        shown->control = controls[i].get();
        s.controls.push_back(std::move(shown));
        ShownControl& c = *s.controls.back();
        c.widget = MakeWidget(s, c);
        RECT r;
        PlacedRect(dialog, s.base, static_cast<int>(i), &r);
        gtk_widget_set_size_request(c.widget, r.right - r.left, r.bottom - r.top);
        gtk_fixed_put(GTK_FIXED(s.fixed), c.widget, r.left, r.top);
    }
    // A label's mnemonic goes to the control after it, as in Windows dialogs.
    for (size_t i = 0; i + 1 < s.controls.size(); ++i)
        if (s.controls[i]->control->m_kind == ControlKind::Label) {
            ShownControl& next = *s.controls[i + 1];
            gtk_label_set_mnemonic_widget(GTK_LABEL(s.controls[i]->widget),
                                          next.input ? next.input : next.widget);
        }

    GtkEventController* keys = gtk_shortcut_controller_new();
    gtk_shortcut_controller_add_shortcut(
        GTK_SHORTCUT_CONTROLLER(keys),
        gtk_shortcut_new(gtk_keyval_trigger_new(GDK_KEY_Escape, static_cast<GdkModifierType>(0)),
                         gtk_callback_action_new(OnEscape, &s, nullptr)));
    gtk_widget_add_controller(s.window, keys);
    g_signal_connect(s.window, "close-request", G_CALLBACK(OnCloseRequest), &s);

    m_impl->stack.push_back(&s);
    Impl::Sync(s);
    s.loop = g_main_loop_new(nullptr, FALSE);
    s.timer = g_timeout_add(100, OnTimer, &s);
    const guint shownCheck = g_timeout_add(20, OnShownCheck, &s);
    gtk_window_present(GTK_WINDOW(s.window));
    if (!dialog.m_bEnded) g_main_loop_run(s.loop);
    g_source_remove(s.timer);
    if (!s.shownCalled) g_source_remove(shownCheck);
    m_impl->stack.pop_back();
    g_signal_handlers_disconnect_by_data(s.window, &s);
    gtk_window_destroy(GTK_WINDOW(s.window));
    g_main_loop_unref(s.loop);
    // Let the window go before the caller carries on.
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
}

namespace {

struct MessageRun {
    GMainLoop* loop = nullptr;
    int answer = IDCANCEL;
    std::function<void()> hook;
};

gboolean OnMessageShown(gpointer data) {
    auto* run = static_cast<MessageRun*>(data);
    if (run->hook) run->hook();
    return G_SOURCE_REMOVE;
}

void OnMessageButton(GtkButton* button, gpointer data) {
    auto* run = static_cast<MessageRun*>(data);
    run->answer = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), "pxr-answer"));
    g_main_loop_quit(run->loop);
}

gboolean OnMessageClose(GtkWindow*, gpointer data) {
    g_main_loop_quit(static_cast<MessageRun*>(data)->loop);
    return TRUE;
}

}  // namespace

int GtkPresenter::ShowMessageBox(HWND, const std::string& text, const std::string& caption,
                                 UINT type) {
    MessageRun run;
    GtkWidget* window = gtk_window_new();
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_title(GTK_WINDOW(window), caption.c_str());
    if (!m_impl->stack.empty())
        gtk_window_set_transient_for(GTK_WINDOW(window), GTK_WINDOW(m_impl->stack.back()->window));
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
    gtk_widget_set_margin_start(box, 16), gtk_widget_set_margin_end(box, 16);
    gtk_widget_set_margin_top(box, 16), gtk_widget_set_margin_bottom(box, 12);
    GtkWidget* label = gtk_label_new(text.c_str());
    gtk_label_set_wrap(GTK_LABEL(label), TRUE);
    gtk_box_append(GTK_BOX(box), label);
    GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
    gtk_widget_set_halign(buttons, GTK_ALIGN_CENTER);
    std::vector<std::pair<const char*, int>> answers = {{"OK", IDOK}};
    if ((type & 0xF) == MB_OKCANCEL) answers = {{"OK", IDOK}, {"Cancel", IDCANCEL}};
    if ((type & 0xF) == MB_YESNO) answers = {{"_Yes", IDYES}, {"_No", IDNO}};
    for (size_t i = 0; i < answers.size(); ++i) {
        GtkWidget* b = gtk_button_new_with_mnemonic(answers[i].first);
        g_object_set_data(G_OBJECT(b), "pxr-answer", GINT_TO_POINTER(answers[i].second));
        g_signal_connect(b, "clicked", G_CALLBACK(OnMessageButton), &run);
        gtk_box_append(GTK_BOX(buttons), b);
        if (i == 0) gtk_window_set_default_widget(GTK_WINDOW(window), b);
    }
    gtk_box_append(GTK_BOX(box), buttons);
    gtk_window_set_child(GTK_WINDOW(window), box);
    g_signal_connect(window, "close-request", G_CALLBACK(OnMessageClose), &run);
    run.loop = g_main_loop_new(nullptr, FALSE);
    gtk_window_present(GTK_WINDOW(window));
    if (onMessage) {
        run.hook = [this, text, &run] {
            run.answer = onMessage(text);
            g_main_loop_quit(run.loop);
        };
        g_timeout_add(20, OnMessageShown, &run);
    }
    g_main_loop_run(run.loop);
    g_main_loop_unref(run.loop);
    gtk_window_destroy(GTK_WINDOW(window));
    return run.answer;
}

namespace {

struct SaveRun {
    GMainLoop* loop = nullptr;
    std::string path;
};

void OnSaveResponse(GtkNativeDialog* dialog, int response, gpointer data) {
    auto* run = static_cast<SaveRun*>(data);
    if (response == GTK_RESPONSE_ACCEPT) {
        GFile* file = gtk_file_chooser_get_file(GTK_FILE_CHOOSER(dialog));
        if (file) {
            char* path = g_file_get_path(file);
            if (path) run->path = path;
            g_free(path);
            g_object_unref(file);
        }
    }
    g_main_loop_quit(run->loop);
}

}  // namespace

bool GtkPresenter::ShowSaveDialog(const SaveFileRequest& request, std::string* pPath) {
    SaveRun run;
    GtkWindow* parent = m_impl->stack.empty() ? nullptr : GTK_WINDOW(m_impl->stack.back()->window);
    GtkFileChooserNative* chooser = gtk_file_chooser_native_new(
        "Save plot as", parent, GTK_FILE_CHOOSER_ACTION_SAVE, "_Save", "_Cancel");
    gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(chooser), request.strInitialName.c_str());
    g_signal_connect(chooser, "response", G_CALLBACK(OnSaveResponse), &run);
    run.loop = g_main_loop_new(nullptr, FALSE);
    gtk_native_dialog_show(GTK_NATIVE_DIALOG(chooser));
    g_main_loop_run(run.loop);
    g_main_loop_unref(run.loop);
    g_object_unref(chooser);
    if (run.path.empty()) return false;
    *pPath = run.path;
    return true;
}

SIZE GtkPresenter::BaseUnits() const {
    return m_impl->lastBase;
}

bool GtkPresenter::TemplateRect(const DialogWindow& dialog, int nId, RECT* pRect) const {
    const auto& items = dialog.Template().items;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].nId == nId)
            return PlacedRect(dialog, m_impl->lastBase, static_cast<int>(i), pRect);
    return false;
}

bool GtkPresenter::WidgetRect(int nId, RECT* pRect) const {
    if (m_impl->stack.empty()) return false;
    ShownDialog& s = *m_impl->stack.back();
    ShownControl* c = Find(s, nId);
    if (!c) return false;
    graphene_rect_t bounds;
    if (!gtk_widget_compute_bounds(c->widget, s.fixed, &bounds)) return false;
    pRect->left = static_cast<LONG>(bounds.origin.x + 0.5f);
    pRect->top = static_cast<LONG>(bounds.origin.y + 0.5f);
    pRect->right = static_cast<LONG>(bounds.origin.x + bounds.size.width + 0.5f);
    pRect->bottom = static_cast<LONG>(bounds.origin.y + bounds.size.height + 0.5f);
    return true;
}

bool GtkPresenter::ClickWidget(int nId) {
    if (m_impl->stack.empty()) return false;
    ShownControl* c = Find(*m_impl->stack.back(), nId);
    if (!c || !gtk_widget_is_sensitive(c->widget) || !gtk_widget_get_visible(c->widget))
        return false;
    if (GTK_IS_BUTTON(c->widget)) {
        g_signal_emit_by_name(c->widget, "clicked");
        return true;
    }
    if (GTK_IS_CHECK_BUTTON(c->widget)) {
        GtkCheckButton* b = GTK_CHECK_BUTTON(c->widget);
        gtk_check_button_set_active(b, c->control->m_kind == ControlKind::RadioButton
                                           ? TRUE
                                           : !gtk_check_button_get_active(b));
        return true;
    }
    return false;
}

bool GtkPresenter::TypeIntoWidget(int nId, const std::string& text) {
    if (m_impl->stack.empty()) return false;
    ShownControl* c = Find(*m_impl->stack.back(), nId);
    if (!c || !c->input || !gtk_widget_is_sensitive(c->widget)) return false;
    if (GTK_IS_TEXT_VIEW(c->input)) {
        gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(c->input)), text.c_str(),
                                 -1);
        return true;
    }
    if (!gtk_editable_get_editable(GTK_EDITABLE(c->input))) return false;
    gtk_editable_set_text(GTK_EDITABLE(c->input), text.c_str());
    return true;
}

namespace {

int IdOfWidget(ShownDialog& s, GtkWidget* widget) {
    if (!widget) return -1;
    for (auto& c : s.controls)
        if (widget == c->widget || gtk_widget_is_ancestor(widget, c->widget))
            return c->control->m_item.nId;
    return -1;
}

}  // namespace

int GtkPresenter::FocusedId() const {
    if (m_impl->stack.empty()) return -1;
    ShownDialog& s = *m_impl->stack.back();
    return IdOfWidget(s, gtk_root_get_focus(GTK_ROOT(s.window)));
}

int GtkPresenter::DefaultButtonId() const {
    if (m_impl->stack.empty()) return -1;
    ShownDialog& s = *m_impl->stack.back();
    return IdOfWidget(s, gtk_window_get_default_widget(GTK_WINDOW(s.window)));
}

bool GtkPresenter::SaveSnapshot(const std::string& pngPath) const {
    if (m_impl->stack.empty()) return false;
    GtkWidget* window = m_impl->stack.back()->window;
    GdkPaintable* paintable = gtk_widget_paintable_new(window);
    const int width = gtk_widget_get_width(window), height = gtk_widget_get_height(window);
    GtkSnapshot* snapshot = gtk_snapshot_new();
    gdk_paintable_snapshot(paintable, GDK_SNAPSHOT(snapshot), width, height);
    GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
    bool saved = false;
    if (node) {
        GskRenderer* renderer = gtk_native_get_renderer(GTK_NATIVE(window));
        const graphene_rect_t viewport =
            GRAPHENE_RECT_INIT(0, 0, static_cast<float>(width), static_cast<float>(height));
        GdkTexture* texture = gsk_renderer_render_texture(renderer, node, &viewport);
        if (texture) {
            saved = gdk_texture_save_to_png(texture, pngPath.c_str());
            g_object_unref(texture);
        }
        gsk_render_node_unref(node);
    }
    g_object_unref(paintable);
    return saved;
}

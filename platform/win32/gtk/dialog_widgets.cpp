#include <algorithm>
#include <vector>

#include "gtk/shown_dialog.h"
#include "mfc/cdialog.h"
#include "win32/kernel32/resources.h"
#include "win32/user32/window.h"

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

namespace {

// The static bitmap's picture: a DIB resource becomes a BMP file in memory.
GdkTexture* BitmapTexture(HMODULE dialogModule, int id) {
    // The bitmaps come from the dialog's own module.
    HMODULE module = dialogModule ? dialogModule : AfxGetResourceHandle();
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

ShownControl* FindShown(ShownDialog& s, int id) {
    for (auto& c : s.controls)
        if (c->control->m_item.nId == id) return c.get();
    return nullptr;
}

void OnButtonClicked(GtkButton*, gpointer data) {
    auto* c = static_cast<ShownControl*>(data);
    if (c->owner->syncing) return;
    c->owner->dialog->UserClick(c->control->m_item.nId);
    AfterUserAction(*c->owner);
}

void OnToggled(GtkCheckButton* button, gpointer data) {
    auto* c = static_cast<ShownControl*>(data);
    if (c->owner->syncing) return;
    // A radio button reports both the one that goes off and the one that goes on.
    if (c->control->m_kind == ControlKind::RadioButton && !gtk_check_button_get_active(button))
        return;
    c->owner->dialog->UserClick(c->control->m_item.nId);
    AfterUserAction(*c->owner);
}

void OnEntryChanged(GtkEditable* editable, gpointer data) {
    auto* c = static_cast<ShownControl*>(data);
    if (c->owner->syncing) return;
    c->owner->dialog->UserType(c->control->m_item.nId, gtk_editable_get_text(editable));
    AfterUserAction(*c->owner);
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
    AfterUserAction(*c->owner);
}

void OnDropDownSelected(GObject* object, GParamSpec*, gpointer data) {
    auto* c = static_cast<ShownControl*>(data);
    if (c->owner->syncing) return;
    const guint selected = gtk_drop_down_get_selected(GTK_DROP_DOWN(object));
    if (selected != GTK_INVALID_LIST_POSITION)
        c->owner->dialog->UserChoose(c->control->m_item.nId, static_cast<int>(selected));
    AfterUserAction(*c->owner);
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
    AfterUserAction(*c->owner);
}

void OnSpinUp(GtkButton*, gpointer data) {
    auto* c = static_cast<ShownControl*>(data);
    c->owner->dialog->UserSpin(c->control->m_item.nId, 1);
    AfterUserAction(*c->owner);
}

void OnSpinDown(GtkButton*, gpointer data) {
    auto* c = static_cast<ShownControl*>(data);
    c->owner->dialog->UserSpin(c->control->m_item.nId, -1);
    AfterUserAction(*c->owner);
}

gboolean OnCloseRequest(GtkWindow*, gpointer data) {
    auto* s = static_cast<ShownDialog*>(data);
    s->dialog->UserClose();
    AfterUserAction(*s);
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
    AfterUserAction(*s);
    return G_SOURCE_CONTINUE;
}

gboolean OnShownCheck(gpointer data) {
    auto* s = static_cast<ShownDialog*>(data);
    if (s->shownCalled) return G_SOURCE_REMOVE;
    if (!gtk_widget_get_mapped(s->window) || gtk_widget_get_width(s->fixed) <= 0)
        return G_SOURCE_CONTINUE;
    s->shownCalled = true;
    if (s->impl->self->onShown) s->impl->self->onShown(*s->dialog);
    AfterUserAction(*s);
    return G_SOURCE_REMOVE;
}

GtkWidget* MakeControlWidget(ShownDialog& s, ShownControl& c) {
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
                    if (ShownControl* first = FindShown(s, group.front()->m_item.nId))
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
            GdkTexture* texture = BitmapTexture(s.dialog->m_hModule, item.nTextOrdinal);
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
            gtk_editable_set_editable(GTK_EDITABLE(e), !c.control->IsReadOnly());
            if (c.control->IsReadOnly()) gtk_widget_add_css_class(e, "pxr-readonly");
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
            GtkWidget* up = gtk_button_new_from_icon_name("pan-up-symbolic");
            GtkWidget* down = gtk_button_new_from_icon_name("pan-down-symbolic");
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

void SyncDialog(ShownDialog& s) {
    s.syncing = true;
    gtk_window_set_title(GTK_WINDOW(s.window), s.dialog->m_strCaption.c_str());
    // A hidden dialog runs on, on its timers, off the screen.
    gtk_widget_set_visible(s.window, !s.dialog->m_bHidden);
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
        if (ShownControl* c = FindShown(s, s.focusShown)) {
            GtkWidget* target = c->input ? c->input : c->widget;
            gtk_widget_grab_focus(target);
            if (GTK_IS_EDITABLE(target) && c->control->m_nSelEnd == -1)
                gtk_editable_select_region(GTK_EDITABLE(target), 0, -1);
        }
    }
    s.syncing = false;
}

void AfterUserAction(ShownDialog& s) {
    if (!s.dialog->m_bEnded) {
        SyncDialog(s);
        return;
    }
    if (s.loop && g_main_loop_is_running(s.loop)) g_main_loop_quit(s.loop);
}
#include "win32/gtk/gtk_presenter.h"

#include <algorithm>

#include "gtk/shown_dialog.h"

GtkPresenter::GtkPresenter() : m_impl(std::make_unique<Impl>()) {
    m_impl->self = this;
}

GtkPresenter::~GtkPresenter() = default;

std::unique_ptr<GtkPresenter> GtkPresenter::Create() {
    if (!gtk_init_check()) return nullptr;
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, kDialogCss, -1);
    gtk_style_context_add_provider_for_display(gdk_display_get_default(), GTK_STYLE_PROVIDER(css),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
    return std::unique_ptr<GtkPresenter>(new GtkPresenter());
}

std::unique_ptr<UiPresenter> MakeGtkPresenter() {
    return GtkPresenter::Create();
}

namespace {

// A CSS class styled by rules in which "@" stands for the class: one style
// sheet per set of rules, made the first time a widget needs it.
std::string StyleClass(GtkPresenter::Impl& impl, const std::string& rules) {
    for (const auto& [known, name] : impl.styleClasses)
        if (known == rules) return name;
    const std::string name = "pxr-style-" + std::to_string(impl.styleClasses.size());
    std::string css;
    for (char c : rules) css += c == '@' ? name : std::string(1, c);
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css.c_str(), -1);
    gtk_style_context_add_provider_for_display(gdk_display_get_default(),
                                               GTK_STYLE_PROVIDER(provider),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
    impl.styleClasses.emplace_back(rules, name);
    return name;
}

// The dialog font, for the window and everything in it.
std::string FontClass(GtkPresenter::Impl& impl, const DialogFont& font) {
    return StyleClass(impl, "window.@, window.@ * { font-family: \"" + font.family +
                                "\"; font-size: " + std::to_string(font.pixels) + "px; }");
}

// A progress bar fills its whole rectangle, as on Windows (GTK draws a
// thin bar at the top of it).
std::string BarClass(GtkPresenter::Impl& impl, LONG height) {
    return StyleClass(impl,
                      "progressbar.@ > trough, progressbar.@ > trough > progress"
                      " { min-height: " +
                          std::to_string(std::max<LONG>(1, height - 2)) + "px; }");
}

}  // namespace

bool GtkPresenter::OnGtkThread() const {
    return std::this_thread::get_id() == m_impl->gtkThread;
}

void GtkPresenter::RunDialog(DialogWindow& dialog) {
    // GTK may only be touched from its own thread, and handing the dialog
    // over to it could deadlock when that thread waits for this one (a host
    // waiting for its page's render thread). A dialog of another thread
    // returns at once: CDialog runs it on unseen, on its timers, or closes
    // it as Cancel.
    if (!OnGtkThread()) return;
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
    s.font = DialogFontOf(dialog.Template());
    gtk_widget_add_css_class(s.window, FontClass(*m_impl, s.font).c_str());
    s.base = MeasureBase(s.window, s.font);
    m_impl->lastBase = s.base;
    const RECT client = PixelsOf(s.base, 0, 0, dialog.Template().cx, dialog.Template().cy);
    gtk_widget_set_size_request(s.fixed, client.right, client.bottom);
    // The window is as large as the template says, not as large as GTK's
    // natural sizes of the widgets would make it (an entry asks for more).
    gtk_window_set_default_size(GTK_WINDOW(s.window), client.right, client.bottom);

    // Template order is the tab order, and group boxes come before what they hold.
    const auto& controls = dialog.Controls();
    for (size_t i = 0; i < controls.size(); ++i) {
        auto shown = std::make_unique<ShownControl>();
        shown->owner = &s;
        shown->control = controls[i].get();
        s.controls.push_back(std::move(shown));
        ShownControl& c = *s.controls.back();
        c.widget = MakeControlWidget(s, c);
        RECT r;
        PlacedRect(dialog, s.base, static_cast<int>(i), &r);
        gtk_widget_set_size_request(c.widget, r.right - r.left, r.bottom - r.top);
        if (c.control->m_kind == ControlKind::Progress)
            gtk_widget_add_css_class(c.widget, BarClass(*m_impl, r.bottom - r.top).c_str());
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
    SyncDialog(s);
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

SIZE GtkPresenter::BaseUnits() const {
    return m_impl->lastBase;
}

bool GtkPresenter::ItemRect(const DialogWindow& dialog, size_t index, RECT* pRect) const {
    return PlacedRect(dialog, m_impl->lastBase, static_cast<int>(index), pRect);
}

bool GtkPresenter::TextExtent(const std::string& text, int nWrapWidth, SIZE* pSize) const {
    if (m_impl->stack.empty()) return false;
    const ShownDialog& s = *m_impl->stack.back();
    *pSize = MeasureText(s.window, s.font, WithoutMnemonic(text), nWrapWidth);
    return true;
}

bool GtkPresenter::TemplateRect(const DialogWindow& dialog, int nId, RECT* pRect) const {
    const auto& items = dialog.Template().items;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].nId == nId)
            return PlacedRect(dialog, m_impl->lastBase, static_cast<int>(i), pRect);
    return false;
}

namespace {

bool BoundsOf(const ShownDialog& s, const ShownControl* c, RECT* pRect) {
    if (!c) return false;
    graphene_rect_t bounds;
    if (!gtk_widget_compute_bounds(c->widget, s.fixed, &bounds)) return false;
    pRect->left = static_cast<LONG>(bounds.origin.x + 0.5f);
    pRect->top = static_cast<LONG>(bounds.origin.y + 0.5f);
    pRect->right = static_cast<LONG>(bounds.origin.x + bounds.size.width + 0.5f);
    pRect->bottom = static_cast<LONG>(bounds.origin.y + bounds.size.height + 0.5f);
    return true;
}

}  // namespace

bool GtkPresenter::WidgetRect(int nId, RECT* pRect) const {
    if (m_impl->stack.empty()) return false;
    ShownDialog& s = *m_impl->stack.back();
    return BoundsOf(s, FindShown(s, nId), pRect);
}

bool GtkPresenter::ItemWidgetRect(size_t index, RECT* pRect) const {
    if (m_impl->stack.empty()) return false;
    const ShownDialog& s = *m_impl->stack.back();
    return index < s.controls.size() && BoundsOf(s, s.controls[index].get(), pRect);
}

bool GtkPresenter::ClickWidget(int nId) {
    if (m_impl->stack.empty()) return false;
    ShownControl* c = FindShown(*m_impl->stack.back(), nId);
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
    ShownControl* c = FindShown(*m_impl->stack.back(), nId);
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
    // One frame drawn first, so that what GTK lays out lazily (the scroll
    // position of an entry's text) is as the user sees it.
    if (GdkFrameClock* clock = gtk_widget_get_frame_clock(window)) {
        const gint64 drawn = gdk_frame_clock_get_frame_counter(clock);
        gtk_widget_queue_draw(window);
        for (int i = 0; i < 50 && gdk_frame_clock_get_frame_counter(clock) == drawn; ++i)
            g_main_context_iteration(nullptr, TRUE);
    }
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

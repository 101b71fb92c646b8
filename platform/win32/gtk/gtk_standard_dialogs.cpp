#include <functional>
#include <utility>
#include <vector>

#include "gtk/shown_dialog.h"
#include "mfc/ddx.h"
#include "mfc/resources/afx_ids.h"

namespace {

// The buttons of a message box type, labelled as Windows labels them in the
// user's language ("是(&Y)"), with the answer each gives.
std::vector<std::pair<std::string, int>> MessageButtons(UINT type) {
    const auto button = [](UINT textId, const char* english, int answer) {
        std::string text = AfxFrameworkString(textId);
        return std::make_pair(text.empty() ? std::string(english) : text, answer);
    };
    const auto ok = button(IDS_MB_OK, "OK", IDOK);
    const auto cancel = button(IDS_MB_CANCEL, "Cancel", IDCANCEL);
    const auto yes = button(IDS_MB_YES, "&Yes", IDYES);
    const auto no = button(IDS_MB_NO, "&No", IDNO);
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return {ok, cancel};
        case MB_YESNO: return {yes, no};
        case MB_YESNOCANCEL: return {yes, no, cancel};
        default: return {ok};
    }
}

// The icon a message box type asks for; null for none.
const char* MessageIcon(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONSTOP: return "dialog-error";
        case MB_ICONQUESTION: return "dialog-question";
        case MB_ICONEXCLAMATION: return "dialog-warning";
        case MB_ICONINFORMATION: return "dialog-information";
        default: return nullptr;
    }
}

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
    // Off GTK's thread a message box is told on standard error and answered
    // as a terminal answers it (see RunDialog).
    if (!OnGtkThread()) return TerminalPresenter().ShowMessageBox(nullptr, text, caption, type);
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
    GtkWidget* message = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
    ShownMessage shown{text, caption, "", {}};
    if (const char* icon = MessageIcon(type)) {
        GtkWidget* image = gtk_image_new_from_icon_name(icon);
        gtk_image_set_pixel_size(GTK_IMAGE(image), 32);
        gtk_widget_set_valign(image, GTK_ALIGN_START);
        gtk_box_append(GTK_BOX(message), image);
        shown.icon = icon;
    }
    GtkWidget* label = gtk_label_new(text.c_str());
    gtk_label_set_wrap(GTK_LABEL(label), TRUE);
    gtk_box_append(GTK_BOX(message), label);
    gtk_box_append(GTK_BOX(box), message);
    GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
    gtk_widget_set_halign(buttons, GTK_ALIGN_CENTER);
    const auto answers = MessageButtons(type);
    for (size_t i = 0; i < answers.size(); ++i) {
        shown.buttons.push_back(answers[i].first);
        GtkWidget* b = gtk_button_new_with_mnemonic(Mnemonic(answers[i].first).c_str());
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
        run.hook = [this, shown, &run] {
            run.answer = onMessage(shown);
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
    // Off GTK's thread there is nobody to ask: cancelled.
    if (!OnGtkThread()) return false;
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

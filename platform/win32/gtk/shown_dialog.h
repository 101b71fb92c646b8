// What the GTK presenter keeps of a dialog on screen: its window, the
// widget of each control, and the functions shared by its source files.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "win32/gtk/gtk_presenter.h"

struct ShownDialog;

// The face a dialog's text is drawn with here, standing in for the one
// Windows would use, and its height in pixels (the em, without leading).
struct DialogFont {
    std::string family;
    int pixels = 11;
};

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
    DialogFont font;
    SIZE base{6, 13};
    bool syncing = false;
    bool shownCalled = false;
    int focusShown = -2;
    guint timer = 0;
};

struct GtkPresenter::Impl {
    GtkPresenter* self = nullptr;
    std::vector<ShownDialog*> stack;
    SIZE lastBase{6, 13};
    // The CSS classes made for the dialogs (fonts, bar heights), by their rules.
    std::vector<std::pair<std::string, std::string>> styleClasses;
    // GTK runs on the thread that opened the display, and only there.
    std::thread::id gtkThread = std::this_thread::get_id();
};

// The font of a dialog template as Windows picks it ("MS Shell Dlg" is the
// face of the user's language), and a face installed here for it.
DialogFont DialogFontOf(const DialogTemplate& dialogTemplate);
PangoFontDescription* NewFontDescription(const DialogFont& font);
// Dialog units to pixels of the client area, as Windows places a control.
RECT PixelsOf(const SIZE& base, short x, short y, short cx, short cy);
// Where control number index of the template goes, as Windows places it.
bool PlacedRect(const DialogWindow& dialog, const SIZE& base, int index, RECT* out);
// The dialog font's average character width and height in pixels, as
// Windows computes them for the dialog's base units.
SIZE MeasureBase(GtkWidget* widget, const DialogFont& font);
// The pixel size of a text in the dialog font, wrapped at wrapWidth
// pixels when that is above 0.
SIZE MeasureText(GtkWidget* widget, const DialogFont& font, const std::string& text, int wrapWidth);

// "&Advance..." -> "_Advance...": Windows marks mnemonics with "&", GTK with "_".
std::string Mnemonic(const std::string& text);
// "&Advance..." -> "Advance...": the text as drawn.
std::string WithoutMnemonic(const std::string& text);
ShownControl* FindShown(ShownDialog& s, int id);
// The widget of a control, wired to the dialog's user actions.
GtkWidget* MakeControlWidget(ShownDialog& s, ShownControl& c);
// Shows the state of every control (text, checks, lists, enabled, visible, focus).
void SyncDialog(ShownDialog& s);
// After a user action: shows the new state, or ends the window's loop.
void AfterUserAction(ShownDialog& s);
// Close box and Escape: the dialog's Cancel.
gboolean OnCloseRequest(GtkWindow*, gpointer data);
gboolean OnEscape(GtkWidget*, GVariant*, gpointer data);
gboolean OnTimer(gpointer data);
gboolean OnShownCheck(gpointer data);

extern const char kDialogCss[];

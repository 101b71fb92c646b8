// A presenter that shows dialogs, message boxes and the save dialog as GTK 4
// windows on a Linux desktop: each control where its template puts it, in
// the dialog's language, with keyboard focus, mnemonics and the default
// button as Windows users know them. Built only where GTK 4 is installed.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win32/user32/dialog_window.h"
#include "win32/user32/ui_presenter.h"

class WIN32_API GtkPresenter : public UiPresenter {
public:
    // Null when GTK cannot open a display.
    static std::unique_ptr<GtkPresenter> Create();
    ~GtkPresenter() override;

    int ShowMessageBox(HWND hOwner, const std::string& text, const std::string& caption,
                       UINT type) override;
    bool ShowSaveDialog(const SaveFileRequest& request, std::string* pPath) override;
    // Called from a thread other than the one that created the presenter
    // (GTK's), a dialog is not shown: RunDialog returns at once, so that
    // CDialog runs it unseen on its timers (or closes it as Cancel); a
    // message box is written to standard error as TerminalPresenter does,
    // and the save dialog is cancelled.
    void RunDialog(DialogWindow& dialog) override;

    // Called once a dialog is on screen and laid out, for tests and
    // automation; the dialog runs on when it returns.
    std::function<void(DialogWindow&)> onShown;

    // What a message box shows: its text and caption, the name of its icon
    // ("dialog-warning"; empty for none) and its buttons' labels as Windows
    // writes them ("&Yes").
    struct ShownMessage {
        std::string text;
        std::string caption;
        std::string icon;
        std::vector<std::string> buttons;
    };
    // Called once a message box is on screen; the box ends with the answer
    // returned (IDOK, IDCANCEL, ...), as if clicked.
    std::function<int(const ShownMessage&)> onMessage;

    // The pixel size of one horizontal and one vertical dialog unit times
    // 4 and 8: the dialog font's average character width and height.
    SIZE BaseUnits() const;
    // Where the template puts a control, in pixels of the dialog's client
    // area (an auto-buddy up-down sits at its buddy's right edge, and a
    // closed combo box is one line high, as on Windows); false for an
    // unknown id.
    bool TemplateRect(const DialogWindow& dialog, int nId, RECT* pRect) const;
    // The same for the template's item at index (statics and group boxes
    // share the id -1).
    bool ItemRect(const DialogWindow& dialog, size_t index, RECT* pRect) const;
    // The pixel size of a control's text ("&" marks a mnemonic and takes no
    // room) drawn in the topmost dialog's font (the face standing in for
    // the template's, at the height Windows gives it), on one line, or
    // wrapped at nWrapWidth pixels when that is above 0.
    bool TextExtent(const std::string& text, int nWrapWidth, SIZE* pSize) const;
    // Where the control's widget of the topmost dialog is, in the same
    // pixels; by id, or by the index of its item in the template.
    bool WidgetRect(int nId, RECT* pRect) const;
    bool ItemWidgetRect(size_t index, RECT* pRect) const;
    // Clicks the control's widget of the topmost dialog as a user would.
    bool ClickWidget(int nId);
    // Types into the control's widget of the topmost dialog as a user would.
    bool TypeIntoWidget(int nId, const std::string& text);
    // The control whose widget has the keyboard focus, and the one that
    // Enter presses (the default button); -1 for none.
    int FocusedId() const;
    int DefaultButtonId() const;
    // Saves the topmost dialog's window as a PNG image.
    bool SaveSnapshot(const std::string& pngPath) const;

    // True on the thread that created the presenter, where GTK runs.
    bool OnGtkThread() const;

    struct Impl;  // the windows on screen; GTK types stay out of this header

private:
    GtkPresenter();
    std::unique_ptr<Impl> m_impl;
};

// The presenter as the host installs it; null without a display.
WIN32_API std::unique_ptr<UiPresenter> MakeGtkPresenter();

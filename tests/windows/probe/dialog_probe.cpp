// dialog_probe.exe: what a user does with the dialog in front, for the
// Wine tests of the Windows build, which run it beside plothost.exe. It
// acts on the topmost visible dialog window of another process (a dialog
// or a message box), step by step as the arguments say, and prints in UTF-8.
//
//   wait MILLISECONDS   waits for a dialog; prints "== " and its caption,
//                       then every control: id, class, text
//   open ID             presses a button and waits for the dialog it opens
//                       (printed as by wait)
//   click ID            presses a button (a radio is checked)
//   settext ID TEXT     puts text into an edit or combo box
//   snapshot FILE.bmp   the dialog's window as a 32-bit BMP
//   close               Cancel (the Esc key's command); waits until it is gone
//
// Exit status 0, or 1 at the first step that cannot be done.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::wstring Wide(const char* utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), n);
    out.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
    return out;
}

std::wstring TextOf(HWND window) {
    const int n = static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(n + 1),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() && IsWindowVisible(window) &&
        ClassOf(window) == L"#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;  // windows come topmost first
    }
    return TRUE;
}

HWND FrontDialog() {
    HWND found = nullptr;
    EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
    std::printf("%d\t%s\t%s\n", GetDlgCtrlID(control), Utf8(ClassOf(control)).c_str(),
                Utf8(TextOf(control)).c_str());
    return TRUE;
}

int Snapshot(HWND dialog, const char* path) {
    RECT r{};
    GetWindowRect(dialog, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return 1;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    // What the screen shows where the dialog is: it lies on top.
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(w * h * 4);
    FILE* out = std::fopen(path, "wb");
    int status = 1;
    if (out) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        std::fwrite(bits, 4, static_cast<size_t>(w) * static_cast<size_t>(h), out);
        status = std::fclose(out) == 0 ? 0 : 1;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return status;
}

// Waits for a dialog in front other than notThis, lets it paint and prints
// it; null when none came in time.
HWND WaitForDialog(DWORD milliseconds, HWND notThis) {
    const DWORD start = GetTickCount();
    HWND dialog = nullptr;
    while (((dialog = FrontDialog()) == nullptr || dialog == notThis) &&
           GetTickCount() - start < milliseconds)
        Sleep(50);
    if (!dialog || dialog == notThis) return nullptr;
    Sleep(300);
    std::printf("== %s\n", Utf8(TextOf(dialog)).c_str());
    EnumChildWindows(dialog, &PrintControl, 0);
    return dialog;
}

// Posted, not sent: a button that opens a dialog returns only when that
// dialog ends. A radio button becomes the one checked button of its group,
// as a click leaves it.
void Press(HWND dialog, HWND control) {
    const LONG style = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    if (style == BS_AUTORADIOBUTTON || style == BS_RADIOBUTTON) {
        HWND other = control;
        do {
            SendMessageW(other, BM_SETCHECK, other == control ? BST_CHECKED : BST_UNCHECKED, 0);
            other = GetNextDlgGroupItem(dialog, other, FALSE);
        } while (other && other != control);
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

// The steps of the command line, in order; false at the first that fails.
bool Run(int argc, char** argv) {
    HWND shown = nullptr;  // the dialog the last wait or open printed
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        const bool hasValue = i + 1 < argc;
        if (step == "wait" && hasValue) {
            shown = WaitForDialog(static_cast<DWORD>(std::atoi(argv[++i])), nullptr);
            if (!shown) return false;
            continue;
        }
        HWND dialog = FrontDialog();
        if (!dialog) return false;
        if ((step == "click" || step == "open") && hasValue) {
            HWND control = GetDlgItem(dialog, std::atoi(argv[++i]));
            if (!control) return false;
            Press(dialog, control);
            if (step == "open" && !(shown = WaitForDialog(10000, dialog))) return false;
        } else if (step == "settext" && i + 2 < argc) {
            HWND control = GetDlgItem(dialog, std::atoi(argv[++i]));
            if (!control) return false;
            SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(argv[++i]).c_str()));
        } else if (step == "snapshot" && hasValue) {
            if (Snapshot(dialog, argv[++i]) != 0) return false;
        } else if (step == "close") {
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            const DWORD start = GetTickCount();
            while (IsWindow(dialog) && IsWindowVisible(dialog) && GetTickCount() - start < 10000)
                Sleep(50);
            if (IsWindow(dialog) && IsWindowVisible(dialog)) return false;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool done = Run(argc, argv);
    std::fflush(stdout);
    return done ? 0 : 1;
}

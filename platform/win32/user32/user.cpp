#include "win32/user32/user.h"

extern "C" {

// One fixed value stands for the desktop: dialogs owned by it have no other owner.
HWND WINAPI GetDesktopWindow() {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x10010));
}

}  // extern "C"

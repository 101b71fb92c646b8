// The module's own resources (dialog templates, strings, the logo) and the
// switch of the UI framework to them while the module shows its dialogs.
#pragma once

#include <afxwin.h>

// The module's file name, under which its resources are known.
inline constexpr const char kModuleFileName[] = "HPGL2.pxr";

// The module handle of this module's resources; they are registered with the
// Win32 subset on the first call, as the loader does when it maps a module.
HMODULE ModuleResourceHandle();

// For the life of the object, dialogs and strings load from this module.
class ModuleResourceScope {
public:
    ModuleResourceScope();
    ~ModuleResourceScope();
    ModuleResourceScope(const ModuleResourceScope&) = delete;
    ModuleResourceScope& operator=(const ModuleResourceScope&) = delete;

private:
    HINSTANCE m_hPrevious;
};

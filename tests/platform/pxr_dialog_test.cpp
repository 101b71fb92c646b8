#include <gtest/gtest.h>

#include <afxwin.h>

#include <string>

#include "pxrdriver/pxr_dialog.h"
#include "ui/module_resources.h"

namespace {

// Reads the caption its template gave it, then ends.
class CaptionDialog : public CPXRDialog {
public:
    CaptionDialog(UINT nId, const char* pszModule) : CPXRDialog(nId, nullptr, pszModule) {}
    BOOL OnInitDialog() override {
        CPXRDialog::OnInitDialog();
        GetWindowText(m_strCaption);
        EndDialog(IDOK);
        return TRUE;
    }
    CString m_strCaption;
};

TEST(PxrDialog, LoadsFromItsNamedModuleWhateverTheProcessHasCurrent) {
    ModuleResourceHandle();  // registered, as the loader does when it maps the module
    SetResourceLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT));
    struct Case {
        const char* what;
        const char* module;
        UINT id;
        INT_PTR result;
        const char* caption;
    };
    const Case cases[] = {
        {"the module's own template", kModuleFileName, 104, IDOK, "Plot transaction"},
        {"the name in another letter case, with a folder", "C:\\Plot\\hpgl2.PXR", 104, IDOK,
         "Plot transaction"},
        {"a module that registered nothing", "OTHER.pxr", 104, -1, ""},
        {"no module name", "", 104, -1, ""},
        {"a template the module lacks", kModuleFileName, 9999, -1, ""},
    };
    // The process's current resource module is none, or the framework's own
    // (registered with its first string), which has no dialog 104.
    AfxFrameworkString(1);
    HINSTANCE framework = GetModuleHandleA("pxrwin32.mfc");
    ASSERT_NE(framework, nullptr);
    for (HINSTANCE current : {static_cast<HINSTANCE>(nullptr), framework}) {
        AfxSetResourceHandle(current);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            CaptionDialog dialog(c.id, c.module);
            EXPECT_EQ(dialog.DoModal(), c.result);
            EXPECT_EQ(std::string(dialog.m_strCaption), c.caption);
            EXPECT_EQ(AfxGetResourceHandle(), current);  // left as it was
        }
    }
    AfxSetResourceHandle(nullptr);
    SetResourceLanguage(0);
}

}  // namespace

// The host framework's dialog class for plug-in modules: a CDialog whose
// template (and bitmaps) load from the module named at construction, not
// from the process's current resource module. A module's dialog may thus
// run on any thread while another thread switches AfxSetResourceHandle.
#pragma once

#include <afxwin.h>

#include <string>

#include "pxrdriver/api.h"

class PXR_API CPXRDialog : public CDialog {
    DECLARE_DYNAMIC(CPXRDialog)

public:
    // pszModuleName: the file name under which the module's resources are
    // registered (RegisterModuleResources), e.g. "HPGL2.pxr".
    CPXRDialog(UINT nIDTemplate, CWnd* pParent, const char* pszModuleName);
    ~CPXRDialog() override;

    // -1 when no module of that name has registered resources, or the
    // template is missing; otherwise as CDialog::DoModal.
    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;

protected:
    HINSTANCE TemplateModule() const override;

private:
    std::string m_strModuleName;
};

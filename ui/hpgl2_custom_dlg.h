// The plotter's settings dialog: resolution, transaction mode with the
// memory size, paper and margins, colour mode, and through its two buttons
// the custom paper and advanced options dialogs. OK writes the settings
// record.
#pragma once

#include <afxwin.h>

#include "driver/hpgl2_devmode.h"
#include "ui/paper_list.h"

struct DriverState;

struct ResolutionEntry {
    const char* pszText;
    UINT nDpi;
};
inline constexpr ResolutionEntry kResolutions[] = {
    {"Custom", 1000},   {"96  dpi", 96},   {"150  dpi", 150}, {"300  dpi", 300},
    {"400  dpi", 400},  {"600  dpi", 600}, {"720  dpi", 720}, {"1200 dpi", 1200},
    {"1016 dpi", 1016}, {"2400 dpi", 2400}};
// Item data of the "Custom" entry; the others carry their position.
inline constexpr LPARAM kCustomResolutionData = 65535;

class CDlgHpgl2Custom : public CDialog {
public:
    explicit CDlgHpgl2Custom(CWnd* pParent);

    int m_bLandscape = 0;
    DriverState* m_pDriver = nullptr;
    HPGL2DevMode* m_pDevMode = nullptr;
    PaperList m_papers;
    CComboBox m_cbPaper, m_cbResolution, m_cbMemory;
    CEdit m_editResolution;
    UINT m_nResolution = 300;
    UINT m_nMarginTop = 0, m_nMarginBottom = 0, m_nMarginLeft = 0, m_nMarginRight = 0;
    int m_nTransaction = 0;
    int m_nColorMode = 1;
    CButton m_radioBlackWhite, m_radioColor, m_radioInPlot, m_radioInComputer, m_radioAuto;
    UINT m_nMemorySize = 0;
    int m_nPaperID = 9;
    // The advanced options.
    int m_nCompression = 0, m_nDataMode = 0, m_nClipMode = 0, m_nRenderMode = 0;
    int m_bInkedArea = 0, m_bPjlControl = 0;
    UINT m_nHeadMask = 0;
    CString m_strControlCode;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnResolutionSelChange();
    void OnCustomizedClicked();
    void OnPaperSelChange();
    void OnTransactionInPlot();
    void OnTransactionInComputer();
    void OnTransactionAuto();
    void OnMemorySelChange();
    void OnAdvanceClicked();
    DECLARE_MESSAGE_MAP()

private:
    void FillPaperList();
    void ShowMarginsOf(const PaperSize& paper);
    void ShowMargins();
    void SetText(int nId, UINT nValue);
    // Checks the typed memory size of the automatic mode into m_nMemorySize.
    bool ReadMemorySize();
};

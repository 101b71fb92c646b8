#include "ui/hpgl2_custom_dlg.h"

#include <cstring>
#include <string>
#include <utility>

#include "driver/driver_state.h"
#include "ui/advance_dlg.h"
#include "ui/custom_paper_dlg.h"
#include "ui/exchange_keeping.h"
#include "ui/memory_size.h"
#include "ui/module_strings.h"
#include "ui/resources/resource_ids.h"

namespace {
constexpr UINT kMinResolution = 10;
constexpr UINT kMaxResolution = 5000;
}  // namespace

BEGIN_MESSAGE_MAP(CDlgHpgl2Custom, CDialog)
ON_CBN_SELCHANGE(IDC_RESOLUTION, OnResolutionSelChange)
ON_BN_CLICKED(IDC_CUSTOMIZED, OnCustomizedClicked)
ON_CBN_SELCHANGE(IDC_PAPER, OnPaperSelChange)
ON_BN_CLICKED(IDC_TRANSACTION_PLOT, OnTransactionInPlot)
ON_BN_CLICKED(IDC_TRANSACTION_COMPUTER, OnTransactionInComputer)
ON_BN_CLICKED(IDC_TRANSACTION_AUTO, OnTransactionAuto)
ON_CBN_SELCHANGE(IDC_MEMORY, OnMemorySelChange)
ON_BN_CLICKED(IDC_ADVANCE, OnAdvanceClicked)
END_MESSAGE_MAP()

CDlgHpgl2Custom::CDlgHpgl2Custom(CWnd* pParent) : CDialog(IDD_HPGL2_CUSTOM, pParent) {}

void CDlgHpgl2Custom::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PAPER, m_cbPaper);
    DDX_Control(pDX, IDC_RESOLUTION, m_cbResolution);
    DDX_Control(pDX, IDC_MEMORY, m_cbMemory);
    DDX_Control(pDX, IDC_CUSTOM_RESOLUTION, m_editResolution);
    DDX_Text(pDX, IDC_CUSTOM_RESOLUTION, m_nResolution);
    if (pDX->m_bSaveAndValidate && !pDX->m_bFailed &&
        (m_nResolution < kMinResolution || m_nResolution > kMaxResolution)) {
        ShowModuleMessage(IDS_RESOLUTION_RANGE);
        pDX->Fail();
    }
    DDX_Text(pDX, IDC_MARGIN_TOP, m_nMarginTop);
    DDX_Text(pDX, IDC_MARGIN_BOTTOM, m_nMarginBottom);
    DDX_Text(pDX, IDC_MARGIN_LEFT, m_nMarginLeft);
    DDX_Text(pDX, IDC_MARGIN_RIGHT, m_nMarginRight);
    DDX_Control(pDX, IDC_COLOR_BW, m_radioBlackWhite);
    DDX_Control(pDX, IDC_COLOR_COLOR, m_radioColor);
    DDX_Control(pDX, IDC_TRANSACTION_PLOT, m_radioInPlot);
    DDX_Control(pDX, IDC_TRANSACTION_COMPUTER, m_radioInComputer);
    DDX_Control(pDX, IDC_TRANSACTION_AUTO, m_radioAuto);
    DDX_RadioKeeping(pDX, IDC_COLOR_BW, m_nColorMode);
}

BOOL CDlgHpgl2Custom::OnInitDialog() {
    CDialog::OnInitDialog();
    UpdateData(TRUE);
    if (m_pDriver) {
        CString name(m_pDriver->m_strName.c_str());
        name.MakeUpper();
        CString caption;
        if (name.Find("OCE") >= 0)
            caption = LoadModuleString(IDS_CAPTION_OCE);
        else if (name.Find("CANON") >= 0)
            caption = LoadModuleString(IDS_CAPTION_CANON);
        if (!caption.IsEmpty()) SetWindowText(caption);
    }
    const HPGL2DevMode& record = *m_pDevMode;

    m_nColorMode = record.nColorMode;
    m_cbMemory.ShowWindow(SW_HIDE);
    m_nClipMode = record.nClipMode;
    m_nTransaction = record.nTransaction;
    if (m_nTransaction == kTransactionInComputer) {
        m_radioInComputer.SetCheck(BST_CHECKED);
    } else if (m_nTransaction == kTransactionAuto) {
        m_radioAuto.SetCheck(BST_CHECKED);
        m_cbMemory.ShowWindow(SW_SHOW);
    } else {
        // Any other stored mode plots as "in plot", which is what is shown
        // and what OK stores.
        m_nTransaction = kTransactionInPlot;
        m_radioInPlot.SetCheck(BST_CHECKED);
    }

    for (const auto& entry : kMemorySizes) m_cbMemory.AddString(entry.pszText);
    m_cbMemory.SetCurSel(kDefaultMemoryPosition);
    const auto stored = static_cast<std::uint32_t>(record.nMemorySize);
    bool listed = false;
    for (int i = 0; i < static_cast<int>(std::size(kMemorySizes)); ++i)
        if (kMemorySizes[i].nBytes == stored) {
            m_nMemorySize = stored;
            m_cbMemory.SetCurSel(i);
            listed = true;
        }
    if (!listed && stored != 0) {
        m_nMemorySize = stored;
        m_cbMemory.SetCurSel(m_cbMemory.AddString(MemorySizeText(record.nMemorySize).c_str()));
    }

    m_nPaperID = record.dm.dmPaperSize;
    // Taken from the record whether or not its paper is still listed: a
    // paper that left the list must not turn the sheet too.
    m_bLandscape = record.dm.dmOrientation != DMORIENT_PORTRAIT ? 1 : 0;
    FillPaperList();

    for (int i = 0; i < static_cast<int>(std::size(kResolutions)); ++i) {
        // "Custom" is said in the dialog's language; its item data, not its
        // text, tells the handlers which entry it is.
        const CString text =
            i == 0 ? LoadModuleString(IDS_RESOLUTION_CUSTOM) : CString(kResolutions[i].pszText);
        const int at = m_cbResolution.AddString(text);
        m_cbResolution.SetItemData(at, i == 0 ? kCustomResolutionData : i);
    }
    // The resolution the driver plots at: a stored value below 1 means 300.
    const UINT dpi = static_cast<UINT>(EffectiveResolution(record));
    m_nResolution = dpi;
    m_cbResolution.SetCurSel(0);
    for (int i = 0; i < static_cast<int>(std::size(kResolutions)); ++i)
        if (kResolutions[i].nDpi == dpi) {
            m_cbResolution.SetCurSel(i);
            if (i != 0) m_editResolution.EnableWindow(FALSE);
            break;
        }

    m_nCompression = record.nCompression;
    m_nDataMode = record.nDataMode;
    m_nRenderMode = record.bRenderMode;
    m_bInkedArea = record.bInkedArea;
    m_strControlCode = CString(std::string(
        record.szControlCode, strnlen(record.szControlCode, sizeof record.szControlCode)));
    m_bPjlControl = record.bPjlControl;
    m_nHeadMask = static_cast<UINT>(record.nHeadMask);
    UpdateData(FALSE);
    return TRUE;
}

void CDlgHpgl2Custom::ShowMarginsOf(const PaperSize& paper) {
    m_nMarginTop = static_cast<UINT>(paper.nTopMargin);
    m_nMarginBottom = static_cast<UINT>(paper.nBottomMargin);
    m_nMarginLeft = static_cast<UINT>(paper.nLeftMargin);
    m_nMarginRight = static_cast<UINT>(paper.nRightMargin);
    ShowMargins();
}

// A choice writes only the controls that depend on it: writing every member
// back (UpdateData(FALSE)) would undo what the user has typed or picked in
// the others and not yet confirmed.
void CDlgHpgl2Custom::ShowMargins() {
    const std::pair<int, UINT> margins[] = {{IDC_MARGIN_TOP, m_nMarginTop},
                                            {IDC_MARGIN_BOTTOM, m_nMarginBottom},
                                            {IDC_MARGIN_LEFT, m_nMarginLeft},
                                            {IDC_MARGIN_RIGHT, m_nMarginRight}};
    for (const auto& [id, value] : margins) SetText(id, value);
}

void CDlgHpgl2Custom::SetText(int nId, UINT nValue) {
    if (CWnd* control = GetDlgItem(nId)) control->SetWindowText(std::to_string(nValue).c_str());
}

void CDlgHpgl2Custom::FillPaperList() {
    m_papers.clear();
    m_cbPaper.ResetContent();
    if (m_pDriver)
        m_papers =
            FetchPapersBy([this](char* pOutput) { return m_pDriver->PaperRecords(pOutput); });
    int selected = 0;
    for (size_t i = 0; i < m_papers.size(); ++i) {
        const int at = m_cbPaper.AddString(PaperName(m_papers[i]).c_str());
        m_cbPaper.SetItemData(at, static_cast<LPARAM>(i));
        if (m_papers[i].nPaperID == m_nPaperID) selected = static_cast<int>(i);
    }
    if (m_papers.empty()) {
        // Without a paper list the record's own paper stands: its margins are
        // shown and OK leaves its paper as it is.
        m_nMarginTop = static_cast<UINT>(m_pDevMode->nMarginTop);
        m_nMarginBottom = static_cast<UINT>(m_pDevMode->nMarginBottom);
        m_nMarginLeft = static_cast<UINT>(m_pDevMode->nMarginLeft);
        m_nMarginRight = static_cast<UINT>(m_pDevMode->nMarginRight);
        ShowMargins();
    } else {
        m_cbPaper.SetCurSel(selected);
        ShowMarginsOf(m_papers[static_cast<size_t>(selected)]);
    }
}

void CDlgHpgl2Custom::OnResolutionSelChange() {
    const int sel = m_cbResolution.GetCurSel();
    if (sel < 0) return;
    const LPARAM data = m_cbResolution.GetItemData(sel);
    if (data != kCustomResolutionData) {
        if (data < 0 || data >= static_cast<LPARAM>(std::size(kResolutions))) return;
        m_editResolution.EnableWindow(FALSE);
        m_nResolution = kResolutions[data].nDpi;
    } else {
        m_nResolution = kResolutions[0].nDpi;
        m_editResolution.EnableWindow(TRUE);
    }
    SetText(IDC_CUSTOM_RESOLUTION, m_nResolution);
}

void CDlgHpgl2Custom::OnPaperSelChange() {
    const int sel = m_cbPaper.GetCurSel();
    if (sel < 0) return;
    const LPARAM at = m_cbPaper.GetItemData(sel);
    if (at < 0 || static_cast<size_t>(at) >= m_papers.size()) return;
    ShowMarginsOf(m_papers[static_cast<size_t>(at)]);
}

void CDlgHpgl2Custom::OnTransactionInPlot() {
    m_nTransaction = kTransactionInPlot;
    m_cbMemory.ShowWindow(SW_HIDE);
}

void CDlgHpgl2Custom::OnTransactionInComputer() {
    m_nTransaction = kTransactionInComputer;
    m_cbMemory.ShowWindow(SW_HIDE);
}

void CDlgHpgl2Custom::OnTransactionAuto() {
    m_nTransaction = kTransactionAuto;
    m_cbMemory.ShowWindow(SW_SHOW);
}

void CDlgHpgl2Custom::OnMemorySelChange() {
    const int sel = m_cbMemory.GetCurSel();
    if (sel < 0) return;
    CString text;
    m_cbMemory.GetLBText(sel, text);
    if (const auto bytes = MemorySizeOfEntry(text.str())) m_nMemorySize = *bytes;
}

void CDlgHpgl2Custom::OnCustomizedClicked() {
    if (!m_pDriver) return;
    CCustomPaperSizeDlg dialog(m_pDriver->m_strPaperFile.c_str(), this);
    const int sel = m_cbPaper.GetCurSel();
    const LPARAM at = sel >= 0 ? m_cbPaper.GetItemData(sel) : -1;
    if (at >= 0 && static_cast<size_t>(at) < m_papers.size())
        m_nPaperID = m_papers[static_cast<size_t>(at)].nPaperID;
    dialog.m_nPaperID = m_nPaperID;
    if (dialog.DoModal() == IDOK && dialog.m_nPaperID >= 0) m_nPaperID = dialog.m_nPaperID;
    // A deletion is in the paper file even when the dialog ends with Cancel
    // (its Cancel button is disabled then, but the window can be closed):
    // the list is read again either way, so that no deleted paper stays
    // offered here.
    FillPaperList();
}

void CDlgHpgl2Custom::OnAdvanceClicked() {
    CHP_AdvanceDlg dialog(this);
    dialog.m_nCompression = m_nCompression;
    dialog.m_nDataMode = m_nDataMode;
    dialog.m_nRenderMode = m_nRenderMode;
    dialog.m_nClipMode = m_nClipMode;
    dialog.m_bInkedArea = m_bInkedArea;
    dialog.m_nHeadMask = m_nHeadMask;
    dialog.m_strControlCode = m_strControlCode;
    dialog.m_bPjlControl = m_bPjlControl;
    if (dialog.DoModal() != IDOK) return;
    m_nCompression = dialog.m_nCompression;
    m_nDataMode = dialog.m_nDataMode;
    m_nRenderMode = dialog.m_nRenderMode;
    m_nClipMode = dialog.m_nClipMode;
    m_bInkedArea = dialog.m_bInkedArea;
    m_nHeadMask = dialog.m_nHeadMask;
    m_strControlCode = dialog.m_strControlCode;
    m_bPjlControl = dialog.m_bPjlControl;
}

bool CDlgHpgl2Custom::ReadMemorySize() {
    CString text;
    m_cbMemory.GetWindowText(text);
    std::uint32_t bytes = 0;
    UINT message = 0;
    switch (ParseMemoryText(text.str(), &bytes)) {
        case MemoryTextError::None: m_nMemorySize = bytes; return true;
        case MemoryTextError::TooLong: message = IDS_MEMORY_TOO_LONG; break;
        case MemoryTextError::Empty: message = IDS_MEMORY_EMPTY; break;
        case MemoryTextError::Malformed: message = IDS_MEMORY_MALFORMED; break;
    }
    ShowModuleMessage(message);
    GotoDlgCtrl(&m_cbMemory);
    return false;
}

void CDlgHpgl2Custom::OnOK() {
    if (!UpdateData(TRUE)) return;
    if (m_nTransaction == kTransactionAuto && !ReadMemorySize()) return;

    HPGL2DevMode& record = *m_pDevMode;
    const int sel = m_cbPaper.GetCurSel();
    const LPARAM at = sel >= 0 ? m_cbPaper.GetItemData(sel) : -1;
    if (at >= 0 && static_cast<size_t>(at) < m_papers.size()) {
        const PaperSize& paper = m_papers[static_cast<size_t>(at)];
        record.dm.dmPaperSize = static_cast<SHORT>(paper.nPaperID);
        record.dm.dmOrientation = m_bLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        record.nMarginLeft = paper.nLeftMargin;
        record.nMarginTop = paper.nTopMargin;
        record.nMarginRight = paper.nRightMargin;
        record.nMarginBottom = paper.nBottomMargin;
    }
    record.dm.dmPrintQuality = static_cast<SHORT>(m_nResolution);
    record.dm.dmYResolution = static_cast<SHORT>(m_nResolution);
    record.nColorMode = m_nColorMode;
    record.nTransaction = m_nTransaction;
    record.nClipMode = m_nClipMode;
    record.nMemorySize = static_cast<LONG>(m_nMemorySize);
    // Forces the next refresh to recompute the paper geometry.
    record.dmSaved.dmPaperSize = static_cast<SHORT>(-1);
    record.nCompression = m_nCompression;
    record.nDataMode = m_nDataMode;
    record.bRenderMode = static_cast<BYTE>(m_nRenderMode);
    record.bInkedArea = m_bInkedArea;
    record.bPjlControl = m_bPjlControl;
    CopyToField(record.szControlCode, sizeof record.szControlCode, m_strControlCode);
    record.nHeadMask = static_cast<LONG>(m_nHeadMask);
    if (m_pDriver) m_pDriver->RefreshPaperGeometry(&record);
    EndDialog(IDOK);
}

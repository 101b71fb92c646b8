#include "ui/custom_paper_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ui/format_tenths.h"
#include "ui/module_strings.h"
#include "ui/resources/resource_ids.h"

namespace {

constexpr double kMaxMargin = 200.0;  // millimetres
constexpr int kMaxSize = 32767;       // millimetres, the spin range of width and height
constexpr int kMaxNameLength = 50;    // bytes of the name text

// Tenths of a millimetre of a value in millimetres, rounded half up.
int Tenths(double millimetres) {
    return static_cast<int>(millimetres * 10 + 0.5);
}

bool Changed(double value, double last) {
    // A difference below 0.05 mm is the rounding of the shown tenth, no change.
    return std::fabs(value - last) + 0.05 >= 0.1;
}

}  // namespace

BEGIN_MESSAGE_MAP(CCustomPaperSizeDlg, CDialog)
ON_BN_CLICKED(IDC_DELETE, OnDeleteClicked)
ON_BN_CLICKED(IDOK, OnOkClicked)
ON_CBN_SELCHANGE(IDC_PAPER_NAME, OnNameSelChange)
ON_NOTIFY(UDN_DELTAPOS, IDC_SPIN_TOP, OnSpinTop)
ON_NOTIFY(UDN_DELTAPOS, IDC_SPIN_LEFT, OnSpinLeft)
ON_NOTIFY(UDN_DELTAPOS, IDC_SPIN_HEIGHT, OnSpinHeight)
ON_NOTIFY(UDN_DELTAPOS, IDC_SPIN_WIDTH, OnSpinWidth)
ON_NOTIFY(UDN_DELTAPOS, IDC_SPIN_BOTTOM, OnSpinBottom)
ON_NOTIFY(UDN_DELTAPOS, IDC_SPIN_RIGHT, OnSpinRight)
END_MESSAGE_MAP()

CCustomPaperSizeDlg::CCustomPaperSizeDlg(const char* pszPaperFile, CWnd* pParent)
    : CDialog(IDD_CUSTOM_PAPER, pParent), m_strPaperFile(pszPaperFile) {}

void CCustomPaperSizeDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PAPER_NAME, m_cbName);
    DDX_Control(pDX, IDC_SPIN_TOP, m_spinTop);
    DDX_Control(pDX, IDC_SPIN_LEFT, m_spinLeft);
    DDX_Control(pDX, IDC_SPIN_HEIGHT, m_spinHeight);
    DDX_Control(pDX, IDC_SPIN_WIDTH, m_spinWidth);
    DDX_Control(pDX, IDC_SPIN_BOTTOM, m_spinBottom);
    DDX_Control(pDX, IDC_SPIN_RIGHT, m_spinRight);
    DDX_Text(pDX, IDC_EDIT_TOP, m_dTop);
    DDX_Text(pDX, IDC_EDIT_LEFT, m_dLeft);
    DDX_Text(pDX, IDC_EDIT_RIGHT, m_dRight);
    DDX_Text(pDX, IDC_EDIT_BOTTOM, m_dBottom);
    DDX_Text(pDX, IDC_EDIT_WIDTH, m_dWidth);
    DDX_Text(pDX, IDC_EDIT_HEIGHT, m_dHeight);
}

BOOL CCustomPaperSizeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    UpdateData(TRUE);
    m_spinTop.SetRange32(0, static_cast<int>(kMaxMargin));
    m_spinLeft.SetRange32(0, static_cast<int>(kMaxMargin));
    m_spinRight.SetRange32(0, static_cast<int>(kMaxMargin));
    m_spinBottom.SetRange32(0, static_cast<int>(kMaxMargin));
    m_spinHeight.SetRange32(1, kMaxSize);
    m_spinWidth.SetRange32(1, kMaxSize);

    m_papers = FetchPapers(m_strPaperFile);
    int selected = 0;
    for (size_t i = 0; i < m_papers.size(); ++i) {
        m_cbName.AddString(PaperName(m_papers[i]).c_str());
        if (m_papers[i].nPaperID == m_nPaperID) selected = static_cast<int>(i);
    }
    if (!m_papers.empty()) {
        m_cbName.SetCurSel(selected);
        FillFieldsFromSelection();
    }
    return TRUE;
}

void CCustomPaperSizeDlg::FillFieldsFromSelection() {
    UpdateData(TRUE);
    const int sel = m_cbName.GetCurSel();
    if (sel < 0 || static_cast<size_t>(sel) >= m_papers.size()) return;
    const PaperSize& p = m_papers[static_cast<size_t>(sel)];
    // Differences in 64 bits: a damaged paper file cannot overflow them.
    const auto tenthsToMm = [](long long tenths) { return static_cast<double>(tenths) / 10; };
    m_dLastLeft = m_dLeft = tenthsToMm(p.nLeftMargin);
    m_dLastRight = m_dRight = tenthsToMm(p.nRightMargin);
    m_dLastTop = m_dTop = tenthsToMm(p.nTopMargin);
    m_dLastBottom = m_dBottom = tenthsToMm(p.nBottomMargin);
    m_dLastWidth = m_dWidth =
        tenthsToMm(static_cast<long long>(p.nPaperWidth) - p.nRightMargin - p.nLeftMargin);
    m_dLastHeight = m_dHeight =
        tenthsToMm(static_cast<long long>(p.nPaperLength) - p.nTopMargin - p.nBottomMargin);
    const std::pair<int, double> shown[] = {
        {IDC_EDIT_LEFT, m_dLeft},     {IDC_EDIT_RIGHT, m_dRight}, {IDC_EDIT_TOP, m_dTop},
        {IDC_EDIT_BOTTOM, m_dBottom}, {IDC_EDIT_WIDTH, m_dWidth}, {IDC_EDIT_HEIGHT, m_dHeight}};
    for (const auto& [id, value] : shown) GetDlgItem(id)->SetWindowText(FormatTenths(value));
}

void CCustomPaperSizeDlg::OnNameSelChange() {
    FillFieldsFromSelection();
}

void CCustomPaperSizeDlg::StepSpin(CSpinButtonCtrl& spin, double& value, int nEditId, NMHDR* pNMHDR,
                                   LRESULT* pResult) {
    *pResult = 0;
    int lower = 0, upper = 0;
    spin.GetRange32(lower, upper);
    // A value the exchange refuses is not stepped; its message has been shown.
    if (!UpdateData(TRUE)) {
        *pResult = 1;
        return;
    }
    const int delta = reinterpret_cast<NMUPDOWN*>(pNMHDR)->iDelta;
    if (delta == 1)
        value = upper > value ? value + 1 : upper;
    else if (delta == -1)
        value = lower < value ? value - 1 : lower;
    value = std::clamp(value, static_cast<double>(lower), static_cast<double>(upper));
    GetDlgItem(nEditId)->SetWindowText(FormatTenths(value));
}

void CCustomPaperSizeDlg::OnSpinTop(NMHDR* pNMHDR, LRESULT* pResult) {
    StepSpin(m_spinTop, m_dTop, IDC_EDIT_TOP, pNMHDR, pResult);
}
void CCustomPaperSizeDlg::OnSpinLeft(NMHDR* pNMHDR, LRESULT* pResult) {
    StepSpin(m_spinLeft, m_dLeft, IDC_EDIT_LEFT, pNMHDR, pResult);
}
void CCustomPaperSizeDlg::OnSpinHeight(NMHDR* pNMHDR, LRESULT* pResult) {
    StepSpin(m_spinHeight, m_dHeight, IDC_EDIT_HEIGHT, pNMHDR, pResult);
}
void CCustomPaperSizeDlg::OnSpinWidth(NMHDR* pNMHDR, LRESULT* pResult) {
    StepSpin(m_spinWidth, m_dWidth, IDC_EDIT_WIDTH, pNMHDR, pResult);
}
void CCustomPaperSizeDlg::OnSpinBottom(NMHDR* pNMHDR, LRESULT* pResult) {
    StepSpin(m_spinBottom, m_dBottom, IDC_EDIT_BOTTOM, pNMHDR, pResult);
}
void CCustomPaperSizeDlg::OnSpinRight(NMHDR* pNMHDR, LRESULT* pResult) {
    StepSpin(m_spinRight, m_dRight, IDC_EDIT_RIGHT, pNMHDR, pResult);
}

void CCustomPaperSizeDlg::Refuse(int nControlId) {
    GotoDlgCtrl(GetDlgItem(nControlId));
}

bool CCustomPaperSizeDlg::WriteList() {
    return HT_WritePaperFile(m_strPaperFile, m_papers.data(), static_cast<int>(m_papers.size())) !=
           0;
}

void CCustomPaperSizeDlg::OnOkClicked() {
    if (!UpdateData(TRUE)) return;
    const std::pair<double, int> margins[] = {{m_dTop, IDC_EDIT_TOP},
                                              {m_dBottom, IDC_EDIT_BOTTOM},
                                              {m_dLeft, IDC_EDIT_LEFT},
                                              {m_dRight, IDC_EDIT_RIGHT}};
    for (const auto& [value, id] : margins)
        if (value > kMaxMargin) {
            ShowModuleMessage(IDS_MARGIN_RANGE);
            Refuse(id);
            return;
        }
    const std::pair<double, int> sizes[] = {{m_dWidth, IDC_EDIT_WIDTH},
                                            {m_dHeight, IDC_EDIT_HEIGHT}};
    for (const auto& [value, id] : sizes)
        if (value > kMaxSize || !(value > 0)) {
            ShowModuleMessage(IDS_SIZE_RANGE, kMaxSize);
            Refuse(id);
            return;
        }

    CString name;
    m_cbName.GetWindowText(name);
    name.Trim();
    // Counted in bytes, so that every accepted name, with its prefix, fits
    // whole into the 64-byte record.
    if (name.GetLength() > kMaxNameLength) {
        ShowModuleMessage(IDS_NAME_TOO_LONG);
        Refuse(IDC_PAPER_NAME);
        return;
    }
    if (name.IsEmpty()) {
        ShowModuleMessage(IDS_NAME_EMPTY);
        Refuse(IDC_PAPER_NAME);
        return;
    }

    const bool changed = Changed(m_dTop, m_dLastTop) || Changed(m_dBottom, m_dLastBottom) ||
                         Changed(m_dLeft, m_dLastLeft) || Changed(m_dRight, m_dLastRight) ||
                         Changed(m_dWidth, m_dLastWidth) || Changed(m_dHeight, m_dLastHeight);
    const CString prefix = LoadModuleString(IDS_CUSTOM_PREFIX);
    if (changed && name.Find(prefix) != 0) name = prefix + name;

    PaperSize record{};
    record.nTopMargin = Tenths(m_dTop);
    record.nBottomMargin = Tenths(m_dBottom);
    record.nLeftMargin = Tenths(m_dLeft);
    record.nRightMargin = Tenths(m_dRight);
    record.nPaperWidth =
        static_cast<int>(m_dWidth * 10 + record.nLeftMargin + record.nRightMargin + 0.5);
    record.nPaperLength =
        static_cast<int>(m_dHeight * 10 + record.nTopMargin + record.nBottomMargin + 0.5);

    const int found = m_cbName.FindStringExact(-1, name);
    if (found < 0 || static_cast<size_t>(found) >= m_papers.size()) {
        record.nPaperID = NextFreePaperNumber(m_papers);
        std::strncpy(record.szPaperName, name, sizeof record.szPaperName - 1);
        m_papers.push_back(record);
        if (!WriteList()) {
            // The paper is not in the file: the caller must not select it.
            m_papers.pop_back();
            ShowModuleMessage(IDS_PAPER_WRITE_FAILED);
            EndDialog(IDCANCEL);
            return;
        }
        m_cbName.AddString(name);
        m_nPaperID = record.nPaperID;
    } else {
        PaperSize& existing = m_papers[static_cast<size_t>(found)];
        const PaperSize before = existing;
        existing.nTopMargin = record.nTopMargin;
        existing.nBottomMargin = record.nBottomMargin;
        existing.nLeftMargin = record.nLeftMargin;
        existing.nRightMargin = record.nRightMargin;
        existing.nPaperWidth = record.nPaperWidth;
        existing.nPaperLength = record.nPaperLength;
        if (std::memcmp(&before, &existing, sizeof before) != 0 && !WriteList()) {
            existing = before;
            ShowModuleMessage(IDS_PAPER_WRITE_FAILED);
        }
        m_nPaperID = existing.nPaperID;
    }
    CDialog::OnOK();
}

void CCustomPaperSizeDlg::OnDeleteClicked() {
    if (!UpdateData(TRUE)) return;
    CString name;
    m_cbName.GetWindowText(name);
    name.Trim();
    const int found = m_cbName.FindStringExact(-1, name);
    if (found < 0 || static_cast<size_t>(found) >= m_papers.size()) {
        ShowModuleMessage(IDS_PAPER_NOT_FOUND);
    } else {
        m_cbName.DeleteString(static_cast<UINT>(found));
        m_papers.erase(m_papers.begin() + found);
        if (WriteList()) {
            const int count = static_cast<int>(m_papers.size());
            const int select = found < count ? found : found - 1;
            m_cbName.SetCurSel(select);
            FillFieldsFromSelection();
        } else {
            ShowModuleMessage(IDS_PAPER_WRITE_FAILED);
            EndDialog(IDCANCEL);
        }
    }
    // The list may have changed on disk: Cancel could not undo it.
    GetDlgItem(IDCANCEL)->EnableWindow(FALSE);
}

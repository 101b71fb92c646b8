// "Customized Paper": adds, changes and deletes papers of the paper list and
// writes the whole list back after every change.
#pragma once

#include <afxwin.h>

#include "ui/paper_list.h"

class CCustomPaperSizeDlg : public CDialog {
public:
    CCustomPaperSizeDlg(const char* pszPaperFile, CWnd* pParent);

    CString m_strPaperFile;
    int m_nPaperID = -1;  // the current paper: set before DoModal, read after IDOK
    PaperList m_papers;
    // Millimetres, as the edits show them.
    double m_dTop = 0.0, m_dLeft = 0.0, m_dRight = 0.0, m_dBottom = 0.0;
    double m_dWidth = 1.0, m_dHeight = 1.0;  // printable size
    // The values shown when the paper was last selected, to tell a change.
    double m_dLastTop = 0.0, m_dLastLeft = 0.0, m_dLastRight = 0.0, m_dLastBottom = 0.0;
    double m_dLastWidth = 1.0, m_dLastHeight = 1.0;
    CComboBox m_cbName;
    CSpinButtonCtrl m_spinTop, m_spinLeft, m_spinHeight, m_spinWidth, m_spinBottom, m_spinRight;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOkClicked();
    void OnDeleteClicked();
    void OnNameSelChange();
    void OnSpinTop(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSpinLeft(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSpinHeight(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSpinWidth(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSpinBottom(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSpinRight(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    void FillFieldsFromSelection();
    void StepSpin(CSpinButtonCtrl& spin, double& value, int nEditId, NMHDR* pNMHDR,
                  LRESULT* pResult);
    // Focus and whole-text selection to a control whose value was refused.
    void Refuse(int nControlId);
    bool WriteList();
};

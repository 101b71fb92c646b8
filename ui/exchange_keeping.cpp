#include "ui/exchange_keeping.h"

void DDX_RadioKeeping(CDataExchange* pDX, int nIDC, int& value) {
    int exchanged = value;
    DDX_Radio(pDX, nIDC, exchanged);
    if (pDX->m_bSaveAndValidate && exchanged >= 0) value = exchanged;
}

void DDX_CBIndexKeeping(CDataExchange* pDX, int nIDC, int& index) {
    int exchanged = index;
    DDX_CBIndex(pDX, nIDC, exchanged);
    if (pDX->m_bSaveAndValidate && exchanged >= 0) index = exchanged;
}

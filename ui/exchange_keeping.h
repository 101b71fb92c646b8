// Exchanges for choices whose stored value may lie outside the choices
// offered (a settings record written by another version, or damaged): such a
// value shows no choice and is kept unless the user picks one.
#pragma once

#include <afxwin.h>

void DDX_RadioKeeping(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndexKeeping(CDataExchange* pDX, int nIDC, int& index);

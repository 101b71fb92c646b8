// Millimetre values as the custom paper dialog shows them: at most one
// decimal, rounded half up, no trailing ".0".
#pragma once

#include <afxwin.h>

CString FormatTenths(double value);

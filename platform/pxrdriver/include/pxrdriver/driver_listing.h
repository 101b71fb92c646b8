// The configured drivers of an ini file.
#pragma once

#include "pxrdriver/api.h"

// Fills buffer with consecutive NUL-terminated strings ending with an empty
// one: first the ini file's path, then the name of every section of the
// file in file order (duplicates included). With a null buffer and size 0 it
// returns the bytes needed; 0 when the file cannot be read. With a buffer it
// returns the bytes written, the list cut short (still doubly terminated)
// when the buffer is too small.
PXR_API int HT_ListCloseDriver(char* pBuffer, int nSize, const char* pszIniPath);

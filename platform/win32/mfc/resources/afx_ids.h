/* Ids of the framework's own messages, as MFC numbers them, and of the
   message box buttons, as user32 numbers them. */
#pragma once

#define AFX_IDP_PARSE_INT 0xF110
#define AFX_IDP_PARSE_REAL 0xF111
#define AFX_IDP_PARSE_STRING_SIZE 0xF114
#define AFX_IDP_PARSE_UINT 0xF117

#define IDS_MB_OK 800
#define IDS_MB_CANCEL 801
#define IDS_MB_YES 805
#define IDS_MB_NO 806

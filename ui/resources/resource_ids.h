/* Ids of the module's dialogs, controls, bitmaps and strings: plain
   definitions, read by the resource script and by the dialogs' code. */
#pragma once

#define IDD_HPGL2_CUSTOM 103
#define IDD_PRINT_PROGRESS 104
#define IDD_HP_ADVANCE 105
#define IDD_CUSTOM_PAPER 3002
#define IDB_LOGO 107

#define IDC_DELETE 3

/* Main settings dialog */
#define IDC_PAPER 1003
#define IDC_CUSTOMIZED 1004
#define IDC_MARGIN_TOP 1005
#define IDC_MARGIN_BOTTOM 1006
#define IDC_MARGIN_LEFT 1007
#define IDC_MARGIN_RIGHT 1008
#define IDC_TRANSACTION_PLOT 1010
#define IDC_TRANSACTION_COMPUTER 1011
#define IDC_TRANSACTION_AUTO 1012
#define IDC_MEMORY 1013
#define IDC_COLOR_BW 1014
#define IDC_COLOR_COLOR 1015
#define IDC_COLOR_GRAY 1016
#define IDC_ADVANCE 1019
#define IDC_LOGO 1020
#define IDC_RESOLUTION 3000
#define IDC_CUSTOM_RESOLUTION 3001

/* Progress dialog */
#define IDC_PROGRESS 1017

/* Custom paper dialog */
#define IDC_PAPER_NAME 1003
#define IDC_SPIN_LEFT 1010
#define IDC_SPIN_HEIGHT 1011
#define IDC_SPIN_WIDTH 1012
#define IDC_SPIN_TOP 1015
#define IDC_SPIN_BOTTOM 1021
#define IDC_EDIT_RIGHT 1023
#define IDC_SPIN_RIGHT 1024
#define IDC_EDIT_WIDTH 3008
#define IDC_EDIT_HEIGHT 3009
#define IDC_EDIT_LEFT 3010
#define IDC_EDIT_TOP 3011
#define IDC_EDIT_BOTTOM 3013

/* Advanced options dialog */
#define IDC_SHADE_MODE 1013
#define IDC_TRIM_MODE 1016
#define IDC_UNCOMPRESSED 1021
#define IDC_RL_COMPRESSED 1022
#define IDC_TIF_COMPRESSED 1023
#define IDC_RANDOM_COMPRESSED 1024
#define IDC_INDEX_COLOR 1025
#define IDC_DITHER 1026
#define IDC_PLANE_BY_PLANE 1027
#define IDC_DIRECT_BY_RGB 1028
#define IDC_BEST_FIT 1029
#define IDC_INKED_AREA 1030
#define IDC_CONTROL_CODE 1033
#define IDC_PJL_TEXT 1034
#define IDC_PJL_CONTROL 1035

/* Messages */
#define IDS_PAPER_WRITE_FAILED 107
#define IDS_PAPER_NOT_FOUND 108
#define IDS_MARGIN_RANGE 109
#define IDS_NAME_TOO_LONG 110
#define IDS_NAME_EMPTY 111
#define IDS_RESOLUTION_RANGE 112
#define IDS_MEMORY_TOO_LONG 113
#define IDS_MEMORY_EMPTY 114
#define IDS_MEMORY_MALFORMED 115
#define IDS_SIZE_RANGE 116
#define IDS_CUSTOM_PREFIX 117
#define IDS_CAPTION_OCE 119
#define IDS_CAPTION_CANON 120

/* List entries of the advanced options dialog */
#define IDS_SHADE_FIRST 200 /* 200 colour, 201 grey */
#define IDS_SHADE_COUNT 2
#define IDS_TRIM_FIRST 210 /* 210 no clip, 211..217 models 1 to 7 */
#define IDS_TRIM_COUNT 8
/* The first entry of the resolution list, where the user types a resolution */
#define IDS_RESOLUTION_CUSTOM 220

// Resource and command identifiers, shared by the resource script and the code.
// This file is the only place they are defined.
#pragma once

// Icons
#define IDI_MAIN 101

// Dialog templates
#define IDD_MAIN 200
#define IDD_HASH_STRING 202
#define IDD_OPTIONS 204
#define IDD_ABOUT 205
#define IDD_LIST 206

// Menus and accelerators
#define IDR_MAIN_MENU 300
#define IDR_ACCELERATORS 700

// Bitmaps
#define IDB_EXPAND 501
#define IDB_COLLAPSE 502
#define IDB_MENU 503

// Main window controls
#define IDC_HASH1 1000
#define IDC_HASH2 1001
#define IDC_OPEN 1002
#define IDM_OPEN_FILE 1004
#define IDC_EXPAND 1005
#define IDC_COLLAPSE 1006
#define IDC_MENU 1007
#define IDC_STATUS 1008

// Hash String dialog
#define IDC_STRING_TEXT 1020
#define IDC_SIZE_GRIP 1021

// Options dialog
#define IDC_OPT_FRAME 1030
#define IDC_OPT_FULL_MODE 1031
#define IDC_OPT_OPEN_AT_START 1032
#define IDC_OPT_TOP_MOST 1033
#define IDC_OPT_REMEMBER_POS 1034
#define IDC_OPT_TRANSPARENT 1035
#define IDC_OPT_OPACITY 1036
#define IDC_OPT_OPACITY_TEXT 1037
#define IDC_OPT_DIFF_COLOR 1038
#define IDC_OPT_SAME_HASH_COLOR 1039
#define IDC_OPT_SAME_FILE_COLOR 1040
#define IDC_OPT_MULTIPLE_FILES 1041

// About dialog
#define IDC_LINK 1050

// List window
#define IDC_LIST_VIEW 1060
#define IDC_LIST_SUMMARY 1061
#define IDC_LIST_PROBLEMS 1062
#define IDC_LIST_COPY 1063

// Main window commands
#define IDM_CLEAR_BOTH 1100
#define IDM_HASH_STRING 1101
#define IDM_SEARCH_HASH 1102
#define IDM_CLEAR_HASH1 1103
#define IDM_CLEAR_HASH2 1104
#define IDM_BENCHMARK 1105
#define IDM_TRANSPARENCY 1106
#define IDM_ABOUT 1107
#define IDM_VERIFY_LIST 1108
#define IDM_CREATE_LIST 1109
#define IDM_STOP_BATCH 1110
#define IDM_ALWAYS_ON_TOP 4000
#define IDM_OPTIONS 4016

// Hash field context menu
#define IDM_CUT 1200
#define IDM_COPY 1201
#define IDM_PASTE 1202
#define IDM_CLEAR_FIELD 1203

// Where each hash field's checksum came from, the verdict colour of field 2,
// the Open/Compare caption and the compare step.
#pragma once

#include <windows.h>

#include "system/FileFacts.h"

// One record per field: [0] for IDC_HASH1, [1] for IDC_HASH2.
extern HashFieldInfo FieldInfo[2];
// Current background of IDC_HASH2.
extern COLORREF FieldColour;

constexpr COLORREF InvalidChecksumColour = 0x003737FF;

// Fills info from checksum and (when path is not null) the file's facts, then,
// unless keepText, sets the field's text (which runs the field-change processing).
void SetHashField(HWND field, HashFieldInfo* info, const char* checksum, const char* path,
                  bool keepText);
// The main window's EN_CHANGE handling for either hash field.
void ProcessFieldChange(HWND field);
// The main window's WM_CTLCOLOREDIT handling: a brush for IDC_HASH2, else 0.
HBRUSH FieldColourBrush(HDC context, HWND control);
// Deletes the field-2 brush (main window destruction).
void DeleteFieldBrush();
// Both fields hold comparable checksums (expanded, 32 hex characters each).
bool IsPairComparable();
// The compare message box; posts IDM_CLEAR_BOTH on Yes.
void CompareFields();

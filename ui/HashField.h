// The hash fields' edit behaviour: their context menu, the whole-field cut,
// copy and paste, and no select-all when tabbed into.
#pragma once

#include <windows.h>

// Keeps the field's current window procedure in its GWL_USERDATA slot, where
// HashField finds it, then installs HashField. Used for both hash fields.
void SubclassHashField(HWND field);
LRESULT CALLBACK HashField(HWND field, UINT message, WPARAM wParam, LPARAM lParam);

// Puts the field's whole text on the clipboard as CF_UNICODETEXT; false when the
// field is empty or the clipboard cannot be had. owner: the clipboard owner.
bool CopyHashToClipboard(HWND owner, HWND field);
// Replaces the field's text with a checksum found in the clipboard's text.
// False when rejected (job active, no text, clipboard busy, no checksum);
// true when accepted, and also when the clipboard's data cannot be read.
bool PasteHashFromClipboard(HWND owner, HWND field);

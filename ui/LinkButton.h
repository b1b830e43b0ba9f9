// The link of the About dialog: an owner-drawn push button whose caption
// reacts to the mouse like a hyperlink. One link button exists at a time.
#pragma once

#include <windows.h>

// wParam 0, lParam 0: sets the button up (fonts, caption extent). Result 1.
constexpr UINT UM_LINK_INIT = WM_APP + 35;
// wParam 0, lParam RECT* or null: copies the caption's extent. Result 1.
constexpr UINT UM_LINK_GET_TEXT_RECT = WM_APP + 36;

// Replaces the button's window procedure, remembering the previous one.
void SubclassLinkButton(HWND button);
// Called by the parent on WM_DRAWITEM for the link button.
void DrawLinkButton(const DRAWITEMSTRUCT* item);

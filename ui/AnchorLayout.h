// Anchored layout of a dialog's live controls: the window side of
// ui/LayoutAnchor.h, shared by the resizable dialogs.
#pragma once

#include <windows.h>

#include "ui/LayoutAnchor.h"

// Record mode (newClient null): fills the rows from the controls' places.
// Apply mode: moves and sizes the controls for the new client size. Rows whose
// control does not exist are passed over.
void AnchorLayout(HWND dialog, LayoutEntry* rows, int count, const SIZE* newClient);

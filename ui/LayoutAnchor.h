// Anchoring of a dialog's controls to the edges of its client area: recorded
// once from the template's layout, applied at every new client size.
#pragma once

#include <cstdint>

enum AnchorMode : int32_t {
    AnchorFixed = 0,   // keeps its place and size
    AnchorMove = 1,    // keeps its distance to the right or bottom edge
    AnchorStretch = 2, // keeps its left or top and its distance to the far edge
};

// One control's anchors. x, y, w, h hold the place and size for fixed axes,
// the distance to the far edge (move) or the size short of the client size
// (stretch).
struct LayoutEntry {
    int32_t id;
    int32_t x;
    int32_t y;
    int32_t w;
    int32_t h;
    AnchorMode horizontal;
    AnchorMode vertical;
};

struct ControlBox {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

// Fills row's x, y, w, h from box, a control's place in a client area of
// clientWidth by clientHeight.
void RecordAnchor(LayoutEntry* row, const ControlBox& box, int32_t clientWidth,
                  int32_t clientHeight);
// Where row's control goes in a client area of clientWidth by clientHeight.
ControlBox PlaceAnchored(const LayoutEntry& row, int32_t clientWidth, int32_t clientHeight);

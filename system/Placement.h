// Where a window goes when centred over another (or over the primary screen),
// and where a remembered window place is moved when no screen shows it.
#pragma once

// One axis: the origin that centres extent over the span [refStart, refEnd),
// the halving truncating toward zero. An origin beyond the screen's far end
// (screenExtent) becomes screenExtent - extent; a negative one becomes 0.
int CentredOrigin(int refStart, int refEnd, int extent, int screenExtent);

// A screen rectangle; right and bottom lie just outside it.
struct PlaceRect {
    int left, top, right, bottom;
};

// The caption strip (the top captionHeight pixels) of a window width pixels
// wide with its top-left corner at (left, top). A stored corner may hold any
// value: near the end of int's range the strip moves back to fit in it.
PlaceRect CaptionStrip(int left, int top, int width, int captionHeight);

// A window of width x height whose top-left corner is *left, *top stays where
// it is when at least a quarter of its caption strip lies inside workArea (so
// the user can see it and drag it). Otherwise the corner moves the least
// distance that puts the whole window inside workArea; along an axis where
// the window is the larger, it starts where workArea starts.
void KeepReachable(int* left, int* top, int width, int height, int captionHeight,
                   const PlaceRect& workArea);

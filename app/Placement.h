// Where a window goes when centred over another (or over the primary screen).
#pragma once

// One axis: the origin that centres extent over the span [refStart, refEnd),
// the halving truncating toward zero. An origin beyond the screen's far end
// (screenExtent) becomes screenExtent - extent; a negative one becomes 0.
int CentredOrigin(int refStart, int refEnd, int extent, int screenExtent);

// Enlarging a picture pixel for pixel, without blending colours (which would
// blur its edges): which source pixel each pixel of the larger picture shows.
#pragma once

// Along one axis: the source pixel, of sourceExtent, that pixel destIndex of
// destExtent shows, the one under its centre. The choice is mirror-symmetric,
// so that a symmetric picture stays symmetric; an extent of 0 yields 0.
int NearestSourcePixel(int destIndex, int destExtent, int sourceExtent);

#include "system/PictureScale.h"

namespace {

// Products of a pixel index and an extent may pass the range of int.
using Wide = long long;

} // namespace

int NearestSourcePixel(int destIndex, int destExtent, int sourceExtent) {
    if (destExtent <= 0 || sourceExtent <= 0)
        return 0;
    // The centre of destIndex, (destIndex + 1/2) / destExtent of the way
    // along, lies in this source pixel. A centre exactly on the boundary of
    // two takes the one towards the picture's middle, as its mirror image does.
    Wide twice = (2 * Wide{destIndex} + 1) * sourceExtent;
    Wide index = twice / (2 * Wide{destExtent});
    bool onBoundary = twice % (2 * Wide{destExtent}) == 0;
    if (onBoundary && 2 * Wide{destIndex} + 1 > destExtent)
        index -= 1;
    if (index < 0)
        return 0;
    if (index >= sourceExtent)
        return sourceExtent - 1;
    return static_cast<int>(index);
}

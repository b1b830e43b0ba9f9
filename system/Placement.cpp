#include "system/Placement.h"

#include <algorithm>
#include <climits>

namespace {

// Sums of a stored corner and a size may pass the range of int.
using Wide = long long;

Wide Overlap(Wide start, Wide end, Wide areaStart, Wide areaEnd) {
    Wide from = std::max(start, areaStart);
    Wide to = std::min(end, areaEnd);
    return to > from ? to - from : 0;
}

// The start of a span of extent at origin, moved back as little as keeps its
// end within the range of int.
int FitInInt(int origin, int extent) {
    return static_cast<int>(std::min<Wide>(origin, Wide{INT_MAX} - std::max(extent, 0)));
}

// One axis: the least move that puts [origin, origin + extent) inside
// [start, end), or start when it does not fit.
int MoveInto(Wide origin, Wide extent, int start, int end) {
    if (extent >= Wide{end} - start || origin < start)
        return start;
    if (origin + extent > end)
        return static_cast<int>(end - extent);
    return static_cast<int>(origin);
}

} // namespace

int CentredOrigin(int refStart, int refEnd, int extent, int screenExtent) {
    int origin = refStart + ((refEnd - refStart) - extent) / 2;
    if (origin > screenExtent)
        origin = screenExtent - extent;
    if (origin < 0)
        origin = 0;
    return origin;
}

PlaceRect CaptionStrip(int left, int top, int width, int captionHeight) {
    left = FitInInt(left, width);
    top = FitInInt(top, captionHeight);
    return PlaceRect{left, top, left + width, top + captionHeight};
}

void KeepReachable(int* left, int* top, int width, int height, int captionHeight,
                   const PlaceRect& workArea) {
    // A window without a caption is judged by the whole of it.
    Wide stripHeight = captionHeight > 0 ? captionHeight : height;
    Wide stripArea = Wide{width} * stripHeight;
    Wide shown = Overlap(*left, Wide{*left} + width, workArea.left, workArea.right) *
                 Overlap(*top, Wide{*top} + stripHeight, workArea.top, workArea.bottom);
    if (shown > 0 && shown >= (stripArea + 3) / 4)
        return;
    *left = MoveInto(*left, width, workArea.left, workArea.right);
    *top = MoveInto(*top, height, workArea.top, workArea.bottom);
}

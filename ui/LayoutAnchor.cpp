#include "ui/LayoutAnchor.h"

namespace {

// One axis: start and extent of a control along a client extent of `client`.
void RecordAxis(AnchorMode mode, int32_t start, int32_t extent, int32_t client,
                int32_t* anchorStart, int32_t* anchorExtent) {
    *anchorStart = mode == AnchorMove ? client - start : start;
    *anchorExtent = mode == AnchorStretch ? client - extent : extent;
}

void PlaceAxis(AnchorMode mode, int32_t anchorStart, int32_t anchorExtent, int32_t client,
               int32_t* start, int32_t* extent) {
    *start = mode == AnchorMove ? client - anchorStart : anchorStart;
    *extent = mode == AnchorStretch ? client - anchorExtent : anchorExtent;
}

} // namespace

void RecordAnchor(LayoutEntry* row, const ControlBox& box, int32_t clientWidth,
                  int32_t clientHeight) {
    RecordAxis(row->horizontal, box.left, box.width, clientWidth, &row->x, &row->w);
    RecordAxis(row->vertical, box.top, box.height, clientHeight, &row->y, &row->h);
}

ControlBox PlaceAnchored(const LayoutEntry& row, int32_t clientWidth, int32_t clientHeight) {
    ControlBox box = {};
    PlaceAxis(row.horizontal, row.x, row.w, clientWidth, &box.left, &box.width);
    PlaceAxis(row.vertical, row.y, row.h, clientHeight, &box.top, &box.height);
    return box;
}

#include "app/Placement.h"

int CentredOrigin(int refStart, int refEnd, int extent, int screenExtent) {
    int origin = refStart + ((refEnd - refStart) - extent) / 2;
    if (origin > screenExtent)
        origin = screenExtent - extent;
    if (origin < 0)
        origin = 0;
    return origin;
}

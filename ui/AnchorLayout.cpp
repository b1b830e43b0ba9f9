#include "ui/AnchorLayout.h"

void AnchorLayout(HWND dialog, LayoutEntry* rows, int count, const SIZE* newClient) {
    RECT client;
    GetClientRect(dialog, &client);
    for (int i = 0; i < count; ++i) {
        HWND control = GetDlgItem(dialog, rows[i].id);
        if (!control)
            continue;
        if (newClient) {
            ControlBox box = PlaceAnchored(rows[i], newClient->cx, newClient->cy);
            MoveWindow(control, box.left, box.top, box.width, box.height, TRUE);
            continue;
        }
        RECT place;
        GetWindowRect(control, &place);
        POINT corners[2] = {{place.left, place.top}, {place.right, place.bottom}};
        ScreenToClient(dialog, &corners[0]);
        ScreenToClient(dialog, &corners[1]);
        ControlBox box = {corners[0].x, corners[0].y, corners[1].x - corners[0].x,
                          corners[1].y - corners[0].y};
        RecordAnchor(&rows[i], box, client.right, client.bottom);
    }
}

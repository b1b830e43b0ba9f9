#include "ui/LayoutAnchor.h"

#include <gtest/gtest.h>

namespace {

bool SameBox(const ControlBox& a, const ControlBox& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

// A client area of 300 x 150 with an edit filling the top, a picture at the
// bottom left, a button and a grip at the bottom right.
struct Layout {
    LayoutEntry rows[4] = {
        {1, 0, 0, 0, 0, AnchorStretch, AnchorStretch},
        {2, 0, 0, 0, 0, AnchorFixed, AnchorMove},
        {3, 0, 0, 0, 0, AnchorMove, AnchorMove},
        {4, 0, 0, 0, 0, AnchorFixed, AnchorFixed},
    };
    ControlBox boxes[4] = {
        {2, 2, 296, 100},
        {12, 110, 40, 20},
        {240, 110, 57, 21},
        {280, 5, 10, 10},
    };
    Layout() {
        for (int i = 0; i < 4; ++i)
            RecordAnchor(&rows[i], boxes[i], 300, 150);
    }
};

TEST(LayoutAnchor, SameClientSizeGivesTheRecordedPlaces) {
    Layout layout;
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(SameBox(PlaceAnchored(layout.rows[i], 300, 150), layout.boxes[i])) << i;
}

TEST(LayoutAnchor, GrowingStretchesMovesAndKeepsPerAxis) {
    Layout layout;
    // 50 wider, 30 taller.
    ControlBox edit = PlaceAnchored(layout.rows[0], 350, 180);
    EXPECT_TRUE(SameBox(edit, ControlBox{2, 2, 346, 130}));
    ControlBox picture = PlaceAnchored(layout.rows[1], 350, 180);
    EXPECT_TRUE(SameBox(picture, ControlBox{12, 140, 40, 20}));
    ControlBox button = PlaceAnchored(layout.rows[2], 350, 180);
    EXPECT_TRUE(SameBox(button, ControlBox{290, 140, 57, 21}));
    // Distances to the right and bottom edges are kept.
    EXPECT_EQ(350 - (button.left + button.width), 300 - (240 + 57));
    EXPECT_EQ(180 - (button.top + button.height), 150 - (110 + 21));
    ControlBox fixed = PlaceAnchored(layout.rows[3], 350, 180);
    EXPECT_TRUE(SameBox(fixed, layout.boxes[3]));
}

TEST(LayoutAnchor, ApplyingDoesNotChangeTheAnchors) {
    Layout layout;
    LayoutEntry before = layout.rows[2];
    PlaceAnchored(layout.rows[2], 1000, 1000);
    ControlBox back = PlaceAnchored(layout.rows[2], 300, 150);
    EXPECT_TRUE(SameBox(back, layout.boxes[2]));
    EXPECT_EQ(before.x, layout.rows[2].x);
    EXPECT_EQ(before.h, layout.rows[2].h);
}

TEST(LayoutAnchor, ShrinkingMovesTowardsTheTopLeft) {
    Layout layout;
    ControlBox edit = PlaceAnchored(layout.rows[0], 280, 140);
    EXPECT_TRUE(SameBox(edit, ControlBox{2, 2, 276, 90}));
    ControlBox button = PlaceAnchored(layout.rows[2], 280, 140);
    EXPECT_TRUE(SameBox(button, ControlBox{220, 100, 57, 21}));
}

} // namespace

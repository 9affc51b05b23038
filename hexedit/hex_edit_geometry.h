// Pixel points and rectangles of the hex editor, and the states it hands
// the widget to show.
#pragma once

namespace morsk::hexedit {

struct PointPx {
    int x = 0;
    int y = 0;
};

struct RectPx {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool Contains(PointPx p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool operator==(const RectPx&) const = default;
};

struct CaretBox {
    bool visible = false;
    RectPx rect;  // x, y, width, height of the block caret
};

// A scroll bar as the control shows it: hidden, or a range 0..maximum with
// a page and a position.
struct ScrollBarState {
    bool visible = false;
    int maximum = 0;
    int page = 0;
    int position = 0;
};

}  // namespace morsk::hexedit

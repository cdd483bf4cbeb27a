// Boxes of the window and drawing confined to them.
#include "render/boxes.h"

#include <cmath>
#include <initializer_list>

ScreenBox clippingBox() {
    int x, y, w, h;
    al_get_clipping_rectangle(&x, &y, &w, &h);
    return {x, y, x + w, y + h};
}

void clipTo(const ScreenBox &box) {
    al_set_clipping_rectangle(box.x0, box.y0, box.x1 - box.x0, box.y1 - box.y0);
}

ScreenBox commonBox(const ScreenBox &a, const ScreenBox &b) {
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

bool isEmpty(const ScreenBox &box) { return box.x0 >= box.x1 || box.y0 >= box.y1; }

ScreenBox joinBoxes(const ScreenBox &a, const ScreenBox &b) {
    if (isEmpty(a)) {
        return b;
    }
    if (isEmpty(b)) {
        return a;
    }
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

int boxArea(const ScreenBox &box) {
    return isEmpty(box) ? 0 : (box.x1 - box.x0) * (box.y1 - box.y0);
}

// The library turns a positive angle clockwise on the screen (y grows down).
ScreenBox turnedPictureBox(const float part[4], float px, float py, float x, float y, float scale,
                           float radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    for (const float cx : {part[0], part[2]}) {
        for (const float cy : {part[1], part[3]}) {
            const double dx = (cx - px) * static_cast<double>(scale);
            const double dy = (cy - py) * static_cast<double>(scale);
            const double sx = x + c * dx - s * dy, sy = y + s * dx + c * dy;
            left = std::min(left, sx), right = std::max(right, sx);
            top = std::min(top, sy), bottom = std::max(bottom, sy);
        }
    }
    return {static_cast<int>(std::floor(left)) - 1, static_cast<int>(std::floor(top)) - 1,
            static_cast<int>(std::ceil(right)) + 1, static_cast<int>(std::ceil(bottom)) + 1};
}

// Rectangles of the window, and drawing confined to them by the clipping
// rectangle: where a frame changed, and what a cover hides.
#pragma once

#include <allegro5/allegro.h>

#include <algorithm>

// A rectangle of the window, pixels, right and bottom edges excluded; empty
// when x0 >= x1 or y0 >= y1.
struct ScreenBox {
    int x0;
    int y0;
    int x1;
    int y1;
};

constexpr ScreenBox noBox = {0, 0, 0, 0};

bool isEmpty(const ScreenBox &box);
// The smallest box holding both.
ScreenBox joinBoxes(const ScreenBox &a, const ScreenBox &b);
int boxArea(const ScreenBox &box);
// Every pixel that a picture's part (left, top, right, bottom in the
// picture, pixels) can touch when drawn turned by `radians` about the pivot
// (px, py), scaled by `scale` and with the pivot at (x, y): its corners'
// bounds with a pixel to spare on every side for the rasteriser's rounding.
ScreenBox turnedPictureBox(const float part[4], float px, float py, float x, float y, float scale,
                           float radians);

// The clipping rectangle, as a box.
ScreenBox clippingBox();
void clipTo(const ScreenBox &box);
ScreenBox commonBox(const ScreenBox &a, const ScreenBox &b);

// Calls `draw` once for each band of the clipping rectangle that lies
// outside `hidden`, with the clipping rectangle set to that band, so that
// nothing is drawn under a cover; the clipping rectangle is restored after.
// The shape drawn is the same in every band, so each pixel comes out as
// if drawn in one go.
template <typename Draw> void drawAround(const ScreenBox &hidden, Draw draw);

// Runs `draw` with the blender set to copy (ONE, ZERO), then restores it:
// over pixels that are fully opaque, copying gives what blending would,
// for less work.
template <typename Draw> void drawCopying(Draw draw) {
    int op, src, dst, alphaOp, alphaSrc, alphaDst;
    al_get_separate_blender(&op, &src, &dst, &alphaOp, &alphaSrc, &alphaDst);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
    draw();
    al_set_separate_blender(op, src, dst, alphaOp, alphaSrc, alphaDst);
}

template <typename Draw> void drawAround(const ScreenBox &hidden, Draw draw) {
    const ScreenBox clip = clippingBox();
    if (isEmpty(hidden) || hidden.x0 >= clip.x1 || hidden.x1 <= clip.x0 || hidden.y0 >= clip.y1 ||
        hidden.y1 <= clip.y0) {
        draw();
        return;
    }
    const int top = std::max(clip.y0, hidden.y0), bottom = std::min(clip.y1, hidden.y1);
    const ScreenBox bands[4] = {{clip.x0, clip.y0, clip.x1, top},
                                {clip.x0, bottom, clip.x1, clip.y1},
                                {clip.x0, top, std::max(clip.x0, hidden.x0), bottom},
                                {std::min(clip.x1, hidden.x1), top, clip.x1, bottom}};
    for (const ScreenBox &band : bands) {
        if (!isEmpty(band)) {
            clipTo(band);
            draw();
        }
    }
    clipTo(clip);
}

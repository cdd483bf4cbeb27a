// Clock geometry and zoom, the nested clock face and the hand.
#include "render/scene.h"

#include <allegro5/allegro.h>

#include <algorithm>
#include <cmath>

#include "game/game_state.h"
#include "render/screens.h"
#include "shell/assets.h"
#include "shell/shell.h"

// Truncation, not rounding: the factor sits just below pi/180, so a point
// can land one pixel short of where rounding would put it.
ScreenPoint polarToScreen(float angle, float r) {
    const double theta = static_cast<double>(angle) * degToRad;
    const double x = clockCentreX + static_cast<double>(r) * std::sin(theta);
    const double y = clockCentreY - static_cast<double>(r) * std::cos(theta);
    return {static_cast<int>(x), static_cast<int>(y)};
}

float zoomScale(float t) { return static_cast<float>(std::pow(zoomBase, static_cast<double>(t))); }

bool isZooming() {
    return (game.levelTransition || game.gameOver) && game.phaseFrame <= zoomFrames;
}

float zoomProgress() {
    return static_cast<float>(game.phaseFrame) / static_cast<float>(zoomFrames);
}

// Layer k is 3^(t - k) times the clock's size, t = 0 at rest; a texel in
// from its rim smoothing still finds only opaque texels.
float clockLayerRadius(int k) {
    if (k > clockLayers) {
        return 0.0f;
    }
    const double exponent = (isZooming() ? zoomProgress() : 0.0) - static_cast<double>(k);
    return zoomScale(static_cast<float>(exponent)) * (clockSize / 2 - 1);
}

// The opening zoom of a new game leaves the outer clock out.
float clockFaceRadius() {
    const bool outerShown = !isZooming() || game.gameOver || game.score != 0;
    return clockLayerRadius(outerShown ? 0 : 1);
}

static void backgroundLayer(int) { drawBackground(); }

void drawBackgroundBesideFace() { drawBesideDisc(clockFaceRadius(), backgroundLayer, 0); }

// Each layer of the clock face hides a disc of what lies beneath it: the
// background under the outermost layer, each layer under the next; late in
// a zoom, nearly the whole frame. Laid only beside that disc, band by band
// under clipping rectangles, the same picture drawn the same way lays the
// same pixels where it shows, and a fullscreen zoom frame on a software
// renderer costs 21-25 ms of CPU instead of 29-35. The plain way is draw(k).
void drawBesideDisc(float r, void (*draw)(int), int k) {
    ALLEGRO_BITMAP *target = al_get_target_bitmap();
    const int width = al_get_bitmap_width(target), height = al_get_bitmap_height(target);
    const float scaleX = static_cast<float>(width) / screenWidth;
    const float scaleY = static_cast<float>(height) / screenHeight;
    constexpr float smallestDisc = 32.0f; // pixels of radius worth the bands
    constexpr int bandHeight = 64;        // pixels
    // The library's own renderer for memory bitmaps (the tools' and the
    // tests') steps through a clipped picture from the clip's edge, where a
    // pixel can come out one texel off: there it is drawn plainly.
    if (r * scaleY < smallestDisc || (al_get_bitmap_flags(target) & ALLEGRO_MEMORY_BITMAP)) {
        draw(k);
        return;
    }
    int clipX, clipY, clipWidth, clipHeight;
    al_get_clipping_rectangle(&clipX, &clipY, &clipWidth, &clipHeight);
    auto drawWithin = [&](int x, int y, int w, int h) {
        if (w > 0 && h > 0) {
            al_set_clipping_rectangle(x, y, w, h);
            draw(k);
        }
    };
    const int discTop = std::max(0, static_cast<int>(std::floor((clockCentreY - r) * scaleY)));
    const int discBottom =
        std::min(height, static_cast<int>(std::ceil((clockCentreY + r) * scaleY)));
    drawWithin(0, 0, width, discTop);
    drawWithin(0, discBottom, width, height - discBottom);
    for (int top = discTop; top < discBottom; top += bandHeight) {
        const int bottom = std::min(top + bandHeight, discBottom);
        // The band's row farthest from the centre, in frame units, and the
        // disc's span across it; columns a pixel inside that span are hidden.
        const float dy = std::max(std::fabs(top / scaleY - clockCentreY),
                                  std::fabs(bottom / scaleY - clockCentreY));
        const float half = dy < r ? std::sqrt(r * r - dy * dy) : 0.0f;
        const int hiddenLeft = static_cast<int>(std::floor((clockCentreX - half) * scaleX)) + 1;
        const int hiddenRight = static_cast<int>(std::ceil((clockCentreX + half) * scaleX)) - 1;
        if (hiddenRight <= hiddenLeft) {
            drawWithin(0, top, width, bottom - top);
            continue;
        }
        drawWithin(0, top, std::min(hiddenLeft, width), bottom - top);
        drawWithin(std::max(hiddenRight, 0), top, width - std::max(hiddenRight, 0), bottom - top);
    }
    al_set_clipping_rectangle(clipX, clipY, clipWidth, clipHeight);
}

// At rest the face is the full clock with copies 1/3, 1/9, 1/27 and 1/81
// its size nested in its centre. The opening zoom of a new game leaves the
// outer clock out, so the face grows out of the centre.
void drawClockFace() {
    if (!assets.clock) {
        return;
    }
    if (!isZooming()) {
        al_draw_bitmap(assets.clock, clockCentreX - clockSize / 2, 0.0f, 0);
    } else if (game.gameOver || game.score != 0) {
        drawBesideDisc(clockLayerRadius(1), drawClockLayer, 0);
    }
    for (int k = 1; k <= clockLayers; ++k) {
        drawBesideDisc(clockLayerRadius(k + 1), drawClockLayer, k);
    }
}

// While zooming every layer grows by 3 to the power t, so each copy takes
// the place of the one outside it.
void drawClockLayer(int k) {
    if (!assets.clock) {
        return;
    }
    float s = 1.0f;
    if (isZooming()) {
        // The exponent is rounded to a float once, not after each step.
        const double exponent = k - static_cast<double>(game.phaseFrame) / zoomFrames;
        s = zoomScale(static_cast<float>(exponent));
    } else {
        for (int i = 0; i < k; ++i) {
            s *= static_cast<float>(zoomBase);
        }
    }
    const float side = clockSize / s;
    al_draw_scaled_bitmap(assets.clock, 0.0f, 0.0f, clockSize, clockSize,
                          clockCentreX - clockSize / 2 / s, clockCentreY - clockSize / 2 / s, side,
                          side, 0);
}

// The hand moves in whole degrees: -360 with a full clock, which looks the
// same as its picture, up to 0 as the clock runs out.
void drawClockHand() {
    // Only before the first game is the clock's length 0; dividing by it would trap.
    if (!assets.clockHand || game.timeLimit == 0) {
        return;
    }
    const float d = static_cast<float>((-game.timeLeft * 360) / game.timeLimit);
    al_draw_rotated_bitmap(assets.clockHand, 50.0f, 300.0f, clockCentreX, clockCentreY,
                           static_cast<float>(d * degToRad), 0);
}

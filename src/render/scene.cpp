// Clock geometry and zoom, the nested clock face and the hand.
#include "render/scene.h"

#include <allegro5/allegro.h>

#include <cmath>

#include "game/game_state.h"
#include "shell/assets.h"

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
        drawClockLayer(0);
    }
    for (int k = 1; k <= clockLayers; ++k) {
        drawClockLayer(k);
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

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

float clockLayerScale(int k) {
    if (isZooming()) {
        // The exponent is rounded to a float once, not after each step.
        const double exponent = k - static_cast<double>(game.phaseFrame) / zoomFrames;
        return zoomScale(static_cast<float>(exponent));
    }
    float s = 1.0f;
    for (int i = 0; i < k; ++i) {
        s *= static_cast<float>(zoomBase);
    }
    return s;
}

float clockHandDegrees() {
    if (game.timeLimit == 0) {
        return 0.0f; // never reached: drawClockHand skips an empty clock
    }
    return static_cast<float>((-game.timeLeft * 360) / game.timeLimit);
}

void drawClockFace() {
    if (!assets.clock) {
        return;
    }
    if (!isZooming()) {
        al_draw_bitmap(assets.clock, clockCentreX - clockSize / 2, 0.0f, 0);
    } else if (game.gameOver || game.score != 0) {
        // The opening zoom of a new game leaves the outer clock out, so the
        // face grows out of the centre.
        drawClockLayer(0);
    }
    for (int k = 1; k <= clockLayers; ++k) {
        drawClockLayer(k);
    }
}

void drawClockLayer(int k) {
    if (!assets.clock) {
        return;
    }
    const float s = clockLayerScale(k);
    const float side = clockSize / s;
    al_draw_scaled_bitmap(assets.clock, 0.0f, 0.0f, clockSize, clockSize,
                          clockCentreX - clockSize / 2 / s, clockCentreY - clockSize / 2 / s, side,
                          side, 0);
}

void drawClockHand() {
    // A zero-length clock has no meaningful hand; dividing by it would trap.
    if (!assets.clockHand || game.timeLimit == 0) {
        return;
    }
    const float d = clockHandDegrees();
    al_draw_rotated_bitmap(assets.clockHand, 50.0f, 300.0f, clockCentreX, clockCentreY,
                           static_cast<float>(d * degToRad), 0);
}

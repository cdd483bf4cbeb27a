// The desktop icon: the clock face with the mouse running across it.
#include "art.h"

#include <cmath>

namespace {

// Draws with `local` applied before the canvas's own oversampling transform.
void useLocal(ALLEGRO_TRANSFORM local, const ALLEGRO_TRANSFORM &canvasTransform) {
    al_compose_transform(&local, &canvasTransform);
    al_use_transform(&local);
}

} // namespace

ALLEGRO_BITMAP *paintIcon() {
    constexpr float size = 256;
    Canvas canvas;
    beginCanvas(canvas, static_cast<int>(size), static_cast<int>(size), rgba(0, 0, 0, 0));
    const ALLEGRO_TRANSFORM canvasTransform = *al_get_current_transform();

    ALLEGRO_TRANSFORM face;
    al_identity_transform(&face);
    al_scale_transform(&face, size / 2 / 300, size / 2 / 300);
    al_translate_transform(&face, size / 2, size / 2);
    useLocal(face, canvasTransform);
    drawClockFace();

    // Running clockwise at four o'clock: the head points along the rim.
    constexpr float clockDeg = 120, radius = 70, pi = 3.14159265f;
    const float a = clockDeg * pi / 180;
    ALLEGRO_TRANSFORM mouse;
    al_identity_transform(&mouse);
    al_rotate_transform(&mouse, (clockDeg - 90) * pi / 180);
    al_scale_transform(&mouse, 0.27f, 0.27f);
    al_translate_transform(&mouse, size / 2 + radius * std::sin(a),
                           size / 2 - radius * std::cos(a));
    useLocal(mouse, canvasTransform);
    drawMouse(1);
    return finishCanvas(canvas, Key::None);
}

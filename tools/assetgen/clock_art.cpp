// The clock face and its hand, both keyed on black.
#include "art.h"

#include <allegro5/allegro_primitives.h>

#include <cmath>

namespace {

constexpr float pi = 3.14159265f;

// A band of concentric circles whose colour runs from `outer` to `inner`:
// smooth shading with nothing but filled circles.
void shadedBand(float cx, float cy, float rOuter, float rInner, ALLEGRO_COLOR outer,
                ALLEGRO_COLOR inner, int steps) {
    for (int i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / steps;
        al_draw_filled_circle(cx, cy, rOuter + (rInner - rOuter) * t, mix(outer, inner, t));
    }
}

// A radial stroke at clock angle `deg` from radius r1 to r2.
void radialStroke(float deg, float r1, float r2, float width, ALLEGRO_COLOR colour) {
    const float a = deg * pi / 180;
    const float sx = std::sin(a), cy = -std::cos(a);
    al_draw_line(r1 * sx, r1 * cy, r2 * sx, r2 * cy, colour, width);
}

// A filled quad given as four corners.
void quad(const float *xy, ALLEGRO_COLOR colour) {
    al_draw_filled_triangle(xy[0], xy[1], xy[2], xy[3], xy[4], xy[5], colour);
    al_draw_filled_triangle(xy[0], xy[1], xy[4], xy[5], xy[6], xy[7], colour);
}

} // namespace

void drawClockFace() {
    // Brass rim, bright in its middle and darker at both edges.
    const ALLEGRO_COLOR rimDark = rgba(92, 62, 26);
    const ALLEGRO_COLOR rimLight = rgba(214, 172, 96);
    shadedBand(0, 0, 300, 294, rimDark, rimLight, 12);
    shadedBand(0, 0, 294, 284, rimLight, rgba(120, 84, 38), 20);
    // Ivory face with a faint shadow under the rim, rings in alternate tones
    // so the four tracks of the maze read at a glance.
    const ALLEGRO_COLOR ivory = rgba(248, 242, 226);
    const ALLEGRO_COLOR cream = rgba(238, 228, 204);
    shadedBand(0, 0, 284, 272, rgba(214, 200, 170), ivory, 16);
    al_draw_filled_circle(0, 0, 250, cream);
    al_draw_filled_circle(0, 0, 200, ivory);
    al_draw_filled_circle(0, 0, 150, cream);
    shadedBand(0, 0, 100, 0, ivory, rgba(255, 252, 242), 30);
    // Sixty minute ticks and twelve hour bars near the rim.
    for (int m = 0; m < 60; ++m) {
        if (m % 5 != 0) {
            radialStroke(m * 6.0f, 271, 281, 2.6f, rgba(132, 112, 90));
        }
    }
    const ALLEGRO_COLOR ink = rgba(40, 34, 38);
    for (int h = 0; h < 12; ++h) {
        if (h == 0) {
            radialStroke(-2.2f, 254, 281, 6.5f, ink);
            radialStroke(2.2f, 254, 281, 6.5f, ink);
        } else {
            radialStroke(h * 30.0f, h % 3 == 0 ? 252 : 260, 281, h % 3 == 0 ? 9.0f : 6.5f, ink);
        }
    }
    // Small dots on the ring borders at every hour, a quiet guide for the eye.
    for (int h = 0; h < 12; ++h) {
        const float a = h * 30 * pi / 180;
        for (float r : {225.0f, 175.0f, 125.0f}) {
            al_draw_filled_circle(r * std::sin(a), -r * std::cos(a), 2.2f, rgba(196, 180, 150));
        }
    }
    // Brass hub, seen only at the very centre of the smallest copy.
    shadedBand(0, 0, 10, 0, rimDark, rimLight, 6);
}

ALLEGRO_BITMAP *paintClock() {
    Canvas canvas;
    beginCanvas(canvas, 600, 600, rgba(0, 0, 0, 0));
    ALLEGRO_TRANSFORM t = *al_get_current_transform();
    al_translate_transform(&t, 300 * oversample, 300 * oversample);
    al_use_transform(&t);
    drawClockFace();
    return finishCanvas(canvas, Key::Black);
}

void drawClockHand() {
    const ALLEGRO_COLOR edge = rgba(70, 14, 20);
    const ALLEGRO_COLOR body = rgba(176, 32, 40);
    const ALLEGRO_COLOR shine = rgba(226, 86, 84);
    // Tail with its counterweight ring.
    const float tail[8] = {-6, 0, 6, 0, 4, 62, -4, 62};
    quad(tail, edge);
    al_draw_filled_circle(0, 58, 15, edge);
    al_draw_filled_circle(0, 58, 11, body);
    al_draw_filled_circle(0, 58, 6, edge);
    // Blade: a dark outline, the red body, and a lit left half.
    const float outline[8] = {-10, 0, 10, 0, 2.5f, -268, -2.5f, -268};
    quad(outline, edge);
    al_draw_filled_triangle(-5, -262, 5, -262, 0, -282, edge);
    const float blade[8] = {-7, 0, 7, 0, 1.2f, -262, -1.2f, -262};
    quad(blade, body);
    al_draw_filled_triangle(-3.5f, -262, 3.5f, -262, 0, -277, body);
    const float lit[8] = {-6, 0, 0, 0, 0, -262, -1, -262};
    quad(lit, shine);
    // Hub over the pivot.
    shadedBand(0, 0, 17, 0, rgba(92, 62, 26), rgba(230, 190, 112), 10);
    al_draw_filled_circle(0, 0, 5, edge);
}

// Pivot at (50, 300), pointing to twelve; the tip reaches radius 276, just
// inside the hour bars. 70 x 380 holds it with a margin: a software renderer
// pays for every pixel of the turned picture, transparent or not, and a
// fullscreen frame lays it 1.8 times as large each way.
ALLEGRO_BITMAP *paintClockHand() {
    Canvas canvas;
    beginCanvas(canvas, 70, 380, rgba(0, 0, 0, 0));
    ALLEGRO_TRANSFORM t = *al_get_current_transform();
    al_translate_transform(&t, 50 * oversample, 300 * oversample);
    al_use_transform(&t);
    drawClockHand();
    return finishCanvas(canvas, Key::Black);
}

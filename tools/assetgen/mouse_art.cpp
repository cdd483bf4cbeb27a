// The running mouse seen from above, head towards +y, in four run frames.
#include "art.h"

#include <allegro5/allegro_primitives.h>

#include <cmath>

namespace {

constexpr float pi = 3.14159265f;

const ALLEGRO_COLOR fur = rgba(124, 110, 102);
const ALLEGRO_COLOR furDark = rgba(84, 72, 68);
const ALLEGRO_COLOR furLight = rgba(170, 156, 146);
const ALLEGRO_COLOR pink = rgba(232, 164, 168);
const ALLEGRO_COLOR pinkDark = rgba(190, 116, 124);
const ALLEGRO_COLOR eye = rgba(22, 16, 20);

// An ellipse shaded from a dark rim to a light centre, offset towards the
// spine so the back looks rounded.
void roundedEllipse(float cx, float cy, float rx, float ry, ALLEGRO_COLOR rim, ALLEGRO_COLOR top) {
    const int steps = 16;
    for (int i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / steps;
        const float k = 1 - 0.75f * t;
        al_draw_filled_ellipse(cx, cy - ry * 0.12f * t, rx * k, ry * k, mix(rim, top, t));
    }
}

// One leg: a furred upper part from the body and a pink paw with toes.
// `swing` -1..1 moves the paw along the body (+ towards the head).
void leg(float hipX, float hipY, float side, float swing, float reach) {
    const float pawX = hipX + side * (38 + 14 * (1 - std::fabs(swing)));
    const float pawY = hipY + swing * reach;
    al_draw_line(hipX, hipY, pawX, pawY, furDark, 30);
    al_draw_filled_circle(pawX, pawY, 15, furDark);
    al_draw_filled_ellipse(pawX, pawY + 8, 16, 19, pinkDark);
    al_draw_filled_ellipse(pawX, pawY + 8, 12.5f, 15.5f, pink);
    for (int toe = -1; toe <= 1; ++toe) {
        al_draw_filled_circle(pawX + toe * 8.5f, pawY + 25, 5, pink);
    }
}

void tail(float phase) {
    // A tapering chain of discs from the rump, swaying with the stride.
    const int links = 90;
    for (int i = links; i >= 0; --i) {
        const float t = static_cast<float>(i) / links;
        const float x = 85 * std::sin(pi * (1.5f * t) + phase) * t + 40 * t * t;
        const float y = -190 - 100 * t + 15 * t * t * std::cos(phase);
        const float r = 11 - 7.5f * t;
        al_draw_filled_circle(x, y, r + 2, pinkDark);
        al_draw_filled_circle(x, y, r, pink);
    }
}

void head() {
    // Ears first, so the head overlaps their front edge.
    for (float side : {-1.0f, 1.0f}) {
        al_draw_filled_circle(side * 66, 88, 44, furDark);
        al_draw_filled_circle(side * 66, 88, 38, fur);
        al_draw_filled_circle(side * 68, 90, 27, pink);
    }
    roundedEllipse(0, 120, 70, 70, furDark, furLight);
    // Muzzle towards the nose.
    al_draw_filled_ellipse(0, 168, 44, 44, fur);
    al_draw_filled_ellipse(0, 172, 34, 34, furLight);
    al_draw_filled_ellipse(0, 200, 22, 16, fur);
    al_draw_filled_circle(0, 210, 12, pinkDark);
    al_draw_filled_circle(0, 208, 8, pink);
    for (float side : {-1.0f, 1.0f}) {
        al_draw_filled_ellipse(side * 38, 144, 11, 13, eye);
        al_draw_filled_circle(side * 35, 148, 4, rgba(250, 250, 250));
        for (int w = 0; w < 3; ++w) {
            const float a = (w - 1) * 0.22f;
            al_draw_line(side * 16, 196, side * (16 + 70 * std::cos(a)), 196 + 70 * std::sin(a),
                         rgba(236, 232, 228), 2.2f);
        }
    }
}

} // namespace

void drawMouse(int frame) {
    // A rotary gallop: each leg a quarter stride behind the next.
    const float phase = frame * pi / 2;
    tail(phase);
    const float stride[4] = {0, pi / 2, pi,
                             3 * pi / 2}; // front left, front right, hind left, hind right
    leg(-52, 60, -1, std::cos(phase + stride[0]), 42);
    leg(52, 60, 1, std::cos(phase + stride[1]), 42);
    leg(-70, -120, -1, std::cos(phase + stride[2]), 50);
    leg(70, -120, 1, std::cos(phase + stride[3]), 50);
    // The body stretches a little as the hind legs push.
    const float stretch = 1 + 0.03f * std::cos(phase);
    roundedEllipse(0, -85, 90, 118 * stretch, furDark, fur);
    roundedEllipse(0, 15, 72, 96 * stretch, furDark, mix(fur, furLight, 0.3f));
    head();
}

ALLEGRO_BITMAP *paintMouseFrame(int frame) {
    Canvas canvas;
    beginCanvas(canvas, 600, 600, rgba(0, 0, 0, 0));
    ALLEGRO_TRANSFORM t = *al_get_current_transform();
    al_translate_transform(&t, 300 * oversample, 300 * oversample);
    al_use_transform(&t);
    drawMouse(frame);
    return finishCanvas(canvas, Key::Blue);
}

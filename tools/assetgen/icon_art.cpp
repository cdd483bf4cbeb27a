// The desktop icons: the clock face, its red hand and the mouse running
// round the rim. Each size is drawn for its own pixels. From 128 up they are
// the game's own face, hand and mouse; below that the face keeps a bolder rim
// and fewer marks, the hand gets thicker, and the mouse becomes a dark
// silhouette whose round ears still read at 16 pixels.
#include "art.h"

#include <allegro5/allegro_primitives.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr float pi = 3.14159265f;
constexpr float handDeg = 300;  // ten o'clock, across the face from the mouse
constexpr float mouseDeg = 130; // running clockwise past four o'clock
constexpr float mouseRadius = 160;

const ALLEGRO_COLOR brassDark = rgba(92, 62, 26);
const ALLEGRO_COLOR brass = rgba(214, 172, 96);
const ALLEGRO_COLOR ivory = rgba(248, 242, 226);
const ALLEGRO_COLOR cream = rgba(234, 222, 194);
const ALLEGRO_COLOR ink = rgba(40, 34, 38);
const ALLEGRO_COLOR handEdge = rgba(70, 14, 20);
const ALLEGRO_COLOR handRed = rgba(184, 30, 40);
const ALLEGRO_COLOR furDark = rgba(70, 60, 58);
const ALLEGRO_COLOR fur = rgba(124, 110, 102);
const ALLEGRO_COLOR pink = rgba(232, 164, 168);

// Draws with `local` applied before the canvas's own oversampling transform.
void useLocal(ALLEGRO_TRANSFORM local, const ALLEGRO_TRANSFORM &canvasTransform) {
    al_compose_transform(&local, &canvasTransform);
    al_use_transform(&local);
}

// A radial bar at clock angle `deg` from radius r1 to r2.
void radialBar(float deg, float r1, float r2, float width, ALLEGRO_COLOR colour) {
    const float a = deg * pi / 180;
    al_draw_line(r1 * std::sin(a), -r1 * std::cos(a), r2 * std::sin(a), -r2 * std::cos(a), colour,
                 width);
}

// The face for small icons, in face units (radius 300); `px` is one finished
// pixel. A dark outer edge keeps the rim apart from light and dark panels.
void boldFace(int size, float px) {
    const float rim = (1 + size / 32.0f) * px;
    al_draw_filled_circle(0, 0, 300, brassDark);
    al_draw_filled_circle(0, 0, 300 - 0.6f * px, brass);
    al_draw_filled_circle(0, 0, 300 - rim, ivory);
    if (size >= 48) {
        // The maze's rings in alternate tones, as in the game.
        for (float r : {250.0f, 150.0f}) {
            al_draw_filled_circle(0, 0, r, cream);
            al_draw_filled_circle(0, 0, r - 50, ivory);
        }
    }
    const int step = size >= 48 ? 30 : 90; // no marks at all at 16
    for (int deg = 0; size > 16 && deg < 360; deg += step) {
        const bool quarter = deg % 90 == 0;
        const float length = (quarter ? 3.0f : 2.0f) * px;
        radialBar(static_cast<float>(deg), 300 - rim - length, 300 - rim - 0.3f * px, 1.4f * px,
                  quarter ? ink : mix(ink, ivory, 0.3f));
    }
}

// The hand pointing to twelve from the pivot, `width` across at its base.
void boldHand(float px, float length, float width) {
    const float w = width / 2, tip = std::max(0.6f * px, w / 3);
    const float edge = px > 30 ? 0 : 0.5f * px; // no room for an edge at 16
    al_draw_filled_triangle(-w - edge, 0, w + edge, 0, tip + edge, -length - edge, handEdge);
    al_draw_filled_triangle(-w - edge, 0, tip + edge, -length - edge, -tip - edge, -length - edge,
                            handEdge);
    al_draw_filled_triangle(-w, 0, w, 0, tip, -length, handRed);
    al_draw_filled_triangle(-w, 0, tip, -length, -tip, -length, handRed);
    al_draw_filled_circle(0, 0, w + edge + 0.2f * px, brassDark);
    al_draw_filled_circle(0, 0, w, brass);
}

// The mouse from above, head towards +y, in drawMouse()'s units: body, head,
// snout, round ears and, from 32 px up, a curled tail; no legs. `px` is one
// finished pixel in these units. Pink inner ears where an ear is three
// pixels across.
void mouseSilhouette(float px) {
    for (int i = 0; px < 40 && i < 12; ++i) { // at 16 px a tail would join the rim
        const float t0 = i / 12.0f, t1 = (i + 1) / 12.0f;
        const auto x = [](float t) { return 70 * std::sin(2.2f * t) * t; };
        const auto y = [](float t) { return -170 - 150 * t; };
        al_draw_line(x(t0), y(t0), x(t1), y(t1), furDark, std::max(28 - 14 * t1, 1.2f * px));
    }
    al_draw_filled_ellipse(0, -45, 98, 140, furDark);
    al_draw_filled_circle(0, 105, 82, furDark);
    al_draw_filled_triangle(-62, 140, 62, 140, 0, 240, furDark);
    for (float side : {-1.0f, 1.0f}) {
        al_draw_filled_circle(side * 78, 88, 52, furDark);
        if (px < 40) {
            al_draw_filled_circle(side * 82, 92, 30, pink);
        }
    }
    if (px < 25) {
        // From 48 px up: a lighter back, so the dark reads as an outline.
        al_draw_filled_ellipse(0, -40, 78, 118, fur);
        al_draw_filled_circle(0, 105, 62, fur);
    }
}

} // namespace

void drawEmblem(float cx, float cy, int size, bool full) {
    const ALLEGRO_TRANSFORM canvasTransform = *al_get_current_transform();
    const float px = 600.0f / size; // one finished pixel in face units

    ALLEGRO_TRANSFORM face;
    al_identity_transform(&face);
    al_scale_transform(&face, size / 600.0f, size / 600.0f);
    al_translate_transform(&face, cx, cy);
    useLocal(face, canvasTransform);
    if (full) {
        drawClockFace();
    } else {
        boldFace(size, px);
    }

    ALLEGRO_TRANSFORM hand;
    al_identity_transform(&hand);
    al_rotate_transform(&hand, handDeg * pi / 180);
    al_compose_transform(&hand, &face);
    useLocal(hand, canvasTransform);
    if (full) {
        drawClockHand();
    } else {
        boldHand(px, 300 - (2 + size / 32.0f) * px, (1 + size / 16.0f) * px);
    }

    const float a = mouseDeg * pi / 180;
    ALLEGRO_TRANSFORM mouse;
    al_identity_transform(&mouse);
    al_rotate_transform(&mouse, (mouseDeg - 90) * pi / 180);
    al_scale_transform(&mouse, 0.6f, 0.6f);
    al_translate_transform(&mouse, mouseRadius * std::sin(a), -mouseRadius * std::cos(a));
    al_compose_transform(&mouse, &face);
    useLocal(mouse, canvasTransform);
    if (full) {
        drawMouse(1);
    } else {
        mouseSilhouette(px / 0.6f);
    }
    al_use_transform(&canvasTransform);
}

ALLEGRO_BITMAP *paintIcon(int size) {
    Canvas canvas;
    beginCanvas(canvas, size, size, rgba(0, 0, 0, 0));
    drawEmblem(size / 2.0f, size / 2.0f, size, size >= 128);
    return finishCanvas(canvas, Key::None);
}

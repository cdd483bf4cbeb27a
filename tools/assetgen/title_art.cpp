// The title screen's eight frames: a loop of four (00 to 03) and two pairs
// of accents. They play 06 07 00 01 02 03 three times, then 04 05, so the
// running mouse and the emblem's hand step on through 06 07 00 ... 03 and
// the chime of 04 05 leads back into 06.
#include "art.h"

#include <allegro5/allegro_primitives.h>

#include <cmath>

namespace {

constexpr float pi = 3.14159265f;
const char *const sans = "LiberationSans-Bold.ttf";

// Where a file stands in the six-picture cycle 06 07 00 01 02 03 (04 and 05 follow 03).
int cyclePosition(int fileNumber) {
    const int positions[8] = {2, 3, 4, 5, 6, 7, 0, 1};
    return positions[fileNumber];
}

void sparkle(float cx, float cy, float r, ALLEGRO_COLOR colour) {
    al_draw_filled_triangle(cx - r, cy, cx + r, cy, cx, cy - r * 0.16f, colour);
    al_draw_filled_triangle(cx - r, cy, cx + r, cy, cx, cy + r * 0.16f, colour);
    al_draw_filled_triangle(cx, cy - r, cx, cy + r, cx - r * 0.16f, cy, colour);
    al_draw_filled_triangle(cx, cy - r, cx, cy + r, cx + r * 0.16f, cy, colour);
    al_draw_filled_circle(cx, cy, r * 0.18f, colour);
}

void emblem(float cx, float cy, float handDeg, bool chime) {
    const float r = 62;
    ALLEGRO_TRANSFORM saved = *al_get_current_transform();
    ALLEGRO_TRANSFORM t;
    al_identity_transform(&t);
    al_scale_transform(&t, r / 300, r / 300);
    if (chime) {
        al_rotate_transform(&t, 0.06f);
    }
    al_translate_transform(&t, cx, cy);
    al_compose_transform(&t, &saved);
    al_use_transform(&t);
    drawClockFace();
    const float a = handDeg * pi / 180;
    al_draw_line(0, 0, 240 * std::sin(a), -240 * std::cos(a), rgba(176, 32, 40), 22);
    al_draw_filled_circle(0, 0, 26, rgba(214, 172, 96));
    al_use_transform(&saved);
    if (chime) {
        for (float side : {-1.0f, 1.0f}) {
            for (int i = 0; i < 3; ++i) {
                const float rr = r + 14 + i * 12;
                const float start = side > 0 ? -0.55f : pi - 0.55f;
                al_draw_arc(cx, cy, rr, start, 1.1f, rgba(255, 226, 150, 0.9f - i * 0.25f), 4);
            }
        }
    }
}

void runningMouse(int frame, int position) {
    const float x = 400, y = 522;
    al_draw_line(150, 554, 650, 554, rgba(214, 172, 96, 0.35f), 3);
    // Two dust puffs kicked up behind, alternating with the stride.
    for (int i = 0; i < 3; ++i) {
        const float age = (position % 2 + i * 2) / 6.0f;
        al_draw_filled_circle(x - 70 - age * 90, 546 - age * 16, 4 + age * 10,
                              rgba(220, 210, 190, 0.35f * (1 - age)));
    }
    ALLEGRO_TRANSFORM saved = *al_get_current_transform();
    ALLEGRO_TRANSFORM t;
    al_identity_transform(&t);
    al_scale_transform(&t, 0.19f, 0.19f);
    al_rotate_transform(&t, -pi / 2);
    al_translate_transform(&t, x, y);
    al_compose_transform(&t, &saved);
    al_use_transform(&t);
    drawMouse(frame);
    al_use_transform(&saved);
}

void title(int fileNumber) {
    const char *name = "Clock Maze";
    drawText(sans, 96, rgba(0, 0, 0, 0.5f), 404, 40, ALLEGRO_ALIGN_CENTRE, name);
    drawText(sans, 96, rgba(214, 172, 96), 400, 33, ALLEGRO_ALIGN_CENTRE, name);
    drawText(sans, 96, rgba(252, 240, 204), 400, 30, ALLEGRO_ALIGN_CENTRE, name);
    const float half = textWidth(sans, 96, name) / 2;
    // A glint runs across the name: left in 06, right in 07.
    if (fileNumber == 6) {
        sparkle(400 - half + 30, 54, 30, rgba(255, 255, 255, 0.95f));
        sparkle(400 - half * 0.35f, 118, 14, rgba(255, 250, 230, 0.8f));
    } else if (fileNumber == 7) {
        sparkle(400 + half * 0.3f, 52, 22, rgba(255, 250, 230, 0.8f));
        sparkle(400 + half - 20, 112, 30, rgba(255, 255, 255, 0.95f));
    }
}

void scorePanel() {
    al_draw_filled_rounded_rectangle(180, 292, 560, 378, 14, 14, rgba(6, 14, 26, 0.6f));
    al_draw_rounded_rectangle(180, 292, 560, 378, 14, 14, rgba(214, 172, 96, 0.75f), 2.5f);
    // The numbers themselves go at x 380 in the game's own font and colour.
    drawText(sans, 28, rgba(226, 206, 160), 364, 306, ALLEGRO_ALIGN_RIGHT, "Best score");
    drawText(sans, 28, rgba(226, 206, 160), 364, 333, ALLEGRO_ALIGN_RIGHT, "Last score");
}

void prompt(bool bright) {
    const char *text = "Hold SPACE to start";
    if (bright) {
        for (int i = 0; i < 8; ++i) {
            const float a = i * pi / 4;
            drawText(sans, 36, rgba(255, 200, 90, 0.18f), 400 + 4 * std::cos(a),
                     412 + 4 * std::sin(a), ALLEGRO_ALIGN_CENTRE, text);
        }
    }
    drawText(sans, 36, bright ? rgba(255, 236, 170) : rgba(236, 228, 210), 400, 412,
             ALLEGRO_ALIGN_CENTRE, text);
}

// The controls in one short line; the README and the manual list them all.
void controls() {
    const char *text = "A D or \u2190 \u2192 steer   \u00b7   P pause   \u00b7   F11 fullscreen";
    drawText(sans, 20, rgba(0, 0, 0, 0.5f), 401, 465, ALLEGRO_ALIGN_CENTRE, text);
    drawText(sans, 20, rgba(214, 196, 156), 400, 464, ALLEGRO_ALIGN_CENTRE, text);
}

} // namespace

ALLEGRO_BITMAP *paintTitleFrame(int fileNumber) {
    Canvas canvas;
    ALLEGRO_BITMAP *backdrop = paintBackdrop(0);
    beginCanvas(canvas, 800, 600, rgba(0, 0, 0));
    al_draw_scaled_bitmap(backdrop, 0, 0, 800, 600, 0, 0, 800, 600, 0);
    al_destroy_bitmap(backdrop);
    const int position = cyclePosition(fileNumber);
    const bool chime = fileNumber == 4 || fileNumber == 5;
    title(fileNumber);
    emblem(400, 208, chime ? 0 : position * 60.0f, chime);
    scorePanel();
    prompt(chime);
    controls();
    runningMouse(position % 4, position);
    return finishCanvas(canvas, Key::None);
}

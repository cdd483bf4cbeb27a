// The cheering banners that slide across after every fourth level.
#include "art.h"

#include <allegro5/allegro_primitives.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr float pi = 3.14159265f;

struct Banner {
    int fileNumber;   // msgN.png
    const char *text; // the cheer
    int fill[3];      // ribbon colour
};

const Banner banners[13] = {
    {2, "Well done!", {36, 104, 72}},     {3, "Quick paws!", {44, 88, 140}},
    {4, "Tick tock!", {150, 70, 40}},     {8, "Great run!", {108, 52, 130}},
    {9, "Keep going!", {30, 110, 120}},   {10, "Superb!", {160, 110, 30}},
    {11, "Right on time!", {60, 96, 40}}, {12, "Brilliant!", {40, 70, 150}},
    {13, "Amazing!", {150, 40, 70}},      {14, "Clockwork!", {110, 80, 40}},
    {15, "Fantastic!", {30, 120, 90}},    {16, "Unstoppable!", {140, 50, 40}},
    {17, "Master mouse!", {80, 60, 140}},
};

void star(float cx, float cy, float r, ALLEGRO_COLOR colour) {
    // A fan of triangles round the centre: the outline is not convex.
    for (int i = 0; i < 10; ++i) {
        const float a0 = -pi / 2 + i * pi / 5, a1 = a0 + pi / 5;
        const float r0 = i % 2 ? r * 0.45f : r, r1 = i % 2 ? r : r * 0.45f;
        al_draw_filled_triangle(cx, cy, cx + r0 * std::cos(a0), cy + r0 * std::sin(a0),
                                cx + r1 * std::cos(a1), cy + r1 * std::sin(a1), colour);
    }
}

ALLEGRO_COLOR shade(const int *c, float k) {
    return rgba(std::min(255, static_cast<int>(c[0] * k)),
                std::min(255, static_cast<int>(c[1] * k)),
                std::min(255, static_cast<int>(c[2] * k)));
}

} // namespace

ALLEGRO_BITMAP *paintMessage(int fileNumber) {
    const Banner *banner = &banners[0];
    for (const Banner &b : banners) {
        if (b.fileNumber == fileNumber) {
            banner = &b;
        }
    }
    Canvas canvas;
    beginCanvas(canvas, 600, 200, rgba(0, 0, 0, 0));
    const ALLEGRO_COLOR brass = rgba(222, 182, 100);
    // Ribbon ends folded behind the banner.
    for (float side : {-1.0f, 1.0f}) {
        const float x0 = 300 + side * 250, x1 = 300 + side * 296;
        const float notch = x1 - side * 24;
        const ALLEGRO_COLOR fold = shade(banner->fill, 0.55f);
        al_draw_filled_triangle(x0, 78, x1, 78, notch, 116, fold);
        al_draw_filled_triangle(x0, 78, notch, 116, x0, 154, fold);
        al_draw_filled_triangle(x0, 154, notch, 116, x1, 154, fold);
    }
    // Soft shadow, then the banner with a brass border and a lit upper half.
    al_draw_filled_rounded_rectangle(38, 48, 568, 162, 26, 26, rgba(0, 0, 0, 0.35f));
    al_draw_filled_rounded_rectangle(30, 38, 570, 152, 26, 26, brass);
    al_draw_filled_rounded_rectangle(36, 44, 564, 146, 21, 21, shade(banner->fill, 0.8f));
    al_draw_filled_rounded_rectangle(36, 44, 564, 98, 21, 21, shade(banner->fill, 1.1f));
    al_draw_filled_rectangle(36, 70, 564, 98, shade(banner->fill, 1.1f));
    // The cheer, as large as fits.
    const char *face = "LiberationSans-Bold.ttf";
    float size = 70;
    size = std::min(size, size * 440 / textWidth(face, size, banner->text));
    const float y = 95 - size * 0.58f;
    drawText(face, size, rgba(0, 0, 0, 0.45f), 303, y + 4, ALLEGRO_ALIGN_CENTRE, banner->text);
    drawText(face, size, rgba(255, 246, 222), 300, y, ALLEGRO_ALIGN_CENTRE, banner->text);
    for (float side : {-1.0f, 1.0f}) {
        star(300 + side * 252, 95, 13, brass);
        star(300 + side * 232, 62, 7, rgba(255, 236, 180));
        star(300 + side * 236, 128, 6, rgba(255, 236, 180));
    }
    return finishCanvas(canvas, Key::None);
}

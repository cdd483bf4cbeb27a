// The calm background behind the clock and its three warning shades.
#include "art.h"

#include <allegro5/allegro_primitives.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr float pi = 3.14159265f;

struct Mood {
    int top[3];      // colour at the top edge
    int bottom[3];   // colour at the bottom edge
    int glow[3];     // halo round the clock
    float glowGain;  // halo strength 0..1
    float edgeGain;  // warm edge glow 0..1, the alarm
    int edge[3];     // its colour
    float gearAlpha; // opacity of the gear outlines
};

const Mood moods[4] = {
    {{20, 42, 62}, {8, 18, 32}, {60, 110, 130}, 0.55f, 0.0f, {0, 0, 0}, 0.10f},
    {{58, 50, 30}, {28, 22, 12}, {150, 116, 50}, 0.55f, 0.15f, {170, 120, 40}, 0.11f},
    {{74, 42, 20}, {36, 16, 8}, {196, 104, 40}, 0.65f, 0.32f, {220, 110, 40}, 0.12f},
    {{86, 22, 22}, {40, 6, 10}, {226, 60, 48}, 0.8f, 0.5f, {255, 70, 50}, 0.14f},
};

// Gradient, halo and edge glow, worked out per oversampled pixel.
void paintBase(ALLEGRO_BITMAP *big, const Mood &mood) {
    ALLEGRO_LOCKED_REGION *region =
        al_lock_bitmap(big, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_WRITEONLY);
    const int w = al_get_bitmap_width(big), h = al_get_bitmap_height(big);
    Rng rng{7};
    for (int y = 0; y < h; ++y) {
        uint8_t *row = static_cast<uint8_t *>(region->data) + y * region->pitch;
        const float fy = static_cast<float>(y) / h;
        for (int x = 0; x < w; ++x) {
            const float fx = static_cast<float>(x) / w;
            const float dx = (fx - 0.5f) * 800, dy = (fy - 0.5f) * 600;
            const float d = std::sqrt(dx * dx + dy * dy);
            const float halo = mood.glowGain * std::exp(-std::pow(std::max(0.0f, d - 290) / 90, 2));
            const float edge = mood.edgeGain * std::pow(std::min(1.0f, d / 500), 3);
            const float grain = (nextUnit(rng) - 0.5f) * 3;
            for (int c = 0; c < 3; ++c) {
                float v = mood.top[c] + (mood.bottom[c] - mood.top[c]) * fy;
                v += (mood.glow[c] - v) * halo * 0.5f;
                v += (mood.edge[c] - v) * edge;
                row[x * 4 + c] = static_cast<uint8_t>(std::clamp(v + grain, 0.0f, 255.0f));
            }
            row[x * 4 + 3] = 255;
        }
    }
    al_unlock_bitmap(big);
}

// A gear drawn as an outline: ring, teeth and spokes.
void gear(float cx, float cy, float r, int teeth, float turn, ALLEGRO_COLOR colour) {
    al_draw_circle(cx, cy, r, colour, r * 0.08f);
    al_draw_circle(cx, cy, r * 0.25f, colour, r * 0.06f);
    for (int i = 0; i < teeth; ++i) {
        const float a = turn + 2 * pi * i / teeth;
        const float c = std::cos(a), s = std::sin(a);
        const float half = pi / teeth * 0.45f;
        const float c1 = std::cos(a - half), s1 = std::sin(a - half);
        const float c2 = std::cos(a + half), s2 = std::sin(a + half);
        const float ro = r * 1.16f;
        al_draw_filled_triangle(cx + r * c1, cy + r * s1, cx + ro * c1 * 0.97f + ro * c * 0.03f,
                                cy + ro * s1 * 0.97f + ro * s * 0.03f, cx + r * c2, cy + r * s2,
                                colour);
        al_draw_filled_triangle(cx + r * c2, cy + r * s2, cx + ro * c1 * 0.97f + ro * c * 0.03f,
                                cy + ro * s1 * 0.97f + ro * s * 0.03f,
                                cx + ro * c2 * 0.97f + ro * c * 0.03f,
                                cy + ro * s2 * 0.97f + ro * s * 0.03f, colour);
    }
    for (int i = 0; i < 5; ++i) {
        const float a = turn + 2 * pi * i / 5;
        al_draw_line(cx + r * 0.25f * std::cos(a), cy + r * 0.25f * std::sin(a),
                     cx + r * 0.95f * std::cos(a), cy + r * 0.95f * std::sin(a), colour, r * 0.06f);
    }
}

} // namespace

ALLEGRO_BITMAP *paintBackdrop(int urgency) {
    const Mood &mood = moods[urgency];
    Canvas canvas;
    beginCanvas(canvas, 800, 600, rgba(0, 0, 0));
    paintBase(canvas.big, mood);
    const ALLEGRO_COLOR ink = rgba(255, 240, 210, mood.gearAlpha);
    // Gears turn a little further with each warning, a quiet hint of time.
    const float turn = urgency * 0.12f;
    gear(48, 96, 74, 14, turn, ink);
    gear(120, 214, 40, 9, -turn * 1.8f + 0.2f, ink);
    gear(748, 506, 88, 16, -turn, ink);
    gear(700, 372, 38, 9, turn * 2 + 0.1f, ink);
    gear(742, 76, 46, 10, turn, ink);
    gear(66, 520, 56, 12, -turn + 0.3f, ink);
    // Sparse dust motes.
    Rng rng{101};
    for (int i = 0; i < 70; ++i) {
        const float x = nextUnit(rng) * 800, y = nextUnit(rng) * 600;
        const float r = 0.6f + nextUnit(rng) * 1.4f;
        al_draw_filled_circle(x, y, r, rgba(255, 244, 220, 0.08f + nextUnit(rng) * 0.12f));
    }
    return finishCanvas(canvas, Key::None);
}

// The contact sheet: every picture at a quarter of its size, named, with
// keyed pictures shown over a checkerboard the way the game sees them.
#include "art.h"

#include <allegro5/allegro_primitives.h>

#include <algorithm>

namespace {

constexpr int sheetWidth = 940;
constexpr int margin = 16;
constexpr int labelHeight = 22;
constexpr float shrink = 0.25f;

void checker(float x, float y, float w, float h) {
    al_draw_filled_rectangle(x, y, x + w, y + h, rgba(70, 70, 78));
    for (float cy = y; cy < y + h; cy += 8) {
        for (float cx = x + (static_cast<int>((cy - y) / 8) % 2) * 8; cx < x + w; cx += 16) {
            al_draw_filled_rectangle(cx, cy, std::min(cx + 8, x + w), std::min(cy + 8, y + h),
                                     rgba(96, 96, 104));
        }
    }
}

// Runs the flow layout; draws only when `draw` is set. Returns the height used.
int layOut(ALLEGRO_BITMAP *const *pictures, const char *const *names, const Key *keys, int count,
           bool draw) {
    int x = margin, y = 64, rowHeight = 0;
    for (int i = 0; i < count; ++i) {
        const float w = al_get_bitmap_width(pictures[i]) * shrink;
        const float h = al_get_bitmap_height(pictures[i]) * shrink;
        if (x + w > sheetWidth - margin) {
            x = margin;
            y += rowHeight + labelHeight + margin;
            rowHeight = 0;
        }
        if (draw) {
            checker(x, y, w, h);
            ALLEGRO_BITMAP *shown = pictures[i];
            if (keys[i] != Key::None) {
                shown = al_clone_bitmap(pictures[i]);
                al_convert_mask_to_alpha(shown, keys[i] == Key::Black ? al_map_rgb(0, 0, 0)
                                                                      : al_map_rgb(0, 0, 255));
            }
            // The pictures hold straight alpha; the sheet underneath is opaque.
            al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
            al_draw_scaled_bitmap(shown, 0, 0, al_get_bitmap_width(shown),
                                  al_get_bitmap_height(shown), x, y, w, h, 0);
            al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_INVERSE_ALPHA);
            if (shown != pictures[i]) {
                al_destroy_bitmap(shown);
            }
            drawText("LiberationSans-Regular.ttf", 11, rgba(200, 200, 190), x, y + h + 4, 0,
                     names[i]);
        }
        x += static_cast<int>(std::max(w, 72.0f)) + margin;
        rowHeight = std::max(rowHeight, static_cast<int>(h));
    }
    return y + rowHeight + labelHeight + margin;
}

} // namespace

ALLEGRO_BITMAP *paintContactSheet(ALLEGRO_BITMAP *const *pictures, const char *const *names,
                                  const Key *keys, int count) {
    const int height = layOut(pictures, names, keys, count, false);
    Canvas canvas;
    beginCanvas(canvas, sheetWidth, height, rgba(30, 32, 40));
    drawText("LiberationSans-Bold.ttf", 24, rgba(240, 226, 190), margin, 18, 0,
             "Clock Maze: every picture, at a quarter of its size");
    layOut(pictures, names, keys, count, true);
    return finishCanvas(canvas, Key::None);
}

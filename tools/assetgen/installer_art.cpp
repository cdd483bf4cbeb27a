// The Windows installer's side picture, 164x314 as its welcome and finish
// pages show it: the title's night sky, the icon's clock with the mouse on
// its rim, and the name as the title writes it.
#include "art.h"

#include <utility>

namespace {

const char *const sans = "LiberationSans-Bold.ttf";

} // namespace

ALLEGRO_BITMAP *paintInstallerPanel() {
    constexpr int width = 164, height = 314;
    Canvas canvas;
    ALLEGRO_BITMAP *backdrop = paintBackdrop(0);
    beginCanvas(canvas, width, height, rgba(0, 0, 0));
    // The backdrop's middle, its full height, with the glow round the clock.
    const float across = 600.0f * width / height;
    al_draw_scaled_bitmap(backdrop, 400 - across / 2, 0, across, 600, 0, 0, width, height, 0);
    al_destroy_bitmap(backdrop);
    drawEmblem(width / 2.0f, 112, 136, true);
    for (const auto &[word, y] : {std::pair{"Clock", 204.0f}, std::pair{"Maze", 246.0f}}) {
        drawText(sans, 40, rgba(0, 0, 0, 0.5f), width / 2.0f + 2, y + 4, ALLEGRO_ALIGN_CENTRE,
                 word);
        drawText(sans, 40, rgba(214, 172, 96), width / 2.0f, y + 2, ALLEGRO_ALIGN_CENTRE, word);
        drawText(sans, 40, rgba(252, 240, 204), width / 2.0f, y, ALLEGRO_ALIGN_CENTRE, word);
    }
    return finishCanvas(canvas, Key::None);
}

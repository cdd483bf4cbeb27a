// The frame function: the order in which the drawing layers are laid, and
// the frame put into a window of any size.
#include <algorithm>

#include "game/game_state.h"
#include "render/maze_view.h"
#include "render/rest_scene.h"
#include "render/scene.h"
#include "render/screens.h"
#include "shell/shell.h"

void render() {
    al_clear_to_color(al_map_rgb(0, 0, 0));
    if (!game.inGame) {
        drawMenu();
        return;
    }
    if (!drawRestScene()) {
        drawBackground();
        drawClockFace();
    }
    drawClockHand();
    drawWalls();
    drawArcs();
    drawNumber(game.score, 107, 532);
    drawMouse();
    if (game.gameOver) {
        drawFade();
    }
    drawLevelMessage();
    if (game.paused) {
        drawPause();
    }
}

FrameBox frameBox(int width, int height) {
    const float scale = std::min(static_cast<float>(width) / screenWidth,
                                 static_cast<float>(height) / screenHeight);
    const int w = static_cast<int>(screenWidth * scale + 0.5f);
    const int h = static_cast<int>(screenHeight * scale + 0.5f);
    return {(width - w) / 2, (height - h) / 2, w, h};
}

// The picture is painted at its own size, then scaled, smoothly, onto the
// window; an 800x600 window takes it directly.
void renderToWindow() {
    ALLEGRO_BITMAP *window = al_get_target_bitmap();
    const int width = al_get_bitmap_width(window), height = al_get_bitmap_height(window);
    if (width == screenWidth && height == screenHeight) {
        render();
        return;
    }
    if (!shell.canvas) {
        const int flags = al_get_new_bitmap_flags();
        al_set_new_bitmap_flags((al_get_bitmap_flags(window) & ALLEGRO_MEMORY_BITMAP) |
                                ALLEGRO_NO_PRESERVE_TEXTURE | ALLEGRO_MIN_LINEAR |
                                ALLEGRO_MAG_LINEAR);
        shell.canvas = al_create_bitmap(screenWidth, screenHeight);
        al_set_new_bitmap_flags(flags);
    }
    al_set_target_bitmap(shell.canvas);
    render();
    al_set_target_bitmap(window);
    al_clear_to_color(al_map_rgb(0, 0, 0));
    const FrameBox box = frameBox(width, height);
    ALLEGRO_STATE blender;
    al_store_state(&blender, ALLEGRO_STATE_BLENDER);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
    al_draw_scaled_bitmap(shell.canvas, 0.0f, 0.0f, screenWidth, screenHeight, box.x, box.y,
                          box.width, box.height, 0);
    al_restore_state(&blender);
}

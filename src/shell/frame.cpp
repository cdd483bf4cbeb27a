// The frame function: the order in which the drawing layers are laid, and
// the frame put into a window of any size.
#include <algorithm>

#include "game/game_state.h"
#include "render/maze_view.h"
#include "render/rest_scene.h"
#include "render/scene.h"
#include "render/screens.h"
#include "shell/assets.h"
#include "shell/shell.h"

void render() {
    al_clear_to_color(al_map_rgb(0, 0, 0));
    if (!game.inGame) {
        drawMenu();
        return;
    }
    if (!drawRestScene()) {
        drawBackgroundBesideFace();
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
    } else if (shell.pointerUsed) {
        drawPauseControl();
    }
}

FrameBox frameBox(int width, int height) {
    const float scale = std::min(static_cast<float>(width) / screenWidth,
                                 static_cast<float>(height) / screenHeight);
    const int w = static_cast<int>(screenWidth * scale + 0.5f);
    const int h = static_cast<int>(screenHeight * scale + 0.5f);
    return {(width - w) / 2, (height - h) / 2, w, h};
}

// Every layer is drawn straight into the frame's box at the window's own
// resolution: into a sub-bitmap of the window at frameBox(), whose edges
// clip the frame, under a transform that scales 800x600 to its size. An
// 800x600 window is scale 1.
void renderToWindow() {
    ALLEGRO_BITMAP *window = al_get_target_bitmap();
    const FrameBox box = frameBox(al_get_bitmap_width(window), al_get_bitmap_height(window));
    al_clear_to_color(al_map_rgb(0, 0, 0));
    filterPictures(box.width != screenWidth || box.height != screenHeight);
    ALLEGRO_BITMAP *frame = al_create_sub_bitmap(window, box.x, box.y, box.width, box.height);
    al_set_target_bitmap(frame);
    ALLEGRO_TRANSFORM scale;
    al_identity_transform(&scale);
    al_scale_transform(&scale, static_cast<float>(box.width) / screenWidth,
                       static_cast<float>(box.height) / screenHeight);
    al_use_transform(&scale);
    render();
    al_set_target_bitmap(window);
    al_destroy_bitmap(frame);
}

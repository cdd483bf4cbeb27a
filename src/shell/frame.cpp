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

// The background in the shape drawBesideDisc() lays.
static void backgroundLayer(int) { drawBackground(); }

void render() {
    if (!game.inGame) {
        al_clear_to_color(al_map_rgb(0, 0, 0));
        drawMenu();
        return;
    }
    // The resting scene was composed on black and is copied over the whole
    // frame, so it needs no clear beneath it.
    if (!drawRestScene()) {
        al_clear_to_color(al_map_rgb(0, 0, 0));
        drawBesideDisc(clockFaceRadius(), backgroundLayer, 0);
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

// Black where the box leaves the window bare; render() fills the box, so
// clearing only the bars spares a fullscreen frame a window's worth of
// clearing.
static void clearBars(const FrameBox &box, int width, int height) {
    const int right = box.x + box.width, bottom = box.y + box.height;
    const int bars[4][4] = {{0, 0, box.x, height},
                            {right, 0, width - right, height},
                            {box.x, 0, box.width, box.y},
                            {box.x, bottom, box.width, height - bottom}};
    for (const auto &bar : bars) {
        if (bar[2] > 0 && bar[3] > 0) {
            al_set_clipping_rectangle(bar[0], bar[1], bar[2], bar[3]);
            al_clear_to_color(al_map_rgb(0, 0, 0));
        }
    }
    al_reset_clipping_rectangle();
}

// Every layer is drawn straight into the frame's box at the window's own
// resolution: into a sub-bitmap of the window at frameBox(), whose edges
// clip the frame, under a transform that scales 800x600 to its size. An
// 800x600 window is scale 1.
void renderToWindow() {
    ALLEGRO_BITMAP *window = al_get_target_bitmap();
    const int width = al_get_bitmap_width(window), height = al_get_bitmap_height(window);
    const FrameBox box = frameBox(width, height);
    clearBars(box, width, height);
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

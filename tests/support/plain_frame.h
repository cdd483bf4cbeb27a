// A level in play, and its frame laid the plain way, one layer after the
// other: the frame tests hold the game's frame to it, and the benchmarks
// time it beside the game's.
#pragma once

#include <allegro5/allegro.h>

#include "game/game_state.h"
#include "game/maze.h"
#include "render/maze_view.h"
#include "render/scene.h"
#include "render/screens.h"
#include "shell/assets.h"
#include "shell/shell.h"

// Lays out the maze that `rolls` (eight numbers, as rand() would give them)
// make around the mouse.
inline void layMaze(const int (&rolls)[8]) {
    static const int *next = nullptr;
    next = rolls;
    generateMazeWith([] { return *next++; });
}

// The sixth level: ring 1, the clock half run, a known maze.
inline void levelInPlay() {
    game = GameState{};
    game.running = true;
    game.inGame = true;
    game.score = 5;
    game.bestScore = 9;
    game.timeLimit = 772;
    game.timeLeft = 500;
    game.mouse.active = 1;
    game.mouse.ring = 1;
    game.mouse.angle = 30.0f;
    game.mouse.animFrame = 7;
    game.mouse.facingRight = true;
    static const int rolls[] = {10, 20, 5, 15, 3, 9, 2, 7};
    layMaze(rolls);
}

// Every layer, in order, onto black; the background and the clock face
// always as layers.
inline void renderLayerByLayer() {
    al_clear_to_color(al_map_rgb(0, 0, 0));
    if (!game.inGame) {
        drawMenu();
        return;
    }
    drawBackground();
    drawClockFace();
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

// The plain frame in a window of any size: black, then every layer under
// the transform that scales the 800x600 frame into its box, with the
// pictures filtered as for that scale; an 800x600 window takes the layers
// as they are.
inline void renderPlainlyToWindow() {
    ALLEGRO_BITMAP *window = al_get_target_bitmap();
    const FrameBox box = frameBox(al_get_bitmap_width(window), al_get_bitmap_height(window));
    filterPictures(box.width != screenWidth || box.height != screenHeight);
    if (al_get_bitmap_width(window) == screenWidth &&
        al_get_bitmap_height(window) == screenHeight) {
        renderLayerByLayer();
        return;
    }
    al_clear_to_color(al_map_rgb(0, 0, 0));
    ALLEGRO_BITMAP *frame = al_create_sub_bitmap(window, box.x, box.y, box.width, box.height);
    al_set_target_bitmap(frame);
    ALLEGRO_TRANSFORM scale;
    al_identity_transform(&scale);
    al_scale_transform(&scale, static_cast<float>(box.width) / screenWidth,
                       static_cast<float>(box.height) / screenHeight);
    al_use_transform(&scale);
    renderLayerByLayer();
    al_set_target_bitmap(window);
    al_destroy_bitmap(frame);
}

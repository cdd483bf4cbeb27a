// The frame function: the order in which the drawing layers are laid.
#include "game/game_state.h"
#include "render/backdrop.h"
#include "render/maze_view.h"
#include "render/scene.h"
#include "render/screens.h"
#include "render/texture_mode.h"
#include "shell/shell.h"

namespace {

void layLayers() {
    if (game.inGame) {
        drawBackdrop();
        drawClockHand();
        drawWalls();
        drawArcs();
        drawNumber(game.score, 107, 532);
        drawMouse();
        if (game.gameOver) {
            drawFade();
        }
        drawLevelMessage();
    } else {
        al_clear_to_color(al_map_rgb(0, 0, 0));
        drawMenu();
    }
}

} // namespace

// Every picture is drawn untinted; only the text is tinted, and it says so.
void render() { drawUntinted(layLayers); }

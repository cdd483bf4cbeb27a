// Paints the game's main screens through the real frame function into PNG
// files, without a window.
// usage: screenshots ASSET_DIR OUTPUT_DIR
#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "game/game_state.h"
#include "game/maze.h"
#include "shell/assets.h"
#include "shell/shell.h"

namespace {

struct Shot {
    const char *file;
    void (*setUp)();
};

// One fixed level: a wall and an opening per ring.
void layOutMaze() {
    const int walls[ringCount] = {37, 5, 0, 9};
    const int openings[ringCount] = {10, 4, 20, 2};
    clearMap(wallMap);
    for (int k = 0; k < ringCount; ++k) {
        const RingSpec &ring = ringSpecs[k];
        wallMap.cells[ring.firstIndex + walls[k]] = 1;
        for (int i = 0; i < ring.cells; ++i) {
            arcMap.cells[ring.firstIndex + i] = i == openings[k] ? 0 : 1;
        }
    }
}

// A game in its sixth level, mouse in ring 2 heading clockwise.
void playing(int timeLeft) {
    game = GameState{};
    layOutMaze();
    game.inGame = true;
    game.score = 5;
    game.bestScore = 9;
    game.timeLimit = 772;
    game.timeLeft = timeLeft;
    game.mouse.active = 1;
    game.mouse.ring = 2;
    game.mouse.angle = 30.0f;
    game.mouse.facingRight = true;
    game.mouse.animFrame = 7;
}

void title() {
    game = GameState{};
    game.phaseFrame = 35;
    game.bestScore = 9;
    game.score = 5;
}

void play() { playing(700); }
void warning1() { playing(400); }
void warning2() { playing(200); }
void warning3() { playing(100); }

void message() {
    playing(300);
    game.score = 8;
    game.levelTransition = true;
    game.phaseFrame = 150;
    game.messageIndex = 3;
    game.mouse.ring = 1;
}

void zoom() {
    playing(300);
    game.levelTransition = true;
    game.phaseFrame = 30;
    game.timeLeft = 540;
    game.mouse.ring = 1;
}

void gameOver() {
    playing(0);
    game.mouse.active = 0;
    game.gameOver = true;
    game.phaseFrame = 30;
}

const Shot shots[] = {
    {"title.png", title},       {"play.png", play},         {"warning1.png", warning1},
    {"warning2.png", warning2}, {"warning3.png", warning3}, {"message.png", message},
    {"zoom.png", zoom},         {"gameover.png", gameOver},
};

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ASSET_DIR OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    std::error_code err;
    const std::filesystem::path out = std::filesystem::absolute(argv[2], err);
    std::filesystem::create_directories(out, err);
    std::filesystem::current_path(argv[1], err);
    if (err) {
        std::fprintf(stderr, "screenshots: cannot enter %s: %s\n", argv[1], err.message().c_str());
        return 1;
    }
    if (!al_install_system(ALLEGRO_VERSION_INT, atexit) || !al_init_primitives_addon() ||
        !al_init_image_addon()) {
        std::fprintf(stderr, "screenshots: cannot initialise the Allegro library\n");
        return 1;
    }
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    loadImages();
    loadFont();

    ALLEGRO_BITMAP *frame = al_create_bitmap(screenWidth, screenHeight);
    al_set_target_bitmap(frame);
    // The game's straight-alpha blending for colour; the window shows no
    // alpha, so the saved frame keeps the opaque alpha it was cleared to.
    al_set_separate_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA, ALLEGRO_ADD,
                            ALLEGRO_ZERO, ALLEGRO_ONE);
    int failures = 0;
    for (const Shot &shot : shots) {
        shot.setUp();
        render();
        const std::string path = (out / shot.file).string();
        if (!al_save_bitmap(path.c_str(), frame)) {
            std::fprintf(stderr, "screenshots: cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

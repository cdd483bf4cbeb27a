// The native half of the browser checks: what the page's screenshots should
// show, and where the game keeps its state in the program's memory.
//   web_screen title ASSET_DIR SHOT.png
//       whether the screenshot, of any size, shows the title screen as
//       renderToWindow() lays it in a window of that size (scores 0), drawn
//       with OpenGL (it needs an X display)
//   web_screen offsets
//       the byte offsets of GameState's fields and its size, as JSON:
//       WebAssembly lays the record out as x86-64 does, its fields being 32
//       bits or less
// Exit status 0 when the check holds, 1 when not, 2 when it cannot run.
#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "game/game_state.h"
#include "shell/assets.h"
#include "support/expected_title.h"

namespace {

// The browser draws with WebGL on SwiftShader and its own FreeType; the
// title in an 800x600 canvas, measured: PLACEHOLDER
constexpr int channelTolerance = 8;
constexpr int allowedPerMille = 1;

int offsets() {
    const size_t mouse = offsetof(GameState, mouse);
    std::printf(
        "{\"running\": %zu, \"inGame\": %zu, \"paused\": %zu, \"keyLeft\": %zu, "
        "\"keyRight\": %zu, \"timeLeft\": %zu, \"angle\": %zu, \"speed\": %zu, "
        "\"halfWidth\": %zu, \"size\": %zu, \"flags\": [%zu, %zu, %zu, %zu, %zu, %zu, "
        "%zu, %zu, %zu, %zu]}\n",
        offsetof(GameState, running), offsetof(GameState, inGame), offsetof(GameState, paused),
        offsetof(GameState, keyLeft), offsetof(GameState, keyRight), offsetof(GameState, timeLeft),
        mouse + offsetof(Mouse, angle), mouse + offsetof(Mouse, speed),
        mouse + offsetof(Mouse, halfWidth), sizeof(GameState), offsetof(GameState, running),
        offsetof(GameState, redrawPending), offsetof(GameState, keyLeft),
        offsetof(GameState, keyRight), offsetof(GameState, keyStart), offsetof(GameState, inGame),
        offsetof(GameState, levelTransition), offsetof(GameState, gameOver),
        offsetof(GameState, paused), mouse + offsetof(Mouse, facingRight));
    return 0;
}

int title(const char *assetDir, const char *shotFile) {
    if (!al_init() || !al_init_image_addon() || !al_init_primitives_addon()) {
        std::fprintf(stderr, "web_screen: cannot start Allegro\n");
        return 2;
    }
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    ALLEGRO_BITMAP *loaded = al_load_bitmap(shotFile);
    if (!loaded || chdir(assetDir) != 0) {
        std::fprintf(stderr, "web_screen: cannot read %s or the folder %s\n", shotFile, assetDir);
        return 2;
    }
    Image shot;
    readBitmap(loaded, shot);
    if (!al_create_display(64, 64)) {
        std::fprintf(stderr, "web_screen: no display to draw the title with OpenGL\n");
        return 2;
    }
    al_set_new_bitmap_flags(ALLEGRO_VIDEO_BITMAP);
    loadImages();
    loadFont();
    const int distance =
        titleDistance(shot, expectedTitles(shot.width, shot.height), channelTolerance);
    const int allowed = shot.width * shot.height * allowedPerMille / 1000;
    std::printf("%dx%d: %d pixels differ from the nearest title by more than %d (%d allowed)\n",
                shot.width, shot.height, distance, channelTolerance, allowed);
    return distance >= 0 && distance <= allowed ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 2 && std::strcmp(argv[1], "offsets") == 0) {
        return offsets();
    }
    if (argc == 4 && std::strcmp(argv[1], "title") == 0) {
        return title(argv[2], argv[3]);
    }
    std::fprintf(stderr, "usage: web_screen title ASSET_DIR SHOT.png | web_screen offsets\n");
    return 2;
}

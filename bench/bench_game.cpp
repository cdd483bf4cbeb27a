// In-process figures: one update during play, one maze, one full frame
// into a memory bitmap and onto the display, and loading the assets.
#include <benchmark/benchmark.h>

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "game/game_state.h"
#include "game/maze.h"
#include "render/maze_view.h"
#include "render/rest_scene.h"
#include "render/scene.h"
#include "render/screens.h"
#include "shell/assets.h"
#include "shell/shell.h"
#include "support/plain_frame.h"

namespace {

template <size_t N> void freeBitmaps(ALLEGRO_BITMAP *(&slots)[N]) {
    for (ALLEGRO_BITMAP *&slot : slots) {
        al_destroy_bitmap(slot);
    }
}

void freeAssets() {
    al_destroy_bitmap(assets.clock);
    al_destroy_bitmap(assets.background);
    al_destroy_bitmap(assets.clockHand);
    freeBitmaps(assets.warning);
    freeBitmaps(assets.mouseFrames);
    freeBitmaps(assets.menuFrames);
    freeBitmaps(assets.messages);
    al_destroy_font(assets.font);
    assets = AssetSet{};
    al_destroy_bitmap(restScene.picture);
    restScene = RestScene{};
}

// Pictures loaded while no display is current are memory bitmaps.
void loadAssetsInto(int bitmapFlags) {
    freeAssets();
    al_set_new_bitmap_flags(bitmapFlags);
    loadImages();
    loadFont();
}

// A level in play with a steering key held; the player turns round when a
// wall stops the mouse, so it keeps running and drops through the rings.
// Before it can clear the level or the clock run low, the level is put
// back as it was, so that every timed update is one of a level in play.
void BM_UpdateDuringPlay(benchmark::State &state) {
    std::srand(1);
    levelInPlay();
    game.timeLeft = game.timeLimit;
    game.keyRight = true;
    const GameState level = game;
    const RingCellMap walls = wallMap, arcs = arcMap;
    unsigned n = 0;
    int64_t restarts = 0;
    for (auto _ : state) {
        const float before = game.mouse.angle;
        update();
        if (game.mouse.angle == before) {
            game.keyLeft = game.keyRight;
            game.keyRight = !game.keyLeft;
        }
        if (game.mouse.ring == ringCount || (++n & 255u) == 0) {
            if (!game.inGame || game.levelTransition || game.gameOver) {
                state.SkipWithError("the level left play");
                break;
            }
            game = level;
            wallMap = walls;
            arcMap = arcs;
            ++restarts;
        }
    }
    benchmark::DoNotOptimize(game.mouse.angle);
    state.counters["restarts"] = static_cast<double>(restarts);
}
BENCHMARK(BM_UpdateDuringPlay);

void BM_GenerateMaze(benchmark::State &state) {
    levelInPlay();
    for (auto _ : state) {
        generateMaze();
        game.mouse.angle = game.mouse.angle < 350.0f ? game.mouse.angle + 7.0f : 0.0f;
    }
    benchmark::DoNotOptimize(wallMap.cells[0]);
}
BENCHMARK(BM_GenerateMaze);

void BM_LoadAssets(benchmark::State &state) {
    for (auto _ : state) {
        loadImages();
        loadFont();
        state.PauseTiming();
        freeAssets();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadAssets)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RenderIntoMemoryBitmap(benchmark::State &state) {
    loadAssetsInto(ALLEGRO_MEMORY_BITMAP);
    ALLEGRO_BITMAP *target = al_create_bitmap(screenWidth, screenHeight);
    al_set_target_bitmap(target);
    levelInPlay();
    for (auto _ : state) {
        render();
    }
    al_destroy_bitmap(target);
}

// Frames as the game draws them into its window (800x600, or the screen's
// size with BENCH_FULLSCREEN set), each flipped. Time is the wall clock,
// CPU that of the whole process, the software renderer's threads too. The
// first frame, which smooths the pictures for a scaled window and composes
// the resting scene, is not timed.
void BM_RenderOnDisplay(benchmark::State &state) {
    loadAssetsInto(ALLEGRO_VIDEO_BITMAP);
    al_set_target_backbuffer(shell.display);
    levelInPlay();
    renderToWindow();
    for (auto _ : state) {
        renderToWindow();
        al_flip_display();
    }
}

// The same frame without the composed resting scene: the background and the
// clock face laid as layers, the way render() lays them while zooming.
void BM_RenderPlainlyOnDisplay(benchmark::State &state) {
    loadAssetsInto(ALLEGRO_VIDEO_BITMAP);
    al_set_target_backbuffer(shell.display);
    levelInPlay();
    renderPlainlyToWindow();
    for (auto _ : state) {
        renderPlainlyToWindow();
        al_flip_display();
    }
}

// Frames of the zoom between levels, its 61 in turn: the costliest frames
// of play.
void BM_ZoomOnDisplay(benchmark::State &state) {
    loadAssetsInto(ALLEGRO_VIDEO_BITMAP);
    al_set_target_backbuffer(shell.display);
    levelInPlay();
    game.levelTransition = true;
    renderToWindow();
    for (auto _ : state) {
        game.phaseFrame = game.phaseFrame < zoomFrames ? game.phaseFrame + 1 : 0;
        renderToWindow();
        al_flip_display();
    }
}

} // namespace

// With a display (under Xvfb) the assets load as video bitmaps and the
// frame is timed on the display too; without one, only into memory.
int main(int argc, char **argv) {
    const char *assetDir = argc > 1 && argv[argc - 1][0] != '-' ? argv[--argc] : nullptr;
    if (!assetDir || chdir(assetDir) != 0) {
        std::fprintf(stderr, "usage: bench_game [benchmark flags] ASSET_DIR\n");
        return 2;
    }
    al_install_system(ALLEGRO_VERSION_INT, atexit);
    al_init_primitives_addon();
    al_init_image_addon();
    al_init_font_addon();
    al_init_ttf_addon();
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    const char *fullscreen = std::getenv("BENCH_FULLSCREEN");
    if (fullscreen && *fullscreen) {
        al_set_new_display_flags(ALLEGRO_FULLSCREEN_WINDOW);
    }
    shell.display = al_create_display(screenWidth, screenHeight);
    if (shell.display) {
        const std::string window = std::to_string(al_get_display_width(shell.display)) + "x" +
                                   std::to_string(al_get_display_height(shell.display));
        for (auto [name, function] :
             {std::pair{"BM_RenderOnDisplay/", BM_RenderOnDisplay},
              std::pair{"BM_RenderPlainlyOnDisplay/", BM_RenderPlainlyOnDisplay},
              std::pair{"BM_ZoomOnDisplay/", BM_ZoomOnDisplay}}) {
            benchmark::RegisterBenchmark((name + window).c_str(), function)
                ->Unit(benchmark::kMicrosecond)
                ->MeasureProcessCPUTime()
                ->UseRealTime();
        }
    }
    benchmark::RegisterBenchmark("BM_RenderIntoMemoryBitmap", BM_RenderIntoMemoryBitmap)
        ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

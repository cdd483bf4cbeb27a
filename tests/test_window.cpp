// The game's own start-up and loop on a real window (run under Xvfb), with
// a real 60 Hz timer: what comes before the first frame, and a game's speed
// under a storm of key events.
#include <gtest/gtest.h>

#include <allegro5/allegro.h>

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "game/game_state.h"
#include "game/maze.h"
#include "shell/assets.h"
#include "shell/shell.h"

namespace {

// Where the test's own key events come from.
ALLEGRO_EVENT_SOURCE keys;

class WindowTest : public ::testing::Test {
  protected:
    // The game reads its files from the working directory.
    static void SetUpTestSuite() {
        ASSERT_EQ(chdir(CLOCKMAZE_ASSET_DIR), 0);
        ASSERT_TRUE(startUp()) << "no window: is an X server running?";
        al_init_user_event_source(&keys);
        al_register_event_source(shell.queue, &keys);
    }

    // A user event source must go before the library shuts down, and the
    // loop is over: an exit while it runs would be the library's own.
    static void TearDownTestSuite() {
        al_destroy_user_event_source(&keys);
        game.running = false;
    }
};

// Runs when the suite starts, straight after start-up: the title's first
// picture and the font are in, the game's pictures wait for the loop.
TEST_F(WindowTest, StartUpLoadsOnlyWhatTheFirstFrameShows) {
    EXPECT_EQ(picturesLoaded, 1);
    EXPECT_NE(assets.menuFrames[0], nullptr);
    EXPECT_NE(assets.font, nullptr);
    EXPECT_EQ(assets.clock, nullptr);
    EXPECT_TRUE(game.running);
    EXPECT_FALSE(game.inGame);
}

struct Cadence {
    int64_t ticks;   // timer ticks over the run
    int32_t updates; // updates run for them
    double seconds;
};

// A level in play on the real loop for `seconds`, while `storm` sends key
// events as fast as it can. The timer is stopped before the queue is
// drained, so every tick of the run is counted and handled.
Cadence playFor(double seconds, bool storm) {
    game.inGame = true;
    game.mouse.active = 1;
    game.mouse.ring = 1;
    game.timeLimit = 1000000;
    game.timeLeft = 1000000;
    al_stop_timer(shell.timer);
    al_flush_event_queue(shell.queue);
    std::atomic<bool> stormy{storm};
    std::thread sender([&] {
        const int keycodes[] = {ALLEGRO_KEY_RIGHT, ALLEGRO_KEY_X, ALLEGRO_KEY_LEFT, ALLEGRO_KEY_Q};
        for (int i = 0; stormy; ++i) {
            ALLEGRO_EVENT ev = {};
            ev.type = i % 3 == 0   ? ALLEGRO_EVENT_KEY_DOWN
                      : i % 3 == 1 ? ALLEGRO_EVENT_KEY_CHAR
                                   : ALLEGRO_EVENT_KEY_UP;
            ev.keyboard.keycode = keycodes[(i / 3) % 4];
            ev.keyboard.repeat = ev.type == ALLEGRO_EVENT_KEY_CHAR;
            al_emit_user_event(&keys, &ev, nullptr);
            usleep(200); // some 5,000 events a second
        }
    });
    const int32_t before = game.timeLeft;
    const int64_t ticksBefore = al_get_timer_count(shell.timer);
    al_start_timer(shell.timer);
    const double start = al_get_time();
    while (al_get_time() - start < seconds) {
        runLoopPass();
    }
    al_stop_timer(shell.timer);
    stormy = false;
    sender.join();
    while (!al_is_event_queue_empty(shell.queue)) {
        runLoopPass();
    }
    return {al_get_timer_count(shell.timer) - ticksBefore, before - game.timeLeft,
            al_get_time() - start};
}

TEST_F(WindowTest, AStormOfKeysLeavesTheGameSpeedAlone) {
    loadImages(); // nothing left to load while idle
    clearMap(wallMap);
    for (uint8_t &cell : arcMap.cells) {
        cell = 1; // no openings: the level never ends
    }
    playFor(0.3, false); // the level's first frames, which compose its scene
    const Cadence calm = playFor(1.5, false);
    const Cadence stormy = playFor(1.5, true);
    std::printf("updates a second: %.1f calm, %.1f in the storm\n", calm.updates / calm.seconds,
                stormy.updates / stormy.seconds);
    // Two updates per tick, never more; a starved machine (the sanitizer
    // build on a loaded one) may stall the loop by more than four ticks, and
    // those are dropped rather than replayed.
    for (const Cadence &run : {calm, stormy}) {
        EXPECT_GT(run.ticks, 60);
        EXPECT_LE(run.updates, 2 * run.ticks) << "key events add no updates";
        EXPECT_GE(run.updates, 2 * run.ticks * 3 / 4) << "two updates per 60 Hz tick";
    }
}

// Going to or from fullscreen may take the focus away for a moment and give
// it back (Wine does): a game pauses only when the focus stays away, or
// goes without a switch.
TEST_F(WindowTest, FullscreenNeverPausesALossOfFocusDoes) {
    struct Row {
        const char *name;
        bool toggle, focusBack, paused;
    };
    const Row rows[] = {{"fullscreen, the focus back at once", true, true, false},
                        {"back to a window, the focus back at once", true, true, false},
                        {"fullscreen, the focus not back", true, false, true},
                        {"back to a window, the focus not back", true, false, true},
                        {"the focus gone without a switch", false, false, true}};
    auto send = [](ALLEGRO_EVENT_TYPE type, int keycode) {
        ALLEGRO_EVENT ev = {};
        ev.type = type;
        ev.keyboard.keycode = keycode;
        al_emit_user_event(&keys, &ev, nullptr);
    };
    auto runFor = [](double seconds) {
        const double start = al_get_time();
        while (al_get_time() - start < seconds) {
            runLoopPass();
        }
    };
    al_start_timer(shell.timer);
    for (const Row &row : rows) {
        game.inGame = true;
        game.paused = false;
        game.mouse.active = 1;
        game.timeLimit = game.timeLeft = 1000000;
        if (row.toggle) {
            send(ALLEGRO_EVENT_KEY_CHAR, ALLEGRO_KEY_F11);
        }
        send(ALLEGRO_EVENT_DISPLAY_SWITCH_OUT, 0);
        if (row.focusBack) {
            send(ALLEGRO_EVENT_DISPLAY_SWITCH_IN, 0);
        }
        runFor(0.2);
        EXPECT_FALSE(game.paused && row.toggle) << row.name << ": paused during the switch";
        runFor(0.8);
        EXPECT_EQ(game.paused, row.paused) << row.name;
    }
    al_stop_timer(shell.timer);
}

} // namespace

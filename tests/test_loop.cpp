// The update cadence of the real loop, fed by events injected into a real
// event queue. No window: frames are drawn into a memory bitmap.
#include <gtest/gtest.h>

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>

#include <unistd.h>

#include <functional>

#include "game/game_state.h"
#include "game/maze.h"
#include "shell/assets.h"
#include "shell/shell.h"

namespace {

class LoopTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(al_install_system(ALLEGRO_VERSION_INT, atexit));
        ASSERT_TRUE(al_init_primitives_addon()); // frames draw real walls and arcs
    }

    void SetUp() override {
        game = GameState{};
        game.running = true;
        clearMap(wallMap);
        for (uint8_t &cell : arcMap.cells) {
            cell = 1; // no openings: the mouse stays in its ring
        }
        al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
        target = al_create_bitmap(screenWidth, screenHeight);
        al_set_target_bitmap(target);
        shell.queue = al_create_event_queue();
        al_init_user_event_source(&source);
        al_register_event_source(shell.queue, &source);
        picturesLoaded = pictureCount; // none to load, unless a test opens the folder
    }

    void TearDown() override {
        // A user event source must go before the library shuts down.
        al_destroy_user_event_source(&source);
        al_destroy_event_queue(shell.queue);
        shell.queue = nullptr;
        al_set_target_bitmap(nullptr);
        al_destroy_bitmap(target);
    }

    void post(ALLEGRO_EVENT_TYPE type, int keycode = 0, bool repeat = false) {
        ALLEGRO_EVENT ev = {};
        ev.type = type;
        ev.keyboard.keycode = keycode;
        ev.keyboard.repeat = repeat;
        al_emit_user_event(&source, &ev, nullptr);
    }

    void startPlaying() {
        game.inGame = true;
        game.mouse.active = 1;
        game.mouse.ring = 1;
        game.timeLimit = 950;
        game.timeLeft = 900;
    }

    // The game's own pictures, loaded on demand as the game loads them.
    void openAssetFolder() {
        ASSERT_TRUE(al_init_image_addon());
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        ASSERT_EQ(chdir(CLOCKMAZE_ASSET_DIR), 0);
        assets = AssetSet{};
        picturesLoaded = 0;
    }

    void closeAssetFolder() {
        ASSERT_EQ(chdir(here), 0);
        assets = AssetSet{};
    }

    ALLEGRO_BITMAP *target = nullptr;
    ALLEGRO_EVENT_SOURCE source;
    char here[4096] = {};
};

TEST_F(LoopTest, TimerTickGivesOneUpdateOnTitleAndTwoInAGame) {
    game.timeLeft = -1;
    post(ALLEGRO_EVENT_TIMER);
    runLoopPass();
    EXPECT_EQ(game.phaseFrame, 1u) << "title: one update per tick";
    EXPECT_FALSE(game.redrawPending) << "queue drained, so the frame was drawn";

    startPlaying();
    post(ALLEGRO_EVENT_TIMER);
    runLoopPass();
    EXPECT_EQ(game.timeLeft, 898) << "game: two updates per tick";
}

// Key events, auto-repeats included, only set the flags: the game's speed
// is the timer's alone.
TEST_F(LoopTest, KeyEventsRunNoUpdate) {
    startPlaying();
    post(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_RIGHT);
    runLoopPass();
    EXPECT_TRUE(game.keyRight);
    post(ALLEGRO_EVENT_KEY_CHAR, ALLEGRO_KEY_RIGHT, true); // auto-repeat
    runLoopPass();
    post(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_X);
    runLoopPass();
    post(ALLEGRO_EVENT_KEY_UP, ALLEGRO_KEY_RIGHT);
    runLoopPass();
    EXPECT_FALSE(game.keyRight);
    EXPECT_EQ(game.timeLeft, 900) << "no update without a tick";
    EXPECT_EQ(game.mouse.angle, 0.0f);
}

TEST_F(LoopTest, KeysMapOntoThreeSharedFlags) {
    struct Row {
        int keycode;
        bool GameState::*flag;
    };
    const Row rows[] = {{ALLEGRO_KEY_A, &GameState::keyLeft},
                        {ALLEGRO_KEY_LEFT, &GameState::keyLeft},
                        {ALLEGRO_KEY_D, &GameState::keyRight},
                        {ALLEGRO_KEY_RIGHT, &GameState::keyRight},
                        {ALLEGRO_KEY_SPACE, &GameState::keyStart}};
    for (const Row &row : rows) {
        post(ALLEGRO_EVENT_KEY_DOWN, row.keycode);
        handleEvent();
        EXPECT_TRUE(game.*row.flag) << "key " << row.keycode;
        post(ALLEGRO_EVENT_KEY_UP, row.keycode);
        handleEvent();
        EXPECT_FALSE(game.*row.flag) << "key " << row.keycode;
    }

    post(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_LEFT);
    post(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_A);
    post(ALLEGRO_EVENT_KEY_UP, ALLEGRO_KEY_A);
    post(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_ESCAPE);
    for (int i = 0; i < 4; ++i) {
        handleEvent();
    }
    EXPECT_FALSE(game.keyLeft) << "releasing A clears the flag Left still holds";
    EXPECT_FALSE(game.keyRight);
    EXPECT_FALSE(game.keyStart);

    post(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_LEFT);
    post(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_RIGHT);
    handleEvent();
    handleEvent();
    EXPECT_TRUE(game.keyLeft && game.keyRight) << "both steering keys can be held";
}

TEST_F(LoopTest, CloseEndsTheLoopAfterTheCurrentPass) {
    startPlaying();
    post(ALLEGRO_EVENT_DISPLAY_CLOSE);
    runLoop();
    EXPECT_FALSE(game.running);
    EXPECT_EQ(game.timeLeft, 900) << "closing is no tick";
}

TEST_F(LoopTest, FramesWaitUntilTheQueueIsDrained) {
    game.timeLeft = -1;
    post(ALLEGRO_EVENT_TIMER);
    post(ALLEGRO_EVENT_TIMER);
    runLoopPass();
    EXPECT_TRUE(game.redrawPending) << "an event still waits, so no frame yet";
    runLoopPass();
    EXPECT_FALSE(game.redrawPending);
    EXPECT_EQ(game.phaseFrame, 2u) << "updates are never skipped";
}

// The loop loads the pictures as it goes: each before the first frame that
// shows it, the others one per idle pass.
TEST_F(LoopTest, PicturesComeBeforeTheFramesThatShowThem) {
    openAssetFolder();
    ASSERT_FALSE(HasFatalFailure());
    game.timeLeft = -1;
    game.phaseFrame = 29; // the next update shows title slot 3

    post(ALLEGRO_EVENT_TIMER);
    post(ALLEGRO_EVENT_TIMER);
    runLoopPass();
    EXPECT_EQ(picturesLoaded, 0) << "no frame and no idle time while an event waits";
    runLoopPass();
    EXPECT_EQ(picturesLoaded, 5) << "slots 0 to 3 for the frame, one more while idle";
    for (int slot = 0; slot <= 3; ++slot) {
        EXPECT_NE(assets.menuFrames[slot], nullptr) << "title slot " << slot;
    }
    EXPECT_EQ(assets.clock, nullptr) << "the title does not wait for the game's pictures";

    post(ALLEGRO_EVENT_KEY_CHAR);
    runLoopPass();
    EXPECT_EQ(picturesLoaded, 6) << "each pass with no event waiting loads one more";

    startPlaying();
    post(ALLEGRO_EVENT_TIMER);
    runLoopPass();
    EXPECT_EQ(picturesLoaded, pictureCount) << "a game frame needs every picture";
    EXPECT_NE(assets.clock, nullptr);
    EXPECT_NE(assets.messages[12], nullptr);
    closeAssetFolder();
}

// A title frame is drawn only when its picture or a score changes, or the
// window needs it painted again.
TEST_F(LoopTest, TitleFramesAreDrawnOnlyWhenTheyChange) {
    game.timeLeft = -1;
    game.phaseFrame = 0;
    post(ALLEGRO_EVENT_DISPLAY_EXPOSE);
    runLoopPass();
    post(ALLEGRO_EVENT_TIMER);
    runLoopPass();
    struct Row {
        const char *name;
        std::function<void()> change; // before the tick
        bool drawn;
    };
    const Row rows[] = {
        {"the same picture", [] {}, false},
        {"exposed", [this] { post(ALLEGRO_EVENT_DISPLAY_EXPOSE); }, true},
        {"the same picture again", [] {}, false},
        {"switched back to", [this] { post(ALLEGRO_EVENT_DISPLAY_SWITCH_IN); }, true},
        {"a new best score", [] { game.bestScore = 4; }, true},
        {"a new last score", [] { game.score = 3; }, true},
        {"the next picture", [] { game.phaseFrame = 9; }, true},
        {"after a game frame",
         [this] {
             game.inGame = true;
             game.timeLimit = 950;
             game.timeLeft = 900;
             post(ALLEGRO_EVENT_TIMER);
             runLoopPass();
             game.inGame = false;
             game.timeLeft = -1;
         },
         true},
    };
    for (const Row &row : rows) {
        row.change();
        al_clear_to_color(al_map_rgb(255, 0, 255));
        post(ALLEGRO_EVENT_TIMER);
        while (!al_is_event_queue_empty(shell.queue)) {
            runLoopPass();
        }
        unsigned char r, g, b;
        al_unmap_rgb(al_get_pixel(target, 400, 300), &r, &g, &b);
        EXPECT_EQ(!(r == 255 && g == 0 && b == 255), row.drawn) << row.name;
    }
}

} // namespace

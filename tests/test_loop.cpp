// The update cadence of the real loop, fed by events injected into a real
// event queue. No window: frames are drawn into a memory bitmap.
#include <gtest/gtest.h>

#include <allegro5/allegro.h>
#include <allegro5/allegro_primitives.h>

#include <allegro5/allegro_image.h>

#include <unistd.h>

#include <initializer_list>

#include "game/game_state.h"
#include "game/maze.h"
#include "render/screens.h"
#include "shell/assets.h"
#include "shell/mouse_sprites.h"
#include "shell/present.h"
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
        assets.picturesOnDemand = true;
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

TEST_F(LoopTest, KeyboardEventsEachCauseOneUpdate) {
    startPlaying();
    post(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_RIGHT);
    runLoopPass();
    EXPECT_TRUE(game.keyRight);
    EXPECT_EQ(game.timeLeft, 899);

    post(ALLEGRO_EVENT_KEY_CHAR, ALLEGRO_KEY_RIGHT, true); // auto-repeat
    runLoopPass();
    EXPECT_TRUE(game.keyRight);
    EXPECT_EQ(game.timeLeft, 898) << "an auto-repeat brings one more update";

    post(ALLEGRO_EVENT_KEY_UP, ALLEGRO_KEY_RIGHT);
    runLoopPass();
    EXPECT_FALSE(game.keyRight);
    EXPECT_EQ(game.timeLeft, 897);
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
    EXPECT_EQ(game.timeLeft, 899) << "the closing pass still runs its update";
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

// Started by the game itself, the loop loads the pictures as it goes: each
// before the first frame that shows it, the others one per idle pass, and
// of the level messages only the one shown.
TEST_F(LoopTest, PicturesComeBeforeTheFramesThatShowThem) {
    openAssetFolder();
    ASSERT_FALSE(HasFatalFailure());
    game.timeLeft = -1;
    game.phaseFrame = 29; // the next update shows title slot 3

    post(ALLEGRO_EVENT_TIMER);
    post(ALLEGRO_EVENT_TIMER);
    runLoopPass();
    EXPECT_EQ(assets.picturesLoaded, 0) << "no frame and no idle time while an event waits";
    runLoopPass();
    EXPECT_EQ(assets.picturesLoaded, 5) << "slots 0 to 3 for the frame, one more while idle";
    for (int slot = 0; slot <= 3; ++slot) {
        EXPECT_NE(assets.menuFrames[slot], nullptr) << "title slot " << slot;
    }
    EXPECT_EQ(assets.clock, nullptr) << "the title does not wait for the game's pictures";

    post(ALLEGRO_EVENT_KEY_CHAR);
    runLoopPass();
    EXPECT_EQ(assets.picturesLoaded, 6) << "each pass with no event waiting loads one more";

    startPlaying();
    post(ALLEGRO_EVENT_TIMER);
    runLoopPass();
    EXPECT_TRUE(lastingPicturesLoaded()) << "a game frame needs every picture but the messages";
    EXPECT_NE(assets.clock, nullptr);
    EXPECT_TRUE(hasMouseSprite(3));
    for (ALLEGRO_BITMAP *message : assets.messages) {
        EXPECT_EQ(message, nullptr) << "no message is held before a level shows one";
    }

    // A level's message is loaded for its first frame, and is the only one held.
    for (const int shown : {12, 3}) {
        game.levelTransition = true;
        game.phaseFrame = 100;
        game.messageIndex = shown;
        post(ALLEGRO_EVENT_TIMER);
        runLoopPass();
        for (int slot = 0; slot < messageCount; ++slot) {
            EXPECT_EQ(assets.messages[slot] != nullptr, slot == shown)
                << "message slot " << slot << " while " << shown << " shows";
        }
    }
    closeAssetFolder();
}

// Before the loop starts, the title's first frame has its picture; making
// it ready is not a frame, and runs no update.
TEST_F(LoopTest, StartUpLoadsWhatTheFirstFrameShows) {
    openAssetFolder();
    ASSERT_FALSE(HasFatalFailure());
    frameMemo = FrameMemo{};

    readyFirstFrame();
    EXPECT_NE(assets.menuFrames[menuFrameSlot(game.phaseFrame)], nullptr);
    EXPECT_EQ(assets.clock, nullptr) << "the game's pictures wait for the loop";
    EXPECT_EQ(frameMemo.drawn, 0);
    EXPECT_EQ(game.phaseFrame, 0u);
    closeAssetFolder();
}

} // namespace

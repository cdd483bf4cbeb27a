// The update cadence of the real loop, fed by events injected into a real
// event queue. No window: frames are drawn into a memory bitmap.
#include <gtest/gtest.h>

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>

#include <unistd.h>

#include <functional>

#include "audio/audio.h"
#include "game/game_state.h"
#include "game/maze.h"
#include "render/screens.h"
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
        shell.pointerUsed = false;
        clearMap(wallMap);
        for (uint8_t &cell : arcMap.cells) {
            cell = 1; // no openings: the mouse stays in its ring
        }
        al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
        target = al_create_bitmap(screenWidth, screenHeight);
        al_set_target_bitmap(target);
        shell.queue = al_create_event_queue();
        shell.timer = al_create_timer(timerPeriod); // never started: ticks are posted
        al_init_user_event_source(&source);
        al_register_event_source(shell.queue, &source);
        picturesLoaded = pictureCount; // none to load, unless a test opens the folder
    }

    void TearDown() override {
        // A user event source must go before the library shuts down.
        al_destroy_user_event_source(&source);
        al_destroy_event_queue(shell.queue);
        al_destroy_timer(shell.timer);
        shell.queue = nullptr;
        shell.timer = nullptr;
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

    // A gamepad's event, as the library sends it: a button, or an axis of
    // a stick moved to `pos`.
    void postPad(ALLEGRO_EVENT_TYPE type, int button, int stick = 0, int axis = 0,
                 float pos = 0.0f) {
        ALLEGRO_EVENT ev = {};
        ev.type = type;
        ev.joystick.button = button;
        ev.joystick.stick = stick;
        ev.joystick.axis = axis;
        ev.joystick.pos = pos;
        al_emit_user_event(&source, &ev, nullptr);
    }

    // A finger touching (or sliding, or lifting) at (x, y) of the window.
    void postTouch(ALLEGRO_EVENT_TYPE type, int id, float x, float y = 300.0f) {
        ALLEGRO_EVENT ev = {};
        ev.type = type;
        ev.touch.id = id;
        ev.touch.x = x;
        ev.touch.y = y;
        al_emit_user_event(&source, &ev, nullptr);
        handleEvent();
    }

    void postMouse(ALLEGRO_EVENT_TYPE type, int button, float x, float y = 300.0f) {
        ALLEGRO_EVENT ev = {};
        ev.type = type;
        ev.mouse.button = button;
        ev.mouse.x = static_cast<int>(x);
        ev.mouse.y = static_cast<int>(y);
        al_emit_user_event(&source, &ev, nullptr);
        handleEvent();
    }

    void press(int keycode) {
        post(ALLEGRO_EVENT_KEY_DOWN, keycode);
        post(ALLEGRO_EVENT_KEY_CHAR, keycode);
        post(ALLEGRO_EVENT_KEY_UP, keycode);
        for (int i = 0; i < 3; ++i) {
            handleEvent();
        }
    }

    // Runs `ticks` timer ticks through the loop.
    void tickFor(int ticks) {
        for (int i = 0; i < ticks; ++i) {
            post(ALLEGRO_EVENT_TIMER);
            runLoopPass();
        }
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

// A stall leaves the ticks it missed in the queue; only the last few are
// played, and the game resumes where it stood.
TEST_F(LoopTest, AStallIsNotReplayed) {
    startPlaying();
    al_register_event_source(shell.queue, al_get_timer_event_source(shell.timer));
    al_set_timer_speed(shell.timer, 0.001);
    al_start_timer(shell.timer);
    al_rest(0.3);
    al_stop_timer(shell.timer);
    ASSERT_GT(al_get_timer_count(shell.timer), 100);
    while (!al_is_event_queue_empty(shell.queue)) {
        runLoopPass();
    }
    EXPECT_EQ(game.timeLeft, 900 - 2 * 4) << "the last four ticks, two updates each";
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

// P or Escape pauses a game and resumes it; nothing moves meanwhile. On
// the title P does nothing and Escape quits.
TEST_F(LoopTest, PauseHoldsTheGameStillAndEscapeQuitsTheTitle) {
    startPlaying();
    game.keyRight = true;
    for (const int key : {ALLEGRO_KEY_P, ALLEGRO_KEY_ESCAPE}) {
        press(key);
        EXPECT_TRUE(game.paused) << key;
        const GameState before = game;
        tickFor(5);
        EXPECT_EQ(game.timeLeft, before.timeLeft) << key;
        EXPECT_EQ(game.mouse.angle, before.mouse.angle) << key;
        post(ALLEGRO_EVENT_KEY_CHAR, key, true); // an auto-repeat is no second press
        handleEvent();
        EXPECT_TRUE(game.paused) << key;
        press(key);
        EXPECT_FALSE(game.paused) << key;
        tickFor(1);
        EXPECT_EQ(game.timeLeft, before.timeLeft - 2) << key;
    }

    game = GameState{};
    game.running = true;
    game.timeLeft = -1;
    press(ALLEGRO_KEY_P);
    EXPECT_FALSE(game.paused) << "no pause on the title";
    EXPECT_TRUE(game.running);
    press(ALLEGRO_KEY_ESCAPE);
    EXPECT_FALSE(game.running) << "Escape on the title quits";
}

// Esc pressed to pause as a game ends lands on the title: for a second
// after a game it does nothing there, and quits only after that.
TEST_F(LoopTest, EscapeQuitsTheTitleOnlyAMomentAfterAGame) {
    startPlaying();
    game.mouse.active = 0;
    game.gameOver = true;
    game.phaseFrame = gameOverLength;
    tickFor(1);
    ASSERT_FALSE(game.inGame) << "the game-over sequence gave way to the title";
    press(ALLEGRO_KEY_ESCAPE);
    EXPECT_TRUE(game.running) << "Esc just after the game";
    al_set_timer_count(shell.timer, 59);
    press(ALLEGRO_KEY_ESCAPE);
    EXPECT_TRUE(game.running) << "Esc 59 ticks after the game";
    al_set_timer_count(shell.timer, 60);
    press(ALLEGRO_KEY_ESCAPE);
    EXPECT_FALSE(game.running) << "Esc a second after the game";
}

// Keys let go in another window never reach the game.
TEST_F(LoopTest, LosingFocusReleasesTheKeysAndPausesAGame) {
    for (const bool inGame : {true, false}) {
        game.inGame = inGame;
        game.paused = false;
        game.keyLeft = game.keyRight = game.keyStart = true;
        post(ALLEGRO_EVENT_DISPLAY_SWITCH_OUT);
        handleEvent();
        EXPECT_FALSE(game.keyLeft || game.keyRight || game.keyStart) << inGame;
        EXPECT_EQ(game.paused, inGame);
    }
}

TEST_F(LoopTest, MTogglesTheSound) {
    press(ALLEGRO_KEY_M);
    EXPECT_TRUE(audio.muted);
    press(ALLEGRO_KEY_M);
    EXPECT_FALSE(audio.muted);
}

// The left stick past half its travel steers; its noise near the middle
// leaves a key held on the keyboard alone. The first four buttons are Space;
// Start, or any other, pauses a game and is Space on the title.
TEST_F(LoopTest, AGamepadSteersStartsAndPauses) {
    struct Row {
        const char *name;
        int stick, axis;
        float pos;
        bool left, right;
    };
    const Row rows[] = {
        {"left stick inside the dead zone", 0, 0, -0.4f, false, false},
        {"left stick pushed left", 0, 0, -0.6f, true, false},
        {"left stick across to the right", 0, 0, 0.9f, false, true},
        {"up and down steer nothing", 0, 1, -1.0f, false, true},
        {"another stick steers nothing", 1, 0, -1.0f, false, true},
        {"back to the middle", 0, 0, 0.1f, false, false},
    };
    for (const Row &row : rows) {
        postPad(ALLEGRO_EVENT_JOYSTICK_AXIS, 0, row.stick, row.axis, row.pos);
        handleEvent();
        EXPECT_EQ(game.keyLeft, row.left) << row.name;
        EXPECT_EQ(game.keyRight, row.right) << row.name;
    }
    post(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_LEFT);
    postPad(ALLEGRO_EVENT_JOYSTICK_AXIS, 0, 0, 0, 0.2f);
    handleEvent();
    handleEvent();
    EXPECT_TRUE(game.keyLeft) << "the stick resting in the middle lets go of no key";
    postPad(ALLEGRO_EVENT_JOYSTICK_AXIS, 0, 0, 0, 1.0f);
    postPad(ALLEGRO_EVENT_JOYSTICK_CONFIGURATION, 0);
    handleEvent();
    handleEvent();
    EXPECT_FALSE(game.keyRight) << "a pad unplugged lets go of what it held";

    for (const int button : {0, 3, 7}) {
        postPad(ALLEGRO_EVENT_JOYSTICK_BUTTON_DOWN, button);
        handleEvent();
        EXPECT_TRUE(game.keyStart) << "on the title, button " << button;
        postPad(ALLEGRO_EVENT_JOYSTICK_BUTTON_UP, button);
        handleEvent();
        EXPECT_FALSE(game.keyStart) << "on the title, button " << button;
    }
    startPlaying();
    postPad(ALLEGRO_EVENT_JOYSTICK_BUTTON_DOWN, 2);
    handleEvent();
    EXPECT_FALSE(game.paused) << "a face button does not pause";
    for (const bool paused : {true, false}) {
        postPad(ALLEGRO_EVENT_JOYSTICK_BUTTON_DOWN, 9);
        postPad(ALLEGRO_EVENT_JOYSTICK_BUTTON_UP, 9);
        handleEvent();
        handleEvent();
        EXPECT_EQ(game.paused, paused) << "Start";
    }
}

// A touch, or the mouse's left button, held on a half of the frame steers
// that way; it lets go only of what it held, never of a key or a pad. A tap
// is Space on the title, and in a game pauses on the pause control and
// resumes anywhere, the control found in the frame between its bars.
TEST_F(LoopTest, TouchesAndTheMouseSteerStartAndPause) {
    const float left = 200.0f, right = 600.0f;
    postTouch(ALLEGRO_EVENT_TOUCH_BEGIN, 0, right);
    EXPECT_TRUE(game.keyStart) << "a tap on the title is Space";
    EXPECT_TRUE(shell.pointerUsed) << "play now shows the pause control";
    postTouch(ALLEGRO_EVENT_TOUCH_END, 0, right);
    EXPECT_TRUE(game.keyStart) << "lifted before a tick, the tap still counts";
    EXPECT_FALSE(game.keyRight) << "the title's tap steers nothing";
    tickFor(1);
    EXPECT_TRUE(game.inGame) << "the tap started a game";
    EXPECT_FALSE(game.keyStart) << "and is let go once seen";

    game = GameState{};
    game.running = true;
    startPlaying();
    post(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_LEFT);
    handleEvent();
    postTouch(ALLEGRO_EVENT_TOUCH_BEGIN, 0, right);
    EXPECT_TRUE(game.keyLeft && game.keyRight);
    postTouch(ALLEGRO_EVENT_TOUCH_END, 0, right);
    EXPECT_TRUE(game.keyLeft) << "the key on the keyboard is still held";
    EXPECT_FALSE(game.keyRight);
    postTouch(ALLEGRO_EVENT_TOUCH_BEGIN, 0, left);
    postTouch(ALLEGRO_EVENT_TOUCH_END, 0, left);
    EXPECT_TRUE(game.keyLeft) << "a finger on the key's own side lets go of its own hold only";
    post(ALLEGRO_EVENT_KEY_UP, ALLEGRO_KEY_LEFT);
    handleEvent();

    postPad(ALLEGRO_EVENT_JOYSTICK_AXIS, 0, 0, 0, 1.0f);
    handleEvent();
    postTouch(ALLEGRO_EVENT_TOUCH_BEGIN, 3, right);
    postTouch(ALLEGRO_EVENT_TOUCH_END, 3, right);
    EXPECT_TRUE(game.keyRight) << "the pad still steers that way";
    postPad(ALLEGRO_EVENT_JOYSTICK_AXIS, 0, 0, 0, 0.0f);
    handleEvent();

    struct Row {
        const char *name;
        std::function<void()> act;
        bool left, right;
    };
    const Row rows[] = {
        {"a finger on the left half", [&] { postTouch(ALLEGRO_EVENT_TOUCH_BEGIN, 0, left); }, true,
         false},
        {"a second on the right", [&] { postTouch(ALLEGRO_EVENT_TOUCH_BEGIN, 1, right); }, true,
         true},
        {"the first lifted", [&] { postTouch(ALLEGRO_EVENT_TOUCH_END, 0, left); }, false, true},
        {"the second slid across", [&] { postTouch(ALLEGRO_EVENT_TOUCH_MOVE, 1, left); }, true,
         false},
        {"its touch cancelled", [&] { postTouch(ALLEGRO_EVENT_TOUCH_CANCEL, 1, left); }, false,
         false},
        {"the right mouse button", [&] { postMouse(ALLEGRO_EVENT_MOUSE_BUTTON_DOWN, 2, right); },
         false, false},
        {"the left button held on the right",
         [&] { postMouse(ALLEGRO_EVENT_MOUSE_BUTTON_DOWN, 1, right); }, false, true},
        {"the mouse moved while held", [&] { postMouse(ALLEGRO_EVENT_MOUSE_AXES, 0, left); }, true,
         false},
        {"the focus lost",
         [&] {
             post(ALLEGRO_EVENT_DISPLAY_SWITCH_OUT);
             handleEvent();
         },
         false, false},
        {"the button let go after", [&] { postMouse(ALLEGRO_EVENT_MOUSE_BUTTON_UP, 1, left); },
         false, false},
    };
    for (const Row &row : rows) {
        row.act();
        EXPECT_EQ(game.keyLeft, row.left) << row.name;
        EXPECT_EQ(game.keyRight, row.right) << row.name;
    }

    game.paused = false;
    ALLEGRO_BITMAP *wide = al_create_bitmap(1200, 600); // the frame between bars 200 wide
    al_set_target_bitmap(wide);
    postTouch(ALLEGRO_EVENT_TOUCH_BEGIN, 5, 200.0f + pauseControlX, pauseControlY);
    EXPECT_TRUE(game.paused) << "a tap on the pause control pauses";
    EXPECT_FALSE(game.keyLeft || game.keyRight) << "and steers nothing";
    postTouch(ALLEGRO_EVENT_TOUCH_END, 5, 200.0f + pauseControlX, pauseControlY);
    postTouch(ALLEGRO_EVENT_TOUCH_BEGIN, 5, 300.0f);
    EXPECT_FALSE(game.paused) << "a tap anywhere resumes";
    EXPECT_FALSE(game.keyLeft) << "the tap that resumed steers nothing";
    postTouch(ALLEGRO_EVENT_TOUCH_END, 5, 300.0f);
    al_set_target_bitmap(target);
    al_destroy_bitmap(wide);
}

} // namespace

// Frames put on the window only where they changed. Into memory bitmaps:
// every pixel that differs between two frames lies in the boxes the loop
// redraws, and a change to anything but the hand or the mouse asks for a
// whole frame. Under Xvfb (REGION_TESTS_ON_DISPLAY set): what the window
// shows after each of a run of such frames is the whole frame, exactly.
#include <gtest/gtest.h>

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_x.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "e2e/x_screen.h"
#include "game/game_state.h"
#include "game/maze.h"
#include "render/maze_view.h"
#include "render/scene.h"
#include "shell/assets.h"
#include "shell/mouse_sprites.h"
#include "shell/present.h"
#include "shell/shell.h"
#include "shell/window_region.h"

namespace {

// The target's colours, 0xRRGGBB row by row, as the window would show them.
std::vector<uint32_t> colours(ALLEGRO_BITMAP *bitmap) {
    const int w = al_get_bitmap_width(bitmap), h = al_get_bitmap_height(bitmap);
    std::vector<uint32_t> out(static_cast<size_t>(w * h));
    ALLEGRO_LOCKED_REGION *region =
        al_lock_bitmap(bitmap, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
    for (int y = 0; y < h; ++y) {
        const auto *row = static_cast<const unsigned char *>(region->data) + y * region->pitch;
        for (int x = 0; x < w; ++x) {
            const unsigned char *p = row + 4 * x;
            out[static_cast<size_t>(y * w + x)] = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        }
    }
    al_unlock_bitmap(bitmap);
    return out;
}

std::vector<uint32_t> frameColours(ALLEGRO_BITMAP *target) {
    al_set_target_bitmap(target);
    render();
    return colours(target);
}

bool inside(const ScreenBox &b, int x, int y) {
    return x >= b.x0 && x < b.x1 && y >= b.y0 && y < b.y1;
}

// The level every row starts from: a clock of 360 updates, so that each
// update turns the hand one degree.
void levelInPlay() {
    game = GameState{};
    game.running = true;
    game.inGame = true;
    game.score = 3;
    game.timeLimit = 360;
    game.timeLeft = 300;
    game.mouse.active = 1;
    game.mouse.ring = 1;
    game.mouse.angle = 30.0f;
    game.mouse.animFrame = 7;
    game.mouse.facingRight = true;
    generateMazeWith([] { return 4; });
}

void loadGamePictures() {
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir(CLOCKMAZE_ASSET_DIR), 0);
    loadImages();
    loadFont();
    ASSERT_EQ(chdir(here), 0);
    ASSERT_NE(assets.clockHand, nullptr);
    ASSERT_TRUE(hasMouseSprite(1));
}

void startLibrary() {
    ASSERT_TRUE(al_install_system(ALLEGRO_VERSION_INT, atexit));
    ASSERT_TRUE(al_init_primitives_addon());
    ASSERT_TRUE(al_init_image_addon());
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
}

TEST(ChangedBoxes, HoldEveryPixelThatChangedOrAskForAWholeFrame) {
    startLibrary();
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    loadGamePictures();
    ALLEGRO_BITMAP *target = al_create_bitmap(screenWidth, screenHeight);
    struct Row {
        const char *name;
        std::function<void()> base; // from a level in play, before the change
        std::function<void()> change;
        bool regions; // false: only a whole frame will do
    };
    const auto tick = [] { game.timeLeft -= 1; };
    // Updates left of the clock's 360.
    const auto at = [](int timeLeft) { return [timeLeft] { game.timeLeft = timeLeft; }; };
    const auto message = [](unsigned phase) {
        return [phase] {
            game.levelTransition = true, game.phaseFrame = phase, game.messageIndex = 2;
        };
    };
    const Row rows[] = {
        {"the hand turns a degree", at(300), tick, true},
        {"the hand leaves twelve o'clock", at(360), tick, true},
        {"the hand reaches nine o'clock", at(271), tick, true},
        {"the hand passes six o'clock", at(180), tick, true},
        {"the hand passes three o'clock", at(90), tick, true},
        {"the hand passes two o'clock", at(50), tick, true},
        {"the mouse runs", at(300), [] { game.mouse.angle += 2.65f; }, true},
        {"the mouse runs past twelve", at(300), [] { game.mouse.angle = 358.0f; }, true},
        {"the next run-cycle picture", at(300), [] { game.mouse.animFrame = 12; }, true},
        {"the mouse turns", at(300), [] { game.mouse.facingRight = false; }, true},
        {"the mouse drops a ring", at(300), [] { game.mouse.ring = 2; }, true},
        {"hand and mouse at once, far apart", at(300),
         [] { game.timeLeft -= 1, game.mouse.angle = 200.0f; }, true},
        {"the level message slides in", message(70), [] { game.phaseFrame = 71; }, true},
        {"the level message slides out", message(230), [] { game.phaseFrame = 231; }, true},
        {"the zoom gives way to the message", message(60), [] { game.phaseFrame = 61; }, false},
        {"the background warns", at(240), tick, false},
        {"a level cleared", at(300), [] { game.score = 4; }, false},
        {"a new maze", at(300), [] { generateMazeWith([] { return 9; }); }, false},
        {"the zoom starts", at(300), [] { game.levelTransition = true, game.phaseFrame = 1; },
         false},
        {"back to the title", at(300), [] { game.inGame = false; }, false},
    };
    for (const Row &row : rows) {
        levelInPlay();
        row.base();
        const FrameKey before = frameKey();
        const std::vector<uint32_t> first = frameColours(target);
        row.change();
        const FrameKey after = frameKey();
        const std::vector<uint32_t> second = frameColours(target);
        ScreenBox boxes[maxChangedBoxes];
        const int count = changedBoxes(before, after, boxes);
        EXPECT_EQ(count > 0, row.regions) << row.name;
        int changed = 0, outside = 0;
        for (int y = 0; y < screenHeight; ++y) {
            for (int x = 0; x < screenWidth; ++x) {
                const size_t i = static_cast<size_t>(y * screenWidth + x);
                if (first[i] != second[i]) {
                    changed += 1;
                    bool covered = false;
                    for (int b = 0; b < count; ++b) {
                        covered = covered || inside(boxes[b], x, y);
                    }
                    outside += covered ? 0 : 1;
                }
            }
        }
        EXPECT_GT(changed, 0) << row.name << ": the change shows nothing";
        if (row.regions) {
            EXPECT_EQ(outside, 0) << row.name << ": pixels changed outside the boxes";
        }
    }
    al_destroy_bitmap(target);
}

// Steps of a level: the clock runs, the mouse runs round, turns, changes
// picture and drops inward, now and then something needs a whole frame,
// and at last the level's message passes.
void step(int i) {
    game.timeLeft -= 1;
    game.mouse.angle += game.mouse.facingRight ? 2.65f : -2.65f;
    if (game.mouse.angle >= 360.0f) {
        game.mouse.angle -= 360.0f;
    }
    if (game.mouse.angle < 0.0f) {
        game.mouse.angle += 360.0f;
    }
    game.mouse.animFrame = (game.mouse.animFrame + 1) % (4 * mouseFramesPerSprite);
    if (i % 37 == 36) {
        game.mouse.facingRight = !game.mouse.facingRight;
    }
    if (i == 50 || i == 120) {
        game.mouse.ring += 1;
    }
    if (i == 90) {
        game.timeLeft = 100; // the background warns
    }
    if (i >= 130) { // a level cleared: its message slides in, rests and slides out
        game.levelTransition = true;
        game.messageIndex = 5;
        game.phaseFrame = 80 + 2 * static_cast<unsigned>(i - 130);
    }
}

// The game's window under Xvfb with a game's pictures loaded, and a
// connection of the test's own to read the window back. False (and the
// test skipped) without REGION_TESTS_ON_DISPLAY.
bool openTestWindow(XScreen &screen) {
    if (!std::getenv("REGION_TESTS_ON_DISPLAY")) {
        return false;
    }
    startLibrary();
    shell.display = al_create_display(screenWidth, screenHeight);
    EXPECT_NE(shell.display, nullptr);
    EXPECT_TRUE(shell.display && startRegionUpdates(shell.display))
        << "Xvfb's software renderer copies regions";
    loadGamePictures();
    screen.dpy = XOpenDisplay(nullptr);
    EXPECT_NE(screen.dpy, nullptr);
    screen.gameWindow = shell.display ? al_get_x_window_id(shell.display) : 0;
    screen.width = screenWidth, screen.height = screenHeight;
    return shell.display && screen.dpy && regionUpdatesOn();
}

void closeTestWindow(XScreen &screen) {
    if (screen.dpy) {
        XCloseDisplay(screen.dpy);
    }
    al_destroy_display(shell.display);
    shell.display = nullptr;
}

// The whole frame of the current state, drawn where the game draws: an
// off-screen picture would round some edges differently. Where the back
// buffer was right, this changes nothing the next frame starts from.
std::vector<uint32_t> wholeFrame() { return frameColours(al_get_backbuffer(shell.display)); }

// How many pixels of the window differ from the whole frame, and their box.
struct Mismatch {
    int pixels = 0;
    int x0 = 9999, y0 = 9999, x1 = -1, y1 = -1;
};

Mismatch windowAgainstWholeFrame(XScreen &screen) {
    Image shown;
    Mismatch m;
    if (!grabGameWindow(screen, shown)) {
        m.pixels = -1;
        return m;
    }
    const std::vector<uint32_t> expected = wholeFrame();
    for (int y = 0; y < screenHeight; ++y) {
        for (int x = 0; x < screenWidth; ++x) {
            const size_t k = static_cast<size_t>(y * screenWidth + x);
            if (shown.pixels[k] != expected[k]) {
                m.pixels += 1, m.x0 = std::min(m.x0, x), m.x1 = std::max(m.x1, x);
                m.y0 = std::min(m.y0, y), m.y1 = std::max(m.y1, y);
            }
        }
    }
    return m;
}

// Paints over the whole window behind the game's back, as a misbehaving
// window manager might, with no expose event.
void spoilWindow(XScreen &screen) {
    GC gc = XCreateGC(screen.dpy, screen.gameWindow, 0, nullptr);
    XSetForeground(screen.dpy, gc, 0xff00ff);
    XFillRectangle(screen.dpy, screen.gameWindow, gc, 0, 0, screenWidth, screenHeight);
    XFreeGC(screen.dpy, gc);
    XSync(screen.dpy, False);
}

// Each test on the window starts from a level in play, nothing shown yet.
class RegionFrames : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!openTestWindow(screen)) {
            if (HasFailure()) {
                FAIL() << "the game's window could not be opened";
            }
            GTEST_SKIP() << "needs an X server: run with REGION_TESTS_ON_DISPLAY set, under Xvfb";
        }
        levelInPlay();
        frameMemo = FrameMemo{};
    }
    void TearDown() override { closeTestWindow(screen); }
    XScreen screen;
};

TEST_F(RegionFrames, WindowShowsTheWholeFrameAfterEveryStep) {
    int byRegion = 0, mismatched = 0;
    for (int i = 0; i < 200 && mismatched <= 3; ++i) {
        step(i);
        al_set_target_backbuffer(shell.display);
        presentFrame();
        byRegion += frameMemo.regionFrames > 0 ? 1 : 0;
        const Mismatch m = windowAgainstWholeFrame(screen);
        if (m.pixels != 0) {
            mismatched += 1;
            ADD_FAILURE() << "step " << i << ": the window differs from the whole frame in "
                          << m.pixels << " pixels within x " << m.x0 << ".." << m.x1 << ", y "
                          << m.y0 << ".." << m.y1;
        }
    }
    EXPECT_GT(byRegion, 150) << "most steps should have gone to the window by region";
}

// The window is put right from the back buffer now and then: after a run
// of frames skipped as unchanged, and after a run put there by region.
TEST_F(RegionFrames, SpoiltWindowIsPutRightWithinARun) {
    al_set_target_backbuffer(shell.display);
    presentFrame();
    ASSERT_EQ(windowAgainstWholeFrame(screen).pixels, 0);

    spoilWindow(screen);
    EXPECT_EQ(windowAgainstWholeFrame(screen).pixels, screenWidth * screenHeight);
    for (int i = 0; i < maxSkippedFrames; ++i) {
        presentFrame();
    }
    EXPECT_GT(windowAgainstWholeFrame(screen).pixels, 0) << "an unchanged frame is skipped";
    presentFrame();
    EXPECT_EQ(windowAgainstWholeFrame(screen).pixels, 0) << "after a run of skipped frames";

    spoilWindow(screen);
    for (int i = 0; i < maxRegionFrames; ++i) {
        step(i);
        presentFrame();
    }
    EXPECT_GT(windowAgainstWholeFrame(screen).pixels, 0) << "region frames mend only their boxes";
    step(maxRegionFrames);
    presentFrame();
    EXPECT_EQ(windowAgainstWholeFrame(screen).pixels, 0) << "after a run of region frames";
}

// Start-up draws the first frame once into the back buffer, unseen; the
// loop's first frame is then drawn and shown whole, not skipped as there.
TEST_F(RegionFrames, FirstFrameIsReadiedUnseen) {
    spoilWindow(screen);
    al_set_target_backbuffer(shell.display);
    readyFirstFrame();
    EXPECT_EQ(frameMemo.drawn, 0);
    EXPECT_EQ(windowAgainstWholeFrame(screen).pixels, screenWidth * screenHeight)
        << "nothing of the readied frame reaches the window";
    presentFrame();
    EXPECT_EQ(windowAgainstWholeFrame(screen).pixels, 0) << "the loop's first frame";
}

} // namespace

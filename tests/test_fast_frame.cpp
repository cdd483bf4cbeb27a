// The frame as the game draws it, with its shortcuts, against the plain
// layer-by-layer drawing, with the real pictures; and the frame key that
// lets the loop skip a frame identical to the one on the window. Into a
// memory bitmap by default; with FRAME_TESTS_ON_DISPLAY set (under Xvfb),
// into the back buffer of a real window.
#include <gtest/gtest.h>

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "game/maze.h"
#include "render/maze_view.h"
#include "render/scene.h"
#include "render/screens.h"
#include "shell/assets.h"
#include "shell/present.h"
#include "shell/shell.h"

namespace {

// Every byte of the target, alpha included.
std::vector<unsigned char> pixels() {
    ALLEGRO_BITMAP *target = al_get_target_bitmap();
    const int w = al_get_bitmap_width(target), h = al_get_bitmap_height(target);
    std::vector<unsigned char> out(static_cast<size_t>(w * h * 4));
    ALLEGRO_LOCKED_REGION *region =
        al_lock_bitmap(target, ALLEGRO_PIXEL_FORMAT_ABGR_8888, ALLEGRO_LOCK_READONLY);
    for (int y = 0; y < h; ++y) {
        std::memcpy(&out[static_cast<size_t>(y * w * 4)],
                    static_cast<const unsigned char *>(region->data) + y * region->pitch,
                    static_cast<size_t>(w * 4));
    }
    al_unlock_bitmap(target);
    return out;
}

// Every clock layer whole, each over the one before.
void drawWholeClockLayers() {
    if (!isZooming()) {
        al_draw_bitmap(assets.clock, clockCentreX - clockSize / 2, 0.0f, 0);
    } else if (game.gameOver || game.score != 0) {
        drawClockLayer(0);
    }
    for (int k = 1; k <= clockLayers; ++k) {
        drawClockLayer(k);
    }
}

// The hand's whole picture, turned, with nothing clipped.
void drawWholeHand() {
    if (assets.clockHand && game.timeLimit != 0) {
        al_draw_rotated_bitmap(assets.clockHand, 50.0f, 300.0f, clockCentreX, clockCentreY,
                               static_cast<float>(clockHandDegrees() * degToRad), 0);
    }
}

// One library line call per wall.
void drawWallsOneByOne() {
    for (const RingSpec &ring : ringSpecs) {
        for (int i = 0; i < ring.cells; ++i) {
            if (wallMap.cells[ring.firstIndex + i] == 1) {
                const float a = static_cast<float>(i) * ring.cellAngle;
                drawWallSegment(a, ring.innerRadius, a, ring.outerRadius);
            }
        }
    }
}

// One library arc call per cell, as the arcs would be drawn plainly.
void drawArcsOneByOne() {
    for (const RingSpec &ring : ringSpecs) {
        for (int i = 0; i < ring.cells; ++i) {
            if (arcMap.cells[ring.firstIndex + i] == 1) {
                drawArcSegment(static_cast<float>(i) * ring.cellAngle, ring.cellAngle,
                               ring.innerRadius);
            }
        }
    }
}

// The frame the straightforward way: every layer, in order, onto black.
void renderLayerByLayer() {
    al_clear_to_color(al_map_rgb(0, 0, 0));
    if (!game.inGame) {
        drawMenu();
        return;
    }
    drawBackground();
    drawWholeClockLayers();
    drawWholeHand();
    drawWallsOneByOne();
    drawArcsOneByOne();
    drawNumber(game.score, 107, 532);
    drawMouse();
    if (game.gameOver) {
        drawFade();
    }
    drawLevelMessage();
}

int rollsOf(const int *rolls) {
    static const int *next = nullptr;
    if (rolls) {
        next = rolls;
        return 0;
    }
    return *next++;
}

void layMaze(const int (&rolls)[8]) {
    rollsOf(rolls);
    generateMazeWith([] { return rollsOf(nullptr); });
}

// Ring 1's wall in cell 10, its opening in cell 20, and so on inward.
void layKnownMaze() {
    static const int rolls[] = {10, 20, 5, 15, 3, 9, 2, 7};
    layMaze(rolls);
}

void levelInPlay() {
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
    layKnownMaze();
}

class FastFrameTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(al_install_system(ALLEGRO_VERSION_INT, atexit));
        ASSERT_TRUE(al_init_primitives_addon());
        ASSERT_TRUE(al_init_image_addon());
        al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
        if (std::getenv("FRAME_TESTS_ON_DISPLAY")) {
            shell.display = al_create_display(screenWidth, screenHeight);
            ASSERT_NE(shell.display, nullptr) << "no window: is an X server running?";
            target = al_get_backbuffer(shell.display);
        } else {
            al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
            target = al_create_bitmap(screenWidth, screenHeight);
        }
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        ASSERT_EQ(chdir(CLOCKMAZE_ASSET_DIR), 0);
        loadImages();
        loadFont();
        ASSERT_EQ(chdir(here), 0);
        ASSERT_NE(assets.clock, nullptr);
        ASSERT_NE(assets.font, nullptr);
    }

    void SetUp() override {
        al_set_target_bitmap(target);
        levelInPlay();
    }

    // The game's frame and the plain one, byte for byte.
    void expectSameAsLayerByLayer(const char *row) {
        al_clear_to_color(al_map_rgb(255, 0, 255));
        renderLayerByLayer();
        const std::vector<unsigned char> plain = pixels();
        al_clear_to_color(al_map_rgb(0, 255, 255));
        render();
        EXPECT_TRUE(pixels() == plain) << row;
    }

    std::vector<unsigned char> frameOf() {
        render();
        return pixels();
    }

    static ALLEGRO_BITMAP *target;
};

ALLEGRO_BITMAP *FastFrameTest::target = nullptr;

TEST_F(FastFrameTest, FrameIsTheLayersDrawnOneByOne) {
    struct Row {
        const char *name;
        std::function<void()> set;
    };
    const Row rows[] = {
        {"title", [] { game.inGame = false; }},
        {"title, last pictures", [] { game.inGame = false, game.phaseFrame = 195; }},
        {"play, calm background", [] {}},
        {"play, first warning", [] { game.timeLeft = 400; }},
        {"play, second warning", [] { game.timeLeft = 200; }},
        {"play, last warning", [] { game.timeLeft = 100; }},
        {"play, calm again", [] { game.timeLeft = 770; }},
        {"play, hand at three", [] { game.timeLeft = 193; }},
        {"play, empty clock", [] { game.timeLeft = 0; }},
        {"play, mouse in ring 3", [] { game.mouse.ring = 3, game.mouse.angle = 200.0f; }},
        {"opening zoom", [] { game.score = 0, game.levelTransition = true, game.phaseFrame = 20; }},
        {"opening zoom's first frame",
         [] { game.score = 0, game.levelTransition = true, game.phaseFrame = 0; }},
        {"zoom's first frame", [] { game.levelTransition = true, game.phaseFrame = 0; }},
        {"zoom, a third in", [] { game.levelTransition = true, game.phaseFrame = 20; }},
        {"zoom to the next level",
         [] { game.levelTransition = true, game.phaseFrame = 45, game.mouse.ring = 5; }},
        {"zoom's last frame", [] { game.levelTransition = true, game.phaseFrame = 60; }},
        {"level message sliding in",
         [] { game.levelTransition = true, game.phaseFrame = 80, game.messageIndex = 4; }},
        {"level message at rest",
         [] { game.levelTransition = true, game.phaseFrame = 150, game.messageIndex = 12; }},
        {"game over, zooming", [] { game.gameOver = true, game.phaseFrame = 30; }},
        {"game over, white", [] { game.gameOver = true, game.phaseFrame = 60; }},
        {"play after a warning", [] { game.timeLeft = 600; }},
        // The maze's shape is kept between frames: it must follow the map.
        {"play, another maze",
         [] {
             static const int rolls[] = {33, 2, 28, 11, 17, 4, 12, 0};
             layMaze(rolls);
         }},
        {"play, the first maze again", [] {}},
    };
    for (const Row &row : rows) {
        levelInPlay();
        row.set();
        expectSameAsLayerByLayer(row.name);
    }
}

// The screenshot tool blends colour as the game does but leaves the
// target's alpha alone, so it saves the frame's alpha as the frame laid
// it: every pixel must be laid opaque, whatever the target (or the resting
// scene's canvas) held before, or the picture saves with holes.
TEST_F(FastFrameTest, FrameLeavesNothingOfTheTargetBefore) {
    struct Row {
        const char *name;
        std::function<void()> set;
    };
    const Row rows[] = {
        {"title", [] { game.inGame = false; }},
        {"play, calm background", [] {}},
        {"play, last warning", [] { game.timeLeft = 100; }},
        {"opening zoom", [] { game.score = 0, game.levelTransition = true, game.phaseFrame = 20; }},
        {"zoom, a third in", [] { game.levelTransition = true, game.phaseFrame = 20; }},
        {"zoom's last frame", [] { game.levelTransition = true, game.phaseFrame = 60; }},
        {"game over, zooming", [] { game.gameOver = true, game.phaseFrame = 30; }},
    };
    int op, src, dst, alphaOp, alphaSrc, alphaDst;
    al_get_separate_blender(&op, &src, &dst, &alphaOp, &alphaSrc, &alphaDst);
    const ALLEGRO_COLOR hole = al_map_rgba(255, 0, 255, 0);
    for (const Row &row : rows) {
        levelInPlay();
        row.set();
        if (assets.restScene) {
            al_set_target_bitmap(assets.restScene);
            al_clear_to_color(hole);
            assets.restSceneBackground = nullptr; // made again on this canvas
        }
        al_set_target_bitmap(target);
        al_clear_to_color(hole);
        al_set_separate_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA, ALLEGRO_ADD,
                                ALLEGRO_ZERO, ALLEGRO_ONE);
        render();
        al_set_separate_blender(op, src, dst, alphaOp, alphaSrc, alphaDst);
        const std::vector<unsigned char> frame = pixels();
        int holes = 0;
        for (size_t i = 3; i < frame.size(); i += 4) {
            holes += frame[i] != 255 ? 1 : 0;
        }
        EXPECT_EQ(holes, 0) << row.name;
    }
}

// A picture file of the asset folder as the library loads it, whole.
ALLEGRO_BITMAP *loadWhole(const std::string &file) {
    const std::string path = std::string(CLOCKMAZE_ASSET_DIR) + "/" + file;
    return al_load_bitmap_flags(path.c_str(), ALLEGRO_NO_PREMULTIPLIED_ALPHA);
}

// The title keeps most pictures as patches over the first: each frame must
// still be its own file, drawn whole, to the byte. The numbers are left out
// (no font), so that the frame is the picture alone.
TEST_F(FastFrameTest, TitleFramesAreTheirPicturesWhole) {
    struct Row {
        const char *file;
        unsigned phaseFrame; // a title frame showing the picture
    };
    const Row rows[] = {{"startmenu/startmenu06.png", 0},   {"startmenu/startmenu07.png", 10},
                        {"startmenu/startmenu00.png", 20},  {"startmenu/startmenu01.png", 30},
                        {"startmenu/startmenu02.png", 40},  {"startmenu/startmenu03.png", 50},
                        {"startmenu/startmenu04.png", 180}, {"startmenu/startmenu05.png", 190}};
    ALLEGRO_FONT *font = assets.font;
    assets.font = nullptr;
    long sheetPixels = 0; // what the patched pictures keep
    for (const Row &row : rows) {
        game = GameState{};
        game.phaseFrame = row.phaseFrame;
        const int slot = menuFrameSlot(row.phaseFrame);
        ALLEGRO_BITMAP *whole = loadWhole(row.file);
        ASSERT_NE(whole, nullptr) << row.file;
        al_clear_to_color(al_map_rgb(0, 0, 0));
        al_draw_bitmap(whole, 0.0f, 0.0f, 0);
        const std::vector<unsigned char> plain = pixels();
        al_destroy_bitmap(whole);
        al_clear_to_color(al_map_rgb(255, 0, 255));
        render();
        EXPECT_TRUE(pixels() == plain) << row.file;
        EXPECT_EQ(assets.menuPatched[slot], slot != 0) << row.file;
        sheetPixels += slot == 0 ? 0
                                 : al_get_bitmap_width(assets.menuFrames[slot]) *
                                       al_get_bitmap_height(assets.menuFrames[slot]);
    }
    assets.font = font;
    EXPECT_LT(sheetPixels, screenWidth * screenHeight)
        << "seven patched pictures should keep less than one whole picture";
    EXPECT_EQ(assets.menuBaseCopy, nullptr) << "the first picture's copy outlives the title's load";
}

// Messages are kept cropped to the pixels that show: sliding in from the
// right edge, at rest and out past the left one, the frame must be the one
// without the message with its whole file drawn over it.
TEST_F(FastFrameTest, LevelMessagesAreTheirPicturesWhole) {
    struct Row {
        int slot;
        const char *file;
    };
    const Row rows[] = {
        {0, "messages/msg2.png"}, {6, "messages/msg11.png"}, {12, "messages/msg17.png"}};
    // x 880 (just off the right edge), 680, 540, 100 twice (at rest), -200, -500, -900 (gone)
    const unsigned messageFrames[] = {61, 71, 78, 100, 150, 215, 230, 250};
    for (const Row &row : rows) {
        ALLEGRO_BITMAP *whole = loadWhole(row.file);
        ASSERT_NE(whole, nullptr) << row.file;
        ALLEGRO_BITMAP *kept = assets.messages[row.slot];
        EXPECT_LT(al_get_bitmap_width(kept) * al_get_bitmap_height(kept),
                  al_get_bitmap_width(whole) * al_get_bitmap_height(whole))
            << row.file << " is not cropped";
        for (unsigned phaseFrame : messageFrames) {
            levelInPlay();
            game.levelTransition = true;
            game.phaseFrame = phaseFrame;
            game.messageIndex = -1;
            al_clear_to_color(al_map_rgb(255, 0, 255));
            render();
            al_draw_bitmap(whole, levelMessageX(phaseFrame), 200.0f, 0);
            const std::vector<unsigned char> plain = pixels();
            game.messageIndex = row.slot;
            al_clear_to_color(al_map_rgb(0, 255, 255));
            render();
            EXPECT_TRUE(pixels() == plain) << row.file << " at frame " << phaseFrame;
        }
        al_destroy_bitmap(whole);
    }
}

TEST_F(FastFrameTest, FrameKeyChangesExactlyWhenThePictureDoes) {
    struct Row {
        const char *name;
        std::function<void()> base;   // the first state, from a level in play
        std::function<void()> change; // the second
        bool samePicture;
    };
    const auto none = [] {};
    const auto title = [] { game.inGame = false, game.phaseFrame = 20; };
    const auto messageAtRest = [] {
        game.levelTransition = true, game.phaseFrame = 120, game.messageIndex = 3;
    };
    const Row rows[] = {
        {"a steering flag", none, [] { game.keyLeft = true; }, true},
        {"a tick within the hand's degree", none, [] { game.timeLeft = 501; }, true},
        {"a tick onto the next degree", none, [] { game.timeLeft = 497; }, false},
        {"the mouse runs", none, [] { game.mouse.angle += 2.65f; }, false},
        {"the next run-cycle count, same picture", none, [] { game.mouse.animFrame = 8; }, true},
        {"the next run-cycle picture", none, [] { game.mouse.animFrame = 12; }, false},
        {"the mouse turns", none, [] { game.mouse.facingRight = false; }, false},
        {"the mouse drops a ring", none, [] { game.mouse.ring = 2; }, false},
        {"a new maze", none, [] { generateMazeWith([] { return 7; }); }, false},
        {"a level cleared", none, [] { game.score = 6; }, false},
        {"the background warns", none, [] { game.timeLeft = 380; }, false},
        {"the title within one picture", title, [] { game.phaseFrame = 29; }, true},
        {"the next title picture", title, [] { game.phaseFrame = 30; }, false},
        {"a new best score on the title", title, [] { game.bestScore = 10; }, false},
        {"the message at rest", messageAtRest, [] { game.phaseFrame = 180; }, true},
        {"the message slides out", messageAtRest, [] { game.phaseFrame = 210; }, false},
        {"the zoom goes on", [] { game.levelTransition = true, game.phaseFrame = 10; },
         [] { game.phaseFrame = 11; }, false},
        {"the fade goes on", [] { game.gameOver = true, game.phaseFrame = 20; },
         [] { game.phaseFrame = 21; }, false},
    };
    for (const Row &row : rows) {
        levelInPlay();
        row.base();
        const FrameKey before = frameKey();
        const std::vector<unsigned char> first = frameOf();
        row.change();
        const FrameKey after = frameKey();
        const std::vector<unsigned char> second = frameOf();
        EXPECT_EQ(first == second, row.samePicture) << row.name << ": the pictures";
        EXPECT_EQ(std::memcmp(&before, &after, sizeof before) == 0, row.samePicture)
            << row.name << ": the keys";
    }
}

} // namespace

// The frame function with the real pictures: every frame, in a window of
// any size, is the layers drawn plainly, one after the other, byte for
// byte. Into memory bitmaps by default; with FRAME_TESTS_ON_DISPLAY set
// (under Xvfb), into the back buffer of a real 800x600 window and video
// bitmaps of the other sizes.
#include <gtest/gtest.h>

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "game/maze.h"
#include "render/rest_scene.h"
#include "shell/assets.h"
#include "shell/shell.h"
#include "support/frame_rows.h"
#include "support/plain_frame.h"
#include "support/render_fixture.h"

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

class WholeFrameTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(al_install_system(ALLEGRO_VERSION_INT, atexit));
        ASSERT_TRUE(al_init_primitives_addon());
        ASSERT_TRUE(al_init_image_addon());
        al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
        if (std::getenv("FRAME_TESTS_ON_DISPLAY")) {
            // OpenGL, which the game draws with on Windows too.
            al_set_new_display_flags(ALLEGRO_OPENGL);
            shell.display = al_create_display(screenWidth, screenHeight);
            ASSERT_NE(shell.display, nullptr) << "no window: is an X server running?";
            windows.push_back(al_get_backbuffer(shell.display));
            al_set_new_bitmap_flags(ALLEGRO_VIDEO_BITMAP);
        } else {
            al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
            windows.push_back(al_create_bitmap(screenWidth, screenHeight));
        }
        for (const WindowSize &size : windowSizes) {
            if (size.width != screenWidth || size.height != screenHeight) {
                windows.push_back(al_create_bitmap(size.width, size.height));
                ASSERT_NE(windows.back(), nullptr) << size.width << "x" << size.height;
            }
        }
        // Pictures made while no display is current are memory bitmaps.
        assetRoot = std::string(CLOCKMAZE_ASSET_DIR) + "/";
        loadImages();
        loadFont();
        ASSERT_NE(assets.clock, nullptr);
        ASSERT_NE(assets.font, nullptr);
    }

    static void TearDownTestSuite() { assetRoot.clear(); }

    void SetUp() override {
        al_set_target_bitmap(windows[0]);
        levelInPlay();
    }

    static std::vector<ALLEGRO_BITMAP *> windows;
};

std::vector<ALLEGRO_BITMAP *> WholeFrameTest::windows;

std::string sizeOf(ALLEGRO_BITMAP *window) {
    return std::to_string(al_get_bitmap_width(window)) + "x" +
           std::to_string(al_get_bitmap_height(window));
}

// Every game state of frameRows, in every window size.
TEST_F(WholeFrameTest, FrameIsTheLayersDrawnPlainly) {
    for (ALLEGRO_BITMAP *window : windows) {
        al_set_target_bitmap(window);
        for (const FrameRow &row : frameRows) {
            levelInPlay();
            row.set();
            al_clear_to_color(al_map_rgb(255, 0, 255));
            renderPlainlyToWindow();
            const std::vector<unsigned char> plain = pixels();
            al_clear_to_color(al_map_rgb(0, 255, 255));
            renderToWindow();
            EXPECT_TRUE(pixels() == plain) << row.name << ", " << sizeOf(window);
        }
    }
}

// An 800x600 frame draws the pictures unfiltered, as it always has; a
// frame at any other size draws them smoothed, those loaded so far and
// those loaded later alike.
TEST_F(WholeFrameTest, PicturesAreSmoothOnlyInAScaledFrame) {
    const int smooth = ALLEGRO_MIN_LINEAR | ALLEGRO_MAG_LINEAR;
    for (ALLEGRO_BITMAP *window : windows) {
        al_set_target_bitmap(window);
        renderToWindow();
        const bool scaled = al_get_bitmap_width(window) != screenWidth ||
                            al_get_bitmap_height(window) != screenHeight;
        for (ALLEGRO_BITMAP *picture :
             {assets.clock, assets.background, assets.clockHand, assets.mouseFrames[0],
              assets.menuFrames[7], assets.messages[12]}) {
            EXPECT_EQ(al_get_bitmap_flags(picture) & smooth, scaled ? smooth : 0) << sizeOf(window);
        }
    }
    ASSERT_TRUE(assets.filtered) << "the last window is scaled";
    al_destroy_bitmap(assets.messages[12]);
    picturesLoaded = pictureCount - 1; // the last picture, loaded again
    loadNextPicture();
    ASSERT_NE(assets.messages[12], nullptr);
    EXPECT_EQ(al_get_bitmap_flags(assets.messages[12]) & smooth, smooth);
}

// Across a wall, through its middle along the row (or, for a wall nearer
// horizontal, the column), the pixels that are neither the clock face (the
// frame without the maze) nor the wall's colour over it, on either edge.
struct WallEdges {
    int before, after;
};

WallEdges wallEdges(const Snapshot &frame, const Snapshot &face, const FrameBox &box, float angle,
                    float r1, float r2) {
    const float scale = static_cast<float>(box.height) / screenHeight;
    const ScreenPoint a = polarToScreen(angle, r1), b = polarToScreen(angle, r2);
    const int x0 = box.x + static_cast<int>((a.x + b.x) / 2.0f * scale);
    const int y0 = box.y + static_cast<int>((a.y + b.y) / 2.0f * scale);
    const bool acrossRow = std::fabs(std::sin(angle * degToRad)) < 0.71;
    const int dx = acrossRow ? 1 : 0, dy = acrossRow ? 0 : 1;
    const auto kind = [&](int step) {
        const int x = x0 + step * dx, y = y0 + step * dy;
        const Rgb f = face.at(x, y), p = frame.at(x, y);
        const Rgb w{(16 * 240 + f.r * 15) / 255, (64 * 240 + f.g * 15) / 255,
                    (32 * 240 + f.b * 15) / 255};
        const auto near = [](Rgb u, Rgb v) {
            return std::abs(u.r - v.r) <= 3 && std::abs(u.g - v.g) <= 3 && std::abs(u.b - v.b) <= 3;
        };
        return near(p, f) ? 'f' : near(p, w) ? 'w' : '?';
    };
    WallEdges edges{0, 0};
    for (int step = 0; kind(step) != 'f'; --step) {
        edges.before += kind(step) == '?' ? 1 : 0;
    }
    for (int step = 0; kind(step) != 'f'; ++step) {
        edges.after += kind(step) == '?' ? 1 : 0;
    }
    return edges;
}

// Fullscreen, the walls are drawn at the screen's own resolution: across
// each edge of every wall the picture goes from the clock face to the
// wall's colour within 2 pixels, with at most one pixel between. (On the
// display, the 800x600 frame stretched smoothly left 1 to 4 between.)
TEST_F(WholeFrameTest, WallsStaySharpFullscreen) {
    ALLEGRO_BITMAP *window = windows[1];
    const FrameBox box = frameBox(al_get_bitmap_width(window), al_get_bitmap_height(window));
    al_set_target_bitmap(window);
    const RingCellMap walls = wallMap;
    clearMap(wallMap);
    clearMap(arcMap);
    renderToWindow();
    const Snapshot face = snapshot(window);
    wallMap = walls;
    renderToWindow();
    const Snapshot frame = snapshot(window);
    int checked = 0;
    for (const RingSpec &ring : ringSpecs) {
        for (int i = 0; i < ring.cells; ++i) {
            if (wallMap.cells[ring.firstIndex + i] != 1) {
                continue;
            }
            const float angle = static_cast<float>(i) * ring.cellAngle;
            const WallEdges edges =
                wallEdges(frame, face, box, angle, ring.innerRadius, ring.outerRadius);
            EXPECT_LE(edges.before, 1) << "wall at " << angle << " degrees";
            EXPECT_LE(edges.after, 1) << "wall at " << angle << " degrees";
            ++checked;
        }
    }
    EXPECT_EQ(checked, ringCount);
}

// The screenshot tool blends colour as the game does but leaves the
// target's alpha alone, so it saves the frame's alpha as the frame laid
// it: every pixel must be laid opaque, whatever the target (or the resting
// scene's picture) held before, or the picture saves with holes.
TEST_F(WholeFrameTest, FrameLeavesNothingOfTheTargetBefore) {
    struct Row {
        const char *name;
        std::function<void()> set;
    };
    const Row rows[] = {
        {"title", [] { game.inGame = false; }},
        {"play, calm background", [] {}},
        {"play, last warning", [] { game.timeLeft = 100; }},
        {"opening zoom", [] { game.score = 0, game.levelTransition = true, game.phaseFrame = 20; }},
        {"zoom's last frame", [] { game.levelTransition = true, game.phaseFrame = 60; }},
        {"game over, zooming", [] { game.gameOver = true, game.phaseFrame = 30; }},
    };
    int op, src, dst, alphaOp, alphaSrc, alphaDst;
    al_get_separate_blender(&op, &src, &dst, &alphaOp, &alphaSrc, &alphaDst);
    const ALLEGRO_COLOR hole = al_map_rgba(255, 0, 255, 0);
    for (const Row &row : rows) {
        levelInPlay();
        row.set();
        if (restScene.picture) {
            al_set_target_bitmap(restScene.picture);
            al_clear_to_color(hole);
            restScene.background = nullptr; // composed again on this picture
        }
        al_set_target_bitmap(windows[0]);
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

bool sameColour(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

class FrameTest : public RenderTest {};

TEST_F(FrameTest, RenderPaintsTheTargetBitmapForEachScreen) {
    const Rgb titleColour{0, 0, 90}, calm{0, 90, 0}, clock{90, 90, 90}, mouse{200, 0, 0};
    assets.menuFrames[0] = solid(800, 600, titleColour);
    assets.background = solid(800, 600, calm);
    assets.clock = solid(600, 600, clock);
    assets.mouseFrames[0] = solid(600, 600, mouse);
    struct Row {
        const char *name;
        bool inGame, gameOver;
        unsigned phaseFrame;
        Rgb corner, centre, mouseSpot;
    };
    const Row rows[] = {
        {"title", false, false, 0, titleColour, titleColour, titleColour},
        {"playing", true, false, 0, calm, clock, mouse},
        {"game over, white", true, true, 60, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}},
    };
    for (const Row &row : rows) {
        game = GameState{};
        game.inGame = row.inGame;
        game.gameOver = row.gameOver;
        game.phaseFrame = row.phaseFrame;
        game.timeLimit = 950;
        game.timeLeft = 900;
        game.mouse.ring = 1;
        clearTarget();
        render();
        const Snapshot s = shot();
        EXPECT_TRUE(sameColour(s.at(2, 2), row.corner)) << row.name;
        EXPECT_TRUE(sameColour(s.at(400, 300), row.centre)) << row.name;
        EXPECT_TRUE(sameColour(s.at(400, 25), row.mouseSpot)) << row.name;
    }
}

TEST_F(FrameTest, RenderClearsWhatWasThereBefore) {
    al_clear_to_color(al_map_rgb(255, 0, 255));
    render(); // title screen, no pictures loaded
    EXPECT_TRUE(shot().litBox().empty);
}

// In a window of any size the picture is scaled to the largest size that
// fits with its aspect kept, centred between black bars.
TEST_F(FrameTest, AnyWindowShowsTheFrameScaledBetweenBars) {
    struct Row {
        int width, height;
        FrameBox box;
    };
    const Row rows[] = {{1920, 1080, {240, 0, 1440, 1080}},
                        {1000, 600, {100, 0, 800, 600}},
                        {800, 900, {0, 150, 800, 600}},
                        {640, 480, {0, 0, 640, 480}},
                        {1366, 768, {171, 0, 1024, 768}}};
    for (const Row &row : rows) {
        const FrameBox box = frameBox(row.width, row.height);
        EXPECT_EQ(box.x, row.box.x) << row.width << "x" << row.height;
        EXPECT_EQ(box.y, row.box.y) << row.width << "x" << row.height;
        EXPECT_EQ(box.width, row.box.width) << row.width << "x" << row.height;
        EXPECT_EQ(box.height, row.box.height) << row.width << "x" << row.height;
    }

    // The title, the fade and the pause veil fill the frame's box, and no
    // more: 800x600 scaled by 7/6 is 933x700 at x 33.
    const Rgb blue{30, 60, 90};
    assets.menuFrames[0] = solid(800, 600, blue);
    assets.background = solid(800, 600, blue);
    struct Screen {
        const char *name;
        bool inGame, gameOver, paused;
        Rgb colour;
    };
    const Screen screens[] = {{"title", false, false, false, blue},
                              {"game over, white", true, true, false, {255, 255, 255}},
                              {"paused", true, false, true, {11, 22, 33}}};
    ALLEGRO_BITMAP *window = al_create_bitmap(1000, 700);
    for (const Screen &screen : screens) {
        game = GameState{};
        game.inGame = screen.inGame;
        game.gameOver = screen.gameOver;
        game.paused = screen.paused;
        game.phaseFrame = 60;
        game.timeLimit = game.timeLeft = 950;
        al_set_target_bitmap(window);
        al_clear_to_color(al_map_rgb(255, 0, 255));
        renderToWindow();
        const Snapshot s = snapshot(window);
        const Rgb colour = screen.colour;
        const auto near = [colour](Rgb p) {
            return std::abs(p.r - colour.r) <= 1 && std::abs(p.g - colour.g) <= 1 &&
                   std::abs(p.b - colour.b) <= 1;
        };
        const PixelBox picture = s.box(near);
        EXPECT_EQ(picture.left, 33) << screen.name;
        EXPECT_EQ(picture.right, 33 + 933 - 1) << screen.name;
        EXPECT_EQ(picture.top, 0) << screen.name;
        EXPECT_EQ(picture.bottom, 699) << screen.name;
        EXPECT_EQ(s.count([near](Rgb p) { return !near(p); }), (33 + 34) * 700) << screen.name;
        EXPECT_EQ(s.count([](Rgb p) { return p.r == 0 && p.g == 0 && p.b == 0; }), (33 + 34) * 700)
            << screen.name << ": black bars, left 33 and right 34 pixels wide";
    }
    al_set_target_bitmap(target);
    al_destroy_bitmap(window);
}

} // namespace

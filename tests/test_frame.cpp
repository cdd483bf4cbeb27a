// The frame function into a memory bitmap, and the screenshot tool that
// drives it.
#include <gtest/gtest.h>

#include <allegro5/allegro_image.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "game/game_state.h"
#include "game/maze.h"
#include "shell/assets.h"
#include "shell/shell.h"
#include "support/render_fixture.h"

namespace {

namespace fs = std::filesystem;

bool sameColour(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

class FrameTest : public RenderTest {};

TEST_F(FrameTest, RenderPaintsTheTargetBitmapForEachScreen) {
    const Rgb titleColour{0, 0, 90}, calm{0, 90, 0}, clock{90, 90, 90}, mouse{200, 0, 0};
    assets.menuFrames[0] = solid(800, 600, titleColour);
    assets.background = solid(800, 600, calm);
    assets.clock = solid(600, 600, clock);
    ALLEGRO_BITMAP *const frames[4] = {solid(600, 600, mouse)};
    useMouseSprites(frames);
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

class ScreenshotToolTest : public RenderTest {
  protected:
    static int run(const std::string &args) {
        const std::string command = std::string(SCREENSHOTS_TOOL) + " " + args + " 2>/dev/null";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void SetUp() override {
        RenderTest::SetUp();
        ASSERT_TRUE(al_init_image_addon());
        scratch = fs::temp_directory_path() / ("screenshots-test-" + std::to_string(getpid()));
        fs::remove_all(scratch);
        fs::create_directories(scratch / "empty-assets");
    }
    void TearDown() override {
        fs::remove_all(scratch);
        RenderTest::TearDown();
    }
    fs::path scratch;
};

TEST_F(ScreenshotToolTest, WritesEveryScreen) {
    struct Row {
        const char *assetDir;
    };
    const std::string empty = (scratch / "empty-assets").string();
    const Row rows[] = {{empty.c_str()}, {CLOCKMAZE_ASSET_DIR}};
    for (const Row &row : rows) {
        const fs::path out = scratch / "out";
        fs::remove_all(out);
        ASSERT_EQ(run(std::string(row.assetDir) + " " + out.string()), 0) << row.assetDir;
        for (const char *name : {"title.png", "play.png", "warning1.png", "warning2.png",
                                 "warning3.png", "message.png", "zoom.png", "gameover.png"}) {
            ALLEGRO_BITMAP *picture = al_load_bitmap((out / name).c_str());
            ASSERT_NE(picture, nullptr) << row.assetDir << " " << name;
            EXPECT_EQ(al_get_bitmap_width(picture), 800) << name;
            EXPECT_EQ(al_get_bitmap_height(picture), 600) << name;
            al_destroy_bitmap(picture);
        }

        // Whatever the pictures, the game-over shot is at least 150/255 white,
        ALLEGRO_BITMAP *over = al_load_bitmap((out / "gameover.png").c_str());
        const Snapshot overShot = snapshot(over);
        EXPECT_EQ(overShot.count([](Rgb p) { return p.r < 148 || p.g < 148 || p.b < 148; }), 0)
            << row.assetDir;
        al_destroy_bitmap(over);
        // and the play shot has ring 4's wall at 202.5 degrees drawn over the clock.
        ALLEGRO_BITMAP *play = al_load_bitmap((out / "play.png").c_str());
        const Rgb wall = snapshot(play).at(352, 415);
        EXPECT_NEAR(wall.r, 16, 16) << row.assetDir;
        EXPECT_NEAR(wall.g, 64, 16) << row.assetDir;
        EXPECT_NEAR(wall.b, 32, 16) << row.assetDir;
        al_destroy_bitmap(play);
    }
}

TEST_F(ScreenshotToolTest, RefusesBadArguments) {
    EXPECT_EQ(run(""), 2);
    EXPECT_EQ(run((scratch / "no-such-folder").string() + " " + (scratch / "out").string()), 1);
}

} // namespace

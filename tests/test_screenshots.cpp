// The screenshot tool, which paints the main screens with the frame
// function into PNG files, without a window.
#include <gtest/gtest.h>

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/render_fixture.h"

namespace {

namespace fs = std::filesystem;

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
    const std::string empty = (scratch / "empty-assets").string();
    for (const std::string &assetDir : {empty, std::string(CLOCKMAZE_ASSET_DIR)}) {
        const fs::path out = scratch / "out";
        fs::remove_all(out);
        ASSERT_EQ(run(assetDir + " " + out.string()), 0) << assetDir;
        for (const char *name : {"title.png", "play.png", "warning1.png", "warning2.png",
                                 "warning3.png", "message.png", "zoom.png", "gameover.png"}) {
            ALLEGRO_BITMAP *picture = al_load_bitmap((out / name).c_str());
            ASSERT_NE(picture, nullptr) << assetDir << " " << name;
            EXPECT_EQ(al_get_bitmap_width(picture), 800) << name;
            EXPECT_EQ(al_get_bitmap_height(picture), 600) << name;
            al_destroy_bitmap(picture);
        }

        // Whatever the pictures, the game-over shot is at least 150/255 white,
        ALLEGRO_BITMAP *over = al_load_bitmap((out / "gameover.png").c_str());
        const Snapshot overShot = snapshot(over);
        EXPECT_EQ(overShot.count([](Rgb p) { return p.r < 148 || p.g < 148 || p.b < 148; }), 0)
            << assetDir;
        al_destroy_bitmap(over);
        // and the play shot has ring 4's wall at 202.5 degrees drawn over the clock.
        ALLEGRO_BITMAP *play = al_load_bitmap((out / "play.png").c_str());
        const Rgb wall = snapshot(play).at(352, 415);
        EXPECT_NEAR(wall.r, 16, 16) << assetDir;
        EXPECT_NEAR(wall.g, 64, 16) << assetDir;
        EXPECT_NEAR(wall.b, 32, 16) << assetDir;
        al_destroy_bitmap(play);
    }
}

TEST_F(ScreenshotToolTest, RefusesBadArguments) {
    EXPECT_EQ(run(""), 2);
    EXPECT_EQ(run((scratch / "no-such-folder").string() + " " + (scratch / "out").string()), 1);
}

} // namespace

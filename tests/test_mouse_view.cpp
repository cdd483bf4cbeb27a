// Where the mouse is drawn, which way it faces and which sprite it shows.
#include <gtest/gtest.h>

#include "game/game_state.h"
#include "render/maze_view.h"
#include "shell/assets.h"
#include "support/render_fixture.h"

namespace {

// The test sprite: a green body 200 pixels square around the pivot and a red
// nose above it, 20 and 6 x 10 pixels on screen.
const Rgb body{0, 200, 0};
const Rgb nose{255, 0, 0};

bool isBody(Rgb p) { return p.g > 100 && p.r < 60; }
bool isNose(Rgb p) { return p.r > 150 && p.g < 60; }

struct MouseState {
    const char *name;
    bool levelTransition;
    bool gameOver;
    unsigned phaseFrame;
    int ring;
    float angle;
};

class MouseViewTest : public RenderTest {
  protected:
    void SetUp() override {
        RenderTest::SetUp();
        ALLEGRO_BITMAP *sprite = transparent(600, 600);
        paint(sprite, 200, 200, 400, 400, body);
        paint(sprite, 270, 60, 330, 160, nose);
        for (ALLEGRO_BITMAP *&frame : assets.mouseFrames) {
            frame = sprite;
        }
        game.inGame = true;
        game.mouse.facingRight = true;
    }
    void setState(const MouseState &s) {
        game.levelTransition = s.levelTransition;
        game.gameOver = s.gameOver;
        game.score = s.levelTransition && s.phaseFrame <= 60 ? 0 : 4;
        game.phaseFrame = s.phaseFrame;
        game.mouse.ring = s.ring;
        game.mouse.angle = s.angle;
    }
};

TEST_F(MouseViewTest, MouseSitsInItsRingAndRidesTheZoom) {
    struct Row {
        MouseState state;
        int x, y;
    };
    const Row rows[] = {
        {{"opening zoom frame 0", true, false, 0, 1, 0.0f}, 400, 208},
        {{"opening zoom frame 30", true, false, 30, 1, 0.0f}, 400, 141},
        {{"opening zoom frame 60", true, false, 60, 1, 0.0f}, 400, 25},
        {{"level message", true, false, 150, 1, 0.0f}, 400, 209},
        {{"ring 1", false, false, 0, 1, 0.0f}, 400, 25},
        {{"ring 2", false, false, 0, 2, 180.0f}, 400, 524},
        {{"ring 3", false, false, 0, 3, 90.0f}, 574, 299},
        {{"ring 4", false, false, 0, 4, 270.0f}, 275, 300},
        {{"game over frame 30", false, true, 30, 4, 90.0f}, 616, 299},
        {{"game over frame 60", false, true, 60, 4, 90.0f}, 774, 299}, // 774.99999,
    };
    for (const Row &row : rows) {
        setState(row.state);
        clearTarget();
        drawMouse();
        const PixelBox b = shot().box(isBody);
        ASSERT_FALSE(b.empty) << row.state.name;
        // The 20-pixel body spans pt - 10 to pt + 9.
        EXPECT_EQ(b.left + 10, row.x) << row.state.name;
        EXPECT_EQ(b.top + 10, row.y) << row.state.name;
        EXPECT_EQ(b.right - b.left, 19) << row.state.name << ": one tenth of the picture";
    }
}

TEST_F(MouseViewTest, FacingTurnsTheSpriteHalfATurn) {
    struct Row {
        int ring;
        float angle;
        bool facingRight;
        int noseX, noseY; // centre of the nose, within two pixels
    };
    const Row rows[] = {
        {3, 90.0f, true, 574, 280},  // rotation 0: as drawn, nose up
        {3, 90.0f, false, 574, 318}, // 180 degrees: nose down
        {1, 0.0f, true, 381, 25},    // -90 degrees: nose left
        {1, 0.0f, false, 419, 25},   // 90 degrees: nose right
    };
    for (const Row &row : rows) {
        setState({"", false, false, 0, row.ring, row.angle});
        game.mouse.facingRight = row.facingRight;
        clearTarget();
        drawMouse();
        const PixelBox b = shot().box(isNose);
        ASSERT_FALSE(b.empty) << "angle " << row.angle << " right " << row.facingRight;
        EXPECT_NEAR(b.centreX(), row.noseX, 2)
            << "angle " << row.angle << " right " << row.facingRight;
        EXPECT_NEAR(b.centreY(), row.noseY, 2)
            << "angle " << row.angle << " right " << row.facingRight;
    }
}

TEST_F(MouseViewTest, SpriteIsAnimFrameOverSix) {
    const Rgb colours[4] = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}, {200, 200, 0}};
    for (int j = 0; j < 4; ++j) {
        assets.mouseFrames[j] = solid(600, 600, colours[j]);
    }
    struct Row {
        int animFrame;
        int sprite;
    };
    const Row rows[] = {{0, 0}, {5, 0}, {6, 1}, {11, 1}, {12, 2}, {17, 2}, {18, 3}, {23, 3}};
    setState({"", false, false, 0, 1, 0.0f});
    for (const Row &row : rows) {
        game.mouse.animFrame = row.animFrame;
        clearTarget();
        drawMouse();
        const Rgb p = shot().at(400, 25);
        EXPECT_EQ(p.r, colours[row.sprite].r) << "animFrame " << row.animFrame;
        EXPECT_EQ(p.g, colours[row.sprite].g) << "animFrame " << row.animFrame;
        EXPECT_EQ(p.b, colours[row.sprite].b) << "animFrame " << row.animFrame;
    }
}

TEST_F(MouseViewTest, EmptySpriteSlotDrawsNothing) {
    ALLEGRO_BITMAP *sprite = solid(600, 600, {200, 0, 0});
    assets.mouseFrames[0] = assets.mouseFrames[1] = assets.mouseFrames[3] = sprite;
    assets.mouseFrames[2] = nullptr;
    setState({"", false, false, 0, 1, 0.0f});
    game.mouse.animFrame = 12;
    drawMouse();
    EXPECT_TRUE(shot().litBox().empty);
}

} // namespace

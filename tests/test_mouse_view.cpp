// Where the mouse is drawn, which way it faces and which sprite it shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "game/game_state.h"
#include "render/maze_view.h"
#include "shell/assets.h"
#include "shell/mouse_sprites.h"
#include "support/render_fixture.h"
#include "support/same_bytes.h"

namespace {

// The test sprite: a green body 200 pixels square around the pivot and a red
// nose above it, 20 and 6 x 10 pixels on screen.
const Rgb body{0, 200, 0};
const Rgb nose{255, 0, 0};

bool isBody(Rgb p) { return p.g > 100 && p.r < 60; }
bool isNose(Rgb p) { return p.r > 150 && p.g < 60; }
int litIn(const Snapshot &s, const ScreenBox &box) {
    int n = 0;
    for (int y = std::max(box.y0, 0); y < std::min(box.y1, s.height); ++y) {
        for (int x = std::max(box.x0, 0); x < std::min(box.x1, s.width); ++x) {
            n += s.lit(x, y) ? 1 : 0;
        }
    }
    return n;
}

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
        ALLEGRO_BITMAP *const frames[4] = {sprite, sprite, sprite, sprite};
        useMouseSprites(frames);
        game.inGame = true;
        game.mouse.facingRight = true;
    }
    // The mouse lies inside `box`, and drawn clipped to a strip along any
    // edge of it, comes out there as it does whole.
    void expectInItsBox(const ScreenBox &box, const std::string &where) {
        clearTarget();
        drawMouse();
        const Snapshot whole = shot();
        const PixelBox lit = whole.litBox();
        ASSERT_FALSE(lit.empty) << where;
        EXPECT_GE(lit.left, box.x0) << where;
        EXPECT_GE(lit.top, box.y0) << where;
        EXPECT_LT(lit.right, box.x1) << where;
        EXPECT_LT(lit.bottom, box.y1) << where;
        const ScreenBox strips[] = {{box.x0, box.y0, box.x0 + 4, box.y1},
                                    {box.x1 - 4, box.y0, box.x1, box.y1},
                                    {box.x0, box.y0, box.x1, box.y0 + 4},
                                    {box.x0, box.y1 - 4, box.x1, box.y1}};
        for (const ScreenBox &strip : strips) {
            clearTarget();
            clipTo(strip);
            drawMouse();
            al_reset_clipping_rectangle();
            EXPECT_EQ(litIn(shot(), strip), litIn(whole, strip)) << where;
        }
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
        float radius;
        int x, y;
    };
    const Row rows[] = {
        {{"opening zoom frame 0", true, false, 0, 1, 0.0f}, 91.666664f, 400, 208},
        {{"opening zoom frame 30", true, false, 30, 1, 0.0f}, 158.77133f, 400, 141},
        {{"opening zoom frame 60", true, false, 60, 1, 0.0f}, 275.0f, 400, 25},
        {{"level message", true, false, 150, 1, 0.0f}, 91.0f, 400, 209},
        {{"ring 1", false, false, 0, 1, 0.0f}, 275.0f, 400, 25},
        {{"ring 2", false, false, 0, 2, 180.0f}, 225.0f, 400, 524},
        {{"ring 3", false, false, 0, 3, 90.0f}, 175.0f, 574, 299},
        {{"ring 4", false, false, 0, 4, 270.0f}, 125.0f, 275, 300},
        {{"game over frame 30", false, true, 30, 4, 90.0f}, 216.50635f, 616, 299},
        {{"game over frame 60", false, true, 60, 4, 90.0f}, 375.0f, 774, 299}, // 774.99999,
    };
    for (const Row &row : rows) {
        setState(row.state);
        EXPECT_NEAR(mouseRadius(), row.radius, 1e-3) << row.state.name;
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
    ALLEGRO_BITMAP *frames[4];
    for (int j = 0; j < 4; ++j) {
        frames[j] = solid(600, 600, colours[j]);
    }
    useMouseSprites(frames);
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

// Frames redrawn in small boxes rest on the mouse's box: what changes when
// it moves, and where drawing it can be skipped. The box lies round the part
// of the sprites that shows, so every sprite must stay inside it: one opaque
// to its corners, and a run cycle whose legs reach out in other places.
TEST_F(MouseViewTest, MouseStaysInItsBox) {
    ALLEGRO_BITMAP *opaque = solid(600, 600, {200, 0, 0});
    ALLEGRO_BITMAP *running[4];
    for (int k = 0; k < 4; ++k) {
        running[k] = transparent(600, 600);
        paint(running[k], 200, 200, 400, 400, body);
        paint(running[k], 150 + 40 * k, 420, 190 + 40 * k, 480 + 40 * k, nose);
    }
    struct Cycle {
        const char *name;
        ALLEGRO_BITMAP *const frames[4];
        int sprite;
    };
    const Cycle cycles[] = {{"opaque", {opaque, opaque, opaque, opaque}, 0},
                            {"first legs", {running[0], running[1], running[2], running[3]}, 0},
                            {"last legs", {running[0], running[1], running[2], running[3]}, 3}};
    const MouseState states[] = {
        {"ring 1", false, false, 0, 1, 0.0f},
        {"ring 4", false, false, 0, 4, 0.0f},
        {"zoom", true, false, 30, 1, 0.0f},
        {"game over", false, true, 10, 2, 0.0f},
    };
    for (const Cycle &cycle : cycles) {
        useMouseSprites(cycle.frames);
        for (const MouseState &state : states) {
            for (float angle = 0.0f; angle < 360.0f; angle += 53.1f) {
                for (const bool right : {true, false}) {
                    setState(state);
                    game.mouse.angle = angle;
                    game.mouse.facingRight = right;
                    game.mouse.animFrame = cycle.sprite * mouseFramesPerSprite;
                    const std::string where = std::string(cycle.name) + ", " + state.name + " at " +
                                              std::to_string(angle);
                    expectInItsBox(mouseBox(cycle.sprite, angle, mouseRadius(), right), where);
                }
            }
        }
    }
    // Most of the running sprites' pictures is keyed out, and so left out
    // of the box: at twelve, the legs' reach across and the body's length.
    setState(states[0]);
    const ScreenBox box = mouseBox(0, 0.0f, mouseRadius(), true);
    EXPECT_LE(box.x1 - box.x0, 40 + 4);
    EXPECT_LE(box.y1 - box.y0, 25 + 4);
}

TEST_F(MouseViewTest, EmptySpriteSlotDrawsNothing) {
    ALLEGRO_BITMAP *sprite = solid(600, 600, {200, 0, 0});
    ALLEGRO_BITMAP *const frames[4] = {sprite, sprite, nullptr, sprite};
    useMouseSprites(frames);
    setState({"", false, false, 0, 1, 0.0f});
    game.mouse.animFrame = 12;
    drawMouse();
    EXPECT_TRUE(shot().litBox().empty);
}

} // namespace

// One picture shows the four sprites in turn: in any order it must hold
// exactly the sprite asked for, though each is kept only where they differ.
TEST_F(MouseViewTest, OnePictureShowsEachSpriteExactly) {
    ALLEGRO_BITMAP *frames[4];
    for (int k = 0; k < 4; ++k) {
        frames[k] = transparent(600, 600);
        paint(frames[k], 200, 200, 400, 400, body);
        // Legs in a different place for each sprite, one reaching an edge.
        paint(frames[k], 150 + 40 * k, 420, 190 + 40 * k, 480 + 40 * k, nose);
    }
    paint(frames[3], 590, 0, 600, 10, {1, 2, 3});
    useMouseSprites(frames);
    // The legs span x 150 to 310 and y 420 to 600, the mark the top right.
    const PictureBox &box = assets.mouseMoving;
    EXPECT_EQ(box.x, 150);
    EXPECT_EQ(box.y, 0);
    EXPECT_EQ(box.width, 450);
    EXPECT_EQ(box.height, 600);
    for (int sprite : {2, 0, 3, 1, 1, 0, 2, 3}) {
        ALLEGRO_BITMAP *shown = mouseSprite(sprite);
        ASSERT_NE(shown, nullptr) << sprite;
        EXPECT_TRUE(sameBytes(shown, frames[sprite])) << "sprite " << sprite;
    }
}

TEST_F(MouseViewTest, MissingOrMisfitSpritesAreLeftOut) {
    ALLEGRO_BITMAP *big = solid(600, 600, {9, 9, 9}), *other = solid(600, 600, {50, 9, 9});
    ALLEGRO_BITMAP *small = solid(300, 300, {9, 9, 9});
    ALLEGRO_BITMAP *const frames[4] = {nullptr, big, small, other};
    useMouseSprites(frames);
    EXPECT_FALSE(hasMouseSprite(0)) << "missing";
    EXPECT_FALSE(hasMouseSprite(2)) << "another size than the first loaded";
    ASSERT_NE(mouseSprite(3), nullptr);
    EXPECT_TRUE(sameBytes(mouseSprite(3), other));
    EXPECT_TRUE(sameBytes(mouseSprite(1), big));
    EXPECT_EQ(mouseSprite(0), nullptr);
}

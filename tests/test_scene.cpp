// Clock geometry, the zoom and the nested clock face, checked on memory bitmaps.
#include <gtest/gtest.h>

#include <cmath>

#include "game/game_state.h"
#include "render/scene.h"
#include "shell/assets.h"
#include "support/render_fixture.h"

namespace {

TEST(PolarToScreen, TruncatesTowardZero) {
    struct Row {
        float angle;
        float r;
        int x;
        int y;
    };
    const Row rows[] = {
        {0.0f, 275.0f, 400, 25},    // straight up
        {90.0f, 275.0f, 674, 299},  // 674.99999: the factor lies below pi/180
        {180.0f, 100.0f, 400, 399}, // 399.99999
        {90.0f, 175.0f, 574, 299},  // middle of ring 3
        {45.0f, 100.0f, 470, 229},  // 470.71, 229.29: truncated, not rounded
        {0.0f, 350.5f, 400, -50},   // -50.5 goes toward zero, not down to -51
        {270.0f, 450.5f, -50, 300}, // -50.49999
    };
    for (const Row &row : rows) {
        const ScreenPoint pt = polarToScreen(row.angle, row.r);
        EXPECT_EQ(pt.x, row.x) << "angle " << row.angle << " r " << row.r;
        EXPECT_EQ(pt.y, row.y) << "angle " << row.angle << " r " << row.r;
    }
}

TEST(ZoomScale, ThreeToThePowerT) {
    struct Row {
        float t;
        float scale;
    };
    const Row rows[] = {
        {0.0f, 1.0f}, {1.0f, 3.0f}, {0.5f, 1.7320508f}, {-1.0f, 1.0f / 3.0f}, {2.0f, 9.0f}};
    for (const Row &row : rows) {
        EXPECT_FLOAT_EQ(zoomScale(row.t), row.scale) << "t " << row.t;
    }
}

class ClockTest : public RenderTest {
  protected:
    void setState(bool levelTransition, bool gameOver, int score, unsigned phaseFrame) {
        game.inGame = true;
        game.levelTransition = levelTransition;
        game.gameOver = gameOver;
        game.score = score;
        game.phaseFrame = phaseFrame;
    }
};

struct ZoomState {
    const char *name;
    bool levelTransition;
    bool gameOver;
    int score;
    unsigned phaseFrame;
};

const ZoomState playing{"playing", false, false, 3, 0};
const ZoomState opening0{"opening zoom frame 0", true, false, 0, 0};
const ZoomState opening30{"opening zoom frame 30", true, false, 0, 30};
const ZoomState level30{"level zoom frame 30", true, false, 5, 30};
const ZoomState message150{"level message frame 150", true, false, 4, 150};
const ZoomState over30{"game over frame 30", false, true, 0, 30};
const ZoomState over60{"game over frame 60", false, true, 2, 60};

TEST_F(ClockTest, ZoomRunsOnlyThroughFrame60OfASequence) {
    struct Row {
        ZoomState state;
        bool zooming;
        float progress;
    };
    const Row rows[] = {{playing, false, 0.0f}, {opening0, true, 0.0f},    {opening30, true, 0.5f},
                        {level30, true, 0.5f},  {message150, false, 0.0f}, {over60, true, 1.0f}};
    for (const Row &row : rows) {
        setState(row.state.levelTransition, row.state.gameOver, row.state.score,
                 row.state.phaseFrame);
        EXPECT_EQ(isZooming(), row.zooming) << row.state.name;
        if (row.zooming) {
            EXPECT_FLOAT_EQ(zoomProgress(), row.progress) << row.state.name;
        }
    }
}

TEST_F(ClockTest, LayersAreDrawnAtTheirNestedSizes) {
    struct Row {
        ZoomState state;
        int k;
        int left, top, right, bottom; // lit pixels, inclusive, within one pixel
    };
    const Row rows[] = {
        {playing, 1, 300, 200, 499, 399},    // 200 x 200 at (300, 200)
        {playing, 2, 367, 267, 433, 333},    // 66.7 at 366.7
        {playing, 4, 396, 296, 403, 303},    // 7.4 at 396.3
        {level30, 1, 227, 127, 573, 473},    // s = 1.732: side 346.4 at 226.8
        {level30, 0, 0, 0, 799, 599},        // s = 0.577: larger than the window
        {over60, 1, 100, 0, 699, 599},       // s = 1: the full clock
        {message150, 1, 300, 200, 499, 399}, // the message is drawn at rest
    };
    assets.clock = solid(600, 600, {200, 200, 200});
    for (const Row &row : rows) {
        setState(row.state.levelTransition, row.state.gameOver, row.state.score,
                 row.state.phaseFrame);
        clearTarget();
        drawClockLayer(row.k);
        const PixelBox b = shot().litBox();
        ASSERT_FALSE(b.empty) << row.state.name << " layer " << row.k;
        EXPECT_NEAR(b.left, row.left, 1) << row.state.name << " layer " << row.k;
        EXPECT_NEAR(b.top, row.top, 1) << row.state.name << " layer " << row.k;
        EXPECT_NEAR(b.right, row.right, 1) << row.state.name << " layer " << row.k;
        EXPECT_NEAR(b.bottom, row.bottom, 1) << row.state.name << " layer " << row.k;
    }
}

TEST_F(ClockTest, FaceLeavesTheOuterClockOutOnlyInTheOpeningZoom) {
    struct Row {
        ZoomState state;
        int left, top, right, bottom;
    };
    const Row rows[] = {
        {playing, 100, 0, 699, 599}, // the full clock at (100, 0)
        {message150, 100, 0, 699, 599},
        {opening0, 300, 200, 499, 399}, // grows out of the centre: layer 1 at most
        {opening30, 227, 127, 573, 473},
        {level30, 0, 0, 799, 599}, // the outer layer fills the window
        {over30, 0, 0, 799, 599},  // also with score 0
    };
    assets.clock = solid(600, 600, {200, 200, 200});
    for (const Row &row : rows) {
        setState(row.state.levelTransition, row.state.gameOver, row.state.score,
                 row.state.phaseFrame);
        clearTarget();
        drawClockFace();
        const PixelBox b = shot().litBox();
        ASSERT_FALSE(b.empty) << row.state.name;
        EXPECT_NEAR(b.left, row.left, 1) << row.state.name;
        EXPECT_NEAR(b.top, row.top, 1) << row.state.name;
        EXPECT_NEAR(b.right, row.right, 1) << row.state.name;
        EXPECT_NEAR(b.bottom, row.bottom, 1) << row.state.name;
    }
}

TEST_F(ClockTest, FaceNestsSmallerCopiesInTheCentre) {
    // A picture dark in its middle shows each nested copy as a ring of light.
    ALLEGRO_BITMAP *clock = solid(600, 600, {200, 200, 200});
    paint(clock, 150, 150, 450, 450, {0, 0, 0});
    assets.clock = clock;
    setState(false, false, 1, 0);
    drawClockFace();
    const Snapshot s = shot();
    EXPECT_TRUE(s.lit(120, 300)) << "full clock's rim";
    EXPECT_FALSE(s.lit(260, 300)) << "full clock's dark middle";
    EXPECT_TRUE(s.lit(310, 300)) << "rim of the copy 1/3 the size";
    EXPECT_FALSE(s.lit(360, 300)) << "its dark middle";
    EXPECT_TRUE(s.lit(370, 300)) << "rim of the copy 1/9 the size";
}

// The hand as drawn is the picture turned by exactly the whole degrees given.
TEST_F(ClockTest, HandTurnsInWholeDegrees) {
    struct Row {
        int timeLeft;
        int timeLimit;
        float degrees;
    };
    const Row rows[] = {
        {950, 950, -360.0f}, {475, 950, -180.0f},  {1, 950, 0.0f}, // -360 / 950 truncates to 0
        {949, 950, -359.0f},                                       // -359.62
        {700, 950, -265.0f},                                       // -265.26
        {0, 950, 0.0f},      {600, 1000, -216.0f},
    };
    ALLEGRO_BITMAP *hand = transparent(100, 600);
    paint(hand, 48, 20, 52, 290, {255, 255, 255});
    assets.clockHand = hand;
    for (const Row &row : rows) {
        game.timeLeft = row.timeLeft;
        game.timeLimit = row.timeLimit;
        clearTarget();
        drawClockHand();
        const Snapshot drawn = shot();
        clearTarget();
        al_draw_rotated_bitmap(hand, 50.0f, 300.0f, 400.0f, 300.0f,
                               static_cast<float>(row.degrees * degToRad), 0);
        const Snapshot turned = shot();
        int differing = 0;
        for (size_t i = 0; i < drawn.pixels.size(); ++i) {
            differing += drawn.pixels[i].g != turned.pixels[i].g ? 1 : 0;
        }
        EXPECT_EQ(differing, 0) << "timeLeft " << row.timeLeft << " timeLimit " << row.timeLimit;
    }
}

TEST_F(ClockTest, HandPointsWhereTheClockStands) {
    struct Row {
        int timeLeft;
        int timeLimit;
        int litX, litY;   // on the hand
        int darkX, darkY; // opposite it
    };
    const Row rows[] = {
        {1, 950, 400, 150, 400, 450},   // 0 degrees: up, as the picture
        {950, 950, 400, 150, 400, 450}, // one whole turn back
        {475, 950, 400, 450, 400, 150}, // half a turn back: down
        {713, 950, 550, 300, 250, 300}, // -270: right
        {238, 950, 250, 300, 550, 300}, // -90: left
    };
    ALLEGRO_BITMAP *hand = transparent(100, 600);
    paint(hand, 46, 20, 55, 290, {255, 255, 255}); // from the pivot (50, 300) up
    assets.clockHand = hand;
    for (const Row &row : rows) {
        game.timeLeft = row.timeLeft;
        game.timeLimit = row.timeLimit;
        clearTarget();
        drawClockHand();
        const Snapshot s = shot();
        EXPECT_TRUE(s.lit(row.litX, row.litY)) << "timeLeft " << row.timeLeft;
        EXPECT_FALSE(s.lit(row.darkX, row.darkY)) << "timeLeft " << row.timeLeft;
    }
}

TEST_F(ClockTest, NothingIsDrawnFromAnEmptyClockOrAnEmptySlot) {
    ALLEGRO_BITMAP *hand = solid(100, 600, {255, 255, 255});
    assets.clockHand = hand;
    game.timeLeft = 0;
    game.timeLimit = 0;
    drawClockHand();
    EXPECT_TRUE(shot().litBox().empty) << "a zero-length clock has no hand";

    assets = AssetSet{};
    game.timeLimit = 950;
    setState(true, false, 3, 30);
    drawClockHand();
    drawClockFace();
    drawClockLayer(2);
    EXPECT_TRUE(shot().litBox().empty) << "empty slots are skipped";
}

} // namespace

// The state machine driven through update() alone, as the loop drives it.
#include <gtest/gtest.h>

#include <vector>

#include "game/game_state.h"
#include "game/maze.h"
#include "support/cue_log.h"

namespace {

void resetGame() {
    game = GameState{};
    clearMap(wallMap);
    clearMap(arcMap);
    cueLog.clear();
}

void updates(int n) {
    for (int i = 0; i < n; ++i) {
        update();
    }
}

// From the title screen, hold Space for one update.
void startFromTitle() {
    game.keyStart = true;
    update();
    game.keyStart = false;
}

// Run the opening zoom (or any zoom) through to the next playable level.
void finishTransition() {
    for (int i = 0; i < 400 && game.levelTransition; ++i) {
        update();
    }
    ASSERT_FALSE(game.levelTransition);
}

// A maze whose only opening in ring 4 is cell 0 (0 to 22.5 degrees) and
// whose other rings are closed: a mouse there clears the level on its next update.
void mouseOverCentreOpening() {
    clearMap(wallMap);
    for (uint8_t &cell : arcMap.cells) {
        cell = 1;
    }
    arcMap.cells[ringSpecs[3].firstIndex] = 0;
    game.mouse.ring = 4;
    game.mouse.angle = 10.0f;
}

class GameStateTest : public ::testing::Test {
  protected:
    void SetUp() override { resetGame(); }
};

TEST_F(GameStateTest, TitleScreenAnimatesAndStartsMenuMusicOnFirstUpdate) {
    update();
    EXPECT_EQ(game.timeLeft, -1);
    EXPECT_EQ(game.phaseFrame, 1u);
    EXPECT_TRUE(game.redrawPending);
    EXPECT_EQ(cueLog, std::vector<std::string>{"playMenuMusic"});

    updates(198);
    EXPECT_EQ(game.phaseFrame, 199u);
    update();
    EXPECT_EQ(game.phaseFrame, 0u) << "the title cycle is 200 updates";
    EXPECT_EQ(cueLog.size(), 1u) << "the menu music starts once";
}

TEST_F(GameStateTest, HoldingStartOpensWithAZoomThatRefillsTheClock) {
    update();
    cueLog.clear();
    startFromTitle();
    EXPECT_TRUE(game.inGame);
    EXPECT_TRUE(game.levelTransition);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.timeLimit, 1000);
    EXPECT_EQ(game.timeLeft, 1000);
    EXPECT_EQ(game.phaseFrame, 0u);
    EXPECT_EQ(game.mouse.active, 1);
    EXPECT_EQ(game.mouse.ring, 1);
    EXPECT_EQ(game.mouse.animFrame, 16);
    EXPECT_TRUE(game.mouse.facingRight);
    EXPECT_EQ(cueLog, (std::vector<std::string>{"stopAllSounds", "startTickMusic"}));

    // Update k of the zoom shows frame k-1's refill: 600 + 400 * (k-1) / 60.
    struct Row {
        int update;
        int timeLeft;
        unsigned frameAfter;
    };
    const Row rows[] = {{1, 600, 1}, {2, 606, 2}, {3, 613, 3}, {31, 800, 31}, {60, 993, 60}};
    int done = 0;
    for (const Row &row : rows) {
        updates(row.update - done);
        done = row.update;
        EXPECT_EQ(game.timeLeft, row.timeLeft) << "zoom update " << row.update;
        EXPECT_EQ(game.phaseFrame, row.frameAfter) << "zoom update " << row.update;
        EXPECT_TRUE(game.levelTransition) << "zoom update " << row.update;
    }
    update();
    EXPECT_FALSE(game.levelTransition);
    EXPECT_EQ(game.phaseFrame, 0u);
    EXPECT_EQ(game.timeLimit, 950);
    EXPECT_EQ(game.timeLeft, 949) << "the level starts at 950 and counts down in the same update";
    EXPECT_EQ(cueLog.back(), "setTickTempo");

    update();
    EXPECT_EQ(game.timeLeft, 948);
}

TEST_F(GameStateTest, ClockLengthShrinksByFivePercentPerLevel) {
    startFromTitle();
    finishTransition();
    const int expected[] = {950, 902, 856, 813, 772, 733, 696};
    for (int level = 0; level < 7; ++level) {
        // The update that starts a level also counts it down once.
        EXPECT_EQ(game.timeLimit, expected[level]) << "level " << level + 1;
        EXPECT_EQ(game.timeLeft, expected[level] - 1) << "level " << level + 1;
        completeLevel();
        finishTransition();
    }
    EXPECT_EQ(game.score, 7);
    EXPECT_EQ(game.bestScore, 7);
}

TEST_F(GameStateTest, ZoomRefillsFromTheClearedTime) {
    startFromTitle();
    finishTransition();
    game.timeLimit = 902;
    game.timeLeft = 300;
    completeLevel();
    EXPECT_EQ(game.timeAtClear, 300);
    std::vector<int> seen;
    while (game.levelTransition) {
        update();
        if (game.levelTransition) {
            seen.push_back(game.timeLeft);
        }
    }
    ASSERT_EQ(seen.size(), 60u);
    EXPECT_EQ(seen[0], 300);
    EXPECT_EQ(seen[1], 310);
    EXPECT_EQ(seen[2], 320);
    EXPECT_EQ(seen[59], 891);
    EXPECT_EQ(game.timeLimit, 856);
    EXPECT_EQ(game.timeLeft, 855);
}

// Clearing happens inside update (ring passage), before tickPhases runs.
TEST_F(GameStateTest, EveryFourthClearShowsAMessageBeforeTheZoom) {
    startFromTitle();
    finishTransition();
    for (int cleared = 1; cleared <= 8; ++cleared) {
        mouseOverCentreOpening();
        cueLog.clear();
        update();
        EXPECT_EQ(game.score, cleared);
        EXPECT_EQ(game.mouse.ring, 1);
        EXPECT_TRUE(game.levelTransition);
        EXPECT_EQ(cueLog.front(), "playZoomSound");
        if (cleared % 4 == 0) {
            EXPECT_EQ(game.phaseFrame, 62u) << "first message frame drawn, clear " << cleared;
            EXPECT_GE(game.messageIndex, 0);
            EXPECT_LT(game.messageIndex, 13);
            updates(188);
            EXPECT_EQ(game.phaseFrame, 250u);
            update();
            EXPECT_EQ(game.phaseFrame, 0u) << "the zoom follows the message";
            EXPECT_TRUE(game.levelTransition);
        } else {
            EXPECT_EQ(game.phaseFrame, 1u) << "first zoom frame drawn, clear " << cleared;
        }
        finishTransition();
    }
}

TEST_F(GameStateTest, ClockStandsStillDuringMessageAndZoom) {
    startFromTitle();
    finishTransition();
    game.score = 3;
    mouseOverCentreOpening();
    update();
    int held = game.timeLeft;
    updates(100);
    EXPECT_EQ(game.timeLeft, held) << "the message does not touch the clock";
    EXPECT_FALSE(game.gameOver);
}

TEST_F(GameStateTest, TimeUpRunsGameOverThenReturnsToTitleAndMenuMusic) {
    startFromTitle();
    finishTransition();
    completeLevel();
    finishTransition();
    game.timeLeft = 1;
    cueLog.clear();
    update();
    EXPECT_EQ(game.timeLeft, 0);
    EXPECT_FALSE(game.gameOver) << "the clock reaches 0 on one update and ends on the next";
    update();
    EXPECT_TRUE(game.gameOver);
    EXPECT_EQ(game.mouse.active, 0);
    EXPECT_EQ(game.phaseFrame, 0u);
    EXPECT_EQ(cueLog, std::vector<std::string>{"playGameOverSound"});

    updates(60);
    EXPECT_TRUE(game.inGame);
    EXPECT_EQ(game.phaseFrame, 60u);
    update();
    EXPECT_FALSE(game.inGame);
    EXPECT_FALSE(game.gameOver);
    EXPECT_EQ(game.timeLeft, 120);
    EXPECT_EQ(cueLog.back(), "stopTickMusic");
    EXPECT_EQ(game.score, 1) << "the last game's score stays for the title screen";
    EXPECT_EQ(game.bestScore, 1);

    updates(120);
    EXPECT_EQ(game.timeLeft, 0);
    EXPECT_NE(cueLog.back(), "playMenuMusic");
    update();
    EXPECT_EQ(cueLog.back(), "playMenuMusic") << "menu music on the 121st title update";
    EXPECT_EQ(game.timeLeft, -1);
}

TEST_F(GameStateTest, BestScoreOnlyRisesWhenALevelIsCleared) {
    startFromTitle();
    finishTransition();
    EXPECT_EQ(game.bestScore, 0);
    completeLevel();
    completeLevel();
    EXPECT_EQ(game.bestScore, 2);

    game.levelTransition = false;
    game.phaseFrame = 0;
    timeUp();
    updates(61);
    ASSERT_FALSE(game.inGame);
    startFromTitle();
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.bestScore, 2) << "a new game keeps the best score";
    completeLevel();
    EXPECT_EQ(game.bestScore, 2);
}

TEST_F(GameStateTest, HeldStartKeyStartsTheNextGameAtOnce) {
    startFromTitle();
    finishTransition();
    game.keyStart = true;
    timeUp();
    updates(61);
    EXPECT_FALSE(game.inGame);
    update();
    EXPECT_TRUE(game.inGame) << "start is a held state, not a press";
    EXPECT_TRUE(game.levelTransition);
}

TEST_F(GameStateTest, RunningAnimationAdvancesOnlyWhileSteeringInPlay) {
    startFromTitle();
    game.keyLeft = true;
    update();
    EXPECT_EQ(game.mouse.animFrame, 16) << "frozen during the opening zoom";
    game.keyLeft = false;
    finishTransition();

    game.keyLeft = true;
    game.keyRight = true;
    const int expected[] = {17, 18, 19, 20, 21, 22, 23, 0, 1};
    for (int want : expected) {
        update();
        EXPECT_EQ(game.mouse.animFrame, want);
    }
    game.keyLeft = game.keyRight = false;
    update();
    EXPECT_EQ(game.mouse.animFrame, 1);
}

} // namespace

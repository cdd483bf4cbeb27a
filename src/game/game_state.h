// The one record of everything the game knows between updates, and the
// state machine that advances it. Every count is in updates.
#pragma once

#include <cstdint>

// The player's piece. Angles are clock degrees: 0 at twelve, clockwise.
struct Mouse {
    int32_t active = 0;       // alive and taking part in updates (used as a flag)
    float angle = 0.0f;       // clock degrees, kept in [0, 360)
    int32_t ring = 0;         // 1 (outermost) to 4; 5 only while reaching the centre
    float speed = 2.65f;      // degrees per update; never changes
    int32_t halfWidth = 4;    // half the extent along the ring, whole degrees
    int32_t animFrame = 0;    // running animation 0..23; sprite is animFrame / 6
    bool facingRight = false; // last lone steering key was clockwise
};

struct GameState {
    bool running = false;         // the main loop goes on
    bool redrawPending = false;   // a frame should be drawn
    bool keyLeft = false;         // A or Left arrow held
    bool keyRight = false;        // D or Right arrow held
    bool keyStart = false;        // Space held
    bool inGame = false;          // false: title screen
    bool levelTransition = false; // message and/or zoom between levels
    bool gameOver = false;        // game-over sequence running
    bool paused = false;          // a game stands still: no update runs
    uint32_t phaseFrame = 0;      // frame of the current sequence or title animation
    int32_t score = 0;            // levels cleared in this (or the last) game
    int32_t bestScore = 0;        // highest score since start-up
    int32_t timeLimit = 0;        // clock length of this level, updates
    int32_t timeLeft = 0;         // clock remaining; on the title, menu music delay (-1: started)
    int32_t timeAtClear = 0;      // timeLeft when the last level was cleared
    int32_t messageIndex = 0;     // which level-message picture, 0..12
    Mouse mouse;
};

extern GameState game;

// Tunables of the rules, all in updates unless said otherwise.
constexpr int32_t newGameTimeLimit = 1000;
constexpr int32_t newGameRefillStart = 600;
constexpr double timeLimitFactor = 0.95;
constexpr uint32_t zoomLength = 60;
constexpr int32_t messageEvery = 4; // cleared levels
constexpr uint32_t firstMessageFrame = 61;
constexpr uint32_t lastMessageFrame = 250;
constexpr int32_t messageCount = 13;
constexpr uint32_t gameOverLength = 60;
constexpr uint32_t titleCycleLast = 199;
constexpr int32_t menuMusicDelay = 120;
constexpr int32_t mouseAnimLast = 23;

void update();

void startGame();
void completeLevel();
void beginNextLevel();
void timeUp();
void returnToMenu();

void tickPhases();
void countDown();
void menuTick();

// The game states every whole frame is checked in, each set on the level
// levelInPlay() lays out, and the window sizes they are drawn for. The rows
// run in order, so the background and clock composed for the resting scene
// go stale between them as they would in a game.
#pragma once

#include <functional>

#include "game/game_state.h"
#include "shell/shell.h"
#include "support/plain_frame.h"

struct FrameRow {
    const char *name;
    std::function<void()> set;
};

inline const FrameRow frameRows[] = {
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
    {"zoom's first frame", [] { game.levelTransition = true, game.phaseFrame = 0; }},
    {"zoom, the face just over the frame's corners",
     [] { game.levelTransition = true, game.phaseFrame = 29; }},
    {"zoom to the next level",
     [] { game.levelTransition = true, game.phaseFrame = 45, game.mouse.ring = 5; }},
    {"zoom's last frame", [] { game.levelTransition = true, game.phaseFrame = 60; }},
    {"level message sliding in",
     [] { game.levelTransition = true, game.phaseFrame = 80, game.messageIndex = 4; }},
    {"level message at rest",
     [] { game.levelTransition = true, game.phaseFrame = 150, game.messageIndex = 12; }},
    {"game over, zooming", [] { game.gameOver = true, game.phaseFrame = 30; }},
    {"game over, white", [] { game.gameOver = true, game.phaseFrame = 60; }},
    {"paused in play", [] { game.paused = true; }},
    {"paused in a zoom", [] { game.paused = true, game.levelTransition = true; }},
    {"play, another maze",
     [] {
         static const int rolls[] = {33, 2, 28, 11, 17, 4, 12, 0};
         layMaze(rolls);
     }},
};

// The game's own window, fullscreen on a full-HD screen (the frame
// 1440x1080 between bars at the sides) and a window resized to an odd shape
// (1000x750 between bars above and below).
inline const WindowSize windowSizes[] = {{800, 600}, {1920, 1080}, {1000, 900}};

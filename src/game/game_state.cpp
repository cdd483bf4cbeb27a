// The state machine: title screen, opening zoom, playing, level message,
// zoom into the next clock, and game over.
#include "game/game_state.h"

#include <cstdlib>

#include "game/maze.h"
#include "game/mouse.h"
#include "game/sound_cues.h"

GameState game;

void update() {
    if (game.inGame) {
        if (game.mouse.active) {
            moveMouse();
            checkRingPassage();
        }
        tickPhases();
        if (game.mouse.active && !game.levelTransition && !game.gameOver) {
            countDown();
        }
    } else {
        menuTick();
        // A held key, not a press: holding Space right after a game starts the next.
        if (game.keyStart) {
            startGame();
            game.inGame = true;
        }
    }
    game.redrawPending = true;
}

// The clock refills during the zoom from where it stood at the clear
// towards the level's limit; it stands still during the message.
static void tickTransition() {
    uint32_t &frame = game.phaseFrame;
    if (frame == zoomLength) {
        frame = 0;
        beginNextLevel();
    } else if (frame < zoomLength) {
        int32_t refill = game.timeLimit - game.timeAtClear;
        game.timeLeft = game.timeAtClear + refill * static_cast<int32_t>(frame) / 60;
        frame += 1;
    } else if (frame < lastMessageFrame) {
        frame += 1;
    } else {
        frame = 0;
    }
}

void tickPhases() {
    if (game.levelTransition) {
        tickTransition();
    } else if (game.gameOver) {
        if (game.phaseFrame < gameOverLength) {
            game.phaseFrame += 1;
        } else {
            game.phaseFrame = 0;
            returnToMenu();
        }
    } else if (game.keyLeft || game.keyRight) {
        Mouse &mouse = game.mouse;
        mouse.animFrame = mouse.animFrame < mouseAnimLast ? mouse.animFrame + 1 : 0;
    }
}

// The clock reaches 0 on one update and the game ends on the next.
void countDown() {
    if (game.timeLeft > 0) {
        game.timeLeft -= 1;
    } else {
        timeUp();
    }
}

// On the title screen timeLeft doubles as the delay before the menu
// music starts; -1 means it has been started.
void menuTick() {
    game.phaseFrame = game.phaseFrame < titleCycleLast ? game.phaseFrame + 1 : 0;
    if (game.timeLeft > 0) {
        game.timeLeft -= 1;
    } else if (game.timeLeft == 0) {
        playMenuMusic();
        game.timeLeft = -1;
    }
}

// A new game opens with a zoom in which the clock refills from 600 to
// 1000; the maze made here is tested but never shown.
void startGame() {
    stopAllSounds();
    game.inGame = true;
    game.phaseFrame = 0;
    game.levelTransition = false;
    game.score = 0;

    Mouse &mouse = game.mouse;
    mouse.active = 1;
    mouse.angle = 0.0f;
    mouse.ring = 1;
    mouse.facingRight = true;
    mouse.animFrame = 16;

    game.timeLimit = newGameTimeLimit;
    game.timeAtClear = newGameRefillStart;
    game.levelTransition = true;
    game.timeLeft = game.timeLimit;
    startTickMusic();
    generateMaze();
}

// Every fourth cleared level shows a message (frames 61..250) before the zoom.
void completeLevel() {
    game.mouse.ring = 1;
    game.timeAtClear = game.timeLeft;
    game.score += 1;
    playZoomSound();
    game.levelTransition = true;
    if (game.score % messageEvery == 0) {
        game.phaseFrame = firstMessageFrame;
        game.messageIndex = std::rand() % messageCount;
    }
    if (game.bestScore < game.score) {
        game.bestScore = game.score;
    }
}

void beginNextLevel() {
    generateMaze();
    game.levelTransition = false;
    setTickTempo();
    game.timeLimit = static_cast<int32_t>(game.timeLimit * timeLimitFactor);
    game.timeLeft = game.timeLimit;
}

void timeUp() {
    game.mouse.active = 0;
    game.phaseFrame = 0;
    game.gameOver = true;
    playGameOverSound();
}

// The menu music waits 120 title updates, then starts on the 121st.
void returnToMenu() {
    game.inGame = false;
    game.gameOver = false;
    stopTickMusic();
    game.timeLeft = menuMusicDelay;
}

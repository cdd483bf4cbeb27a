// Taking a consistent pair from the running game: its state and the frame
// on screen that was drawn for exactly that state, with the verdict.
#pragma once

#include <string>

#include "e2e/expected_view.h"
#include "e2e/frames.h"
#include "e2e/game_process.h"
#include "e2e/x_screen.h"

// The test's own window sits right of the game's, which the test moves to
// the screen's left edge (the window manager centres it): clear of it at
// every size but fullscreen, up to 1000 pixels wide.
constexpr int expectedViewX = 1100;
constexpr int expectedViewY = 40;

// Both windows are painted by the same GL driver from the same state, so
// the pictures should be identical; a pixel counts as differing when a
// channel is more than 2 apart, and a frame matches with at most 48 such
// pixels (0.01 % of the window).
constexpr int channelTolerance = 2;
constexpr int maxDifferingPixels = 48;

struct Session {
    GameProcess proc;
    XScreen screen;
    WindowLayout layout; // what the game's window should show now
    std::string failDir; // made on the first failure, for the pictures
    int passed = 0;      // checks that held
    int failed = 0;      // checks that did not
};

extern Session session;

struct Capture {
    GameSnapshot snap;
    Image screen;   // the game's window as the X server shows it
    Image expected; // what render() paints for snap
    FrameDiff diff;
    int attempts = 0; // stops of the game it took
};

using StateTest = bool (*)(const GameState &);

// Polls the running game until `wanted` holds; false after `seconds`.
bool waitForState(StateTest wanted, double seconds, GameSnapshot &snap);

enum class CaptureOutcome {
    matched, // a frame drawn for a `wanted` state equals its expected picture
    differs, // consistent pairs were taken but none matched; the closest is kept
    missed   // the game left the `wanted` states before a consistent pair was taken
};

// Stops the game while `wanted` holds and its last frame is on screen.
CaptureOutcome captureFrame(StateTest wanted, Capture &capture);

// The game's window lies left of the test's own, so that no grab of it can
// show the test's window; waits a little for the window manager to put it
// there.
bool checkTestWindowClear(const char *step);

// One check: prints PASS or FAIL with the step's name and detail.
bool check(bool ok, const char *step, const std::string &detail);

// The frame comparison of a step, with the measured difference; on failure
// both pictures are saved as PNG files.
bool checkFrame(const char *step, CaptureOutcome outcome, const Capture &capture);

// Share of pixels that are not black, 0..1: a screen that was drawn at all.
double litShare(const Image &image);

// A step's frame: captured while `wanted` holds, equal to its expected
// picture, and not blank.
bool checkShownFrame(const char *step, StateTest wanted, Capture &capture);
// The checks of checkShownFrame on a frame already captured.
bool checkCapturedFrame(const char *step, CaptureOutcome outcome, const Capture &capture);

// Pause, focus and window size on the real game: the window manager and
// the keyboard are the X server's, as a player's are.
#include "e2e/window_steps.h"

#include <X11/keysym.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "e2e/expected_view.h"
#include "e2e/frame_capture.h"
#include "e2e/play_steps.h"

// The full-HD screen takes the frame at 1.8 times, 1440x1080 between bars
// 240 wide; a 1000x900 window at 1.25 times, 1000x750 between bars 75 high.
static const WindowLayout fullscreenLayout = {1920, 1080};
static const WindowLayout resizedLayout = {1000, 900};
static const WindowLayout plainLayout;

static bool pausedInPlay(const GameState &s) { return playing(s) && s.paused; }
static bool holdingRight(const GameState &s) { return playing(s) && !s.paused && s.keyRight; }
static bool pausedKeysUp(const GameState &s) {
    return pausedInPlay(s) && !s.keyLeft && !s.keyRight;
}

// The clock when play stopped: play goes on once it falls below.
static int32_t stoppedClock;
static bool clockRuns(const GameState &s) {
    return playing(s) && !s.paused && s.timeLeft < stoppedClock;
}

static void pressKey(unsigned long keysym) {
    sendKey(session.screen, keysym, true);
    usleep(20000);
    sendKey(session.screen, keysym, false);
}

// The veil dims every pixel that is not black: the screen differs from the
// same state painted unpaused nearly everywhere.
static bool veilShown(const Capture &veiled) {
    GameSnapshot unpaused = veiled.snap;
    unpaused.state.paused = false;
    Image plain;
    renderExpected(unpaused, plain);
    const int dimmed = compareImages(veiled.screen, plain, channelTolerance).differing;
    const int all = veiled.screen.width * veiled.screen.height;
    return check(dimmed > all / 2, "pause",
                 "the veil covers the game: " + std::to_string(dimmed) + " of " +
                     std::to_string(all) + " pixels differ from the unpaused picture");
}

bool pauseInPlay() {
    GameSnapshot snap;
    pressKey(XK_p);
    Capture veiled;
    if (!check(waitForState(pausedInPlay, 5.0, snap), "pause", "P paused the game") ||
        !checkShownFrame("pause", pausedInPlay, veiled) || !veilShown(veiled)) {
        return false;
    }
    usleep(500000);
    const GameState &was = veiled.snap.state;
    const bool read = readSnapshot(session.proc, snap);
    const GameState &now = snap.state;
    char detail[200];
    std::snprintf(detail, sizeof detail,
                  "half a second later the clock is at %d (was %d), the mouse at %.2f degrees in "
                  "ring %d, sprite %d (was %.2f, %d, %d)",
                  now.timeLeft, was.timeLeft, now.mouse.angle, now.mouse.ring, now.mouse.animFrame,
                  was.mouse.angle, was.mouse.ring, was.mouse.animFrame);
    return check(read && now.paused && now.timeLeft == was.timeLeft &&
                     now.mouse.angle == was.mouse.angle && now.mouse.ring == was.mouse.ring &&
                     now.mouse.animFrame == was.mouse.animFrame,
                 "pause", detail);
}

// Waits for the game's window to take the layout's size; later captures
// expect its picture.
static bool windowSized(const char *step, const WindowLayout &layout) {
    const bool sized = waitForGameWindowSize(session.screen, layout.width, layout.height, 5.0);
    session.layout = layout;
    char detail[80];
    std::snprintf(detail, sizeof detail, "the game's window is %dx%d (wanted %dx%d)",
                  session.screen.width, session.screen.height, layout.width, layout.height);
    return check(sized, step, detail);
}

static bool shownPaused(const char *step) {
    Capture shown;
    return checkShownFrame(step, pausedInPlay, shown);
}

static void pressWithAlt(KeySym key) {
    sendKey(session.screen, XK_Alt_L, true);
    pressKey(key);
    sendKey(session.screen, XK_Alt_L, false);
}

// F11 goes fullscreen, and Alt+Enter, the other key for it, comes back; so
// does Alt with the keypad's Enter.
bool fullscreenAndBack() {
    pressKey(XK_F11);
    if (!windowSized("fullscreen", fullscreenLayout) || !shownPaused("fullscreen")) {
        return false;
    }
    pressWithAlt(XK_Return);
    if (!windowSized("windowed", plainLayout) || !shownPaused("windowed")) {
        return false;
    }
    pressWithAlt(XK_KP_Enter);
    if (!windowSized("keypad-fullscreen", fullscreenLayout)) {
        return false;
    }
    pressWithAlt(XK_KP_Enter);
    return windowSized("keypad-windowed", plainLayout);
}

bool resizedWindow() {
    resizeGameWindow(session.screen, resizedLayout.width, resizedLayout.height);
    if (!windowSized("resized", resizedLayout) || !checkTestWindowClear("resized") ||
        !shownPaused("resized")) {
        return false;
    }
    resizeGameWindow(session.screen, plainLayout.width, plainLayout.height);
    return windowSized("resized-back", plainLayout) && shownPaused("resized-back");
}

bool resumePlay(const char *step) {
    GameSnapshot snap;
    if (!readSnapshot(session.proc, snap)) {
        return check(false, step, "the game's state can be read");
    }
    stoppedClock = snap.state.timeLeft;
    pressKey(XK_p);
    const bool runs = waitForState(clockRuns, 5.0, snap);
    return check(runs, step,
                 "P resumed play: the clock went from " + std::to_string(stoppedClock) + " to " +
                     std::to_string(snap.state.timeLeft));
}

bool focusLoss() {
    GameSnapshot snap;
    sendKey(session.screen, XK_Right, true);
    const bool held = waitForState(holdingRight, 5.0, snap);
    const bool taken = held && activateWindow(session.screen, expectedViewWindow(), 5.0);
    const bool letGo = taken && waitForState(pausedKeysUp, 5.0, snap);
    sendKey(session.screen, XK_Right, false);
    return check(held, "focus-loss", "the game saw Right held") &&
           check(taken, "focus-loss", "the test's own window took the keyboard") &&
           check(letGo, "focus-loss",
                 "the game paused and let go of Right: paused " +
                     std::to_string(snap.state.paused) + ", keyRight " +
                     std::to_string(snap.state.keyRight)) &&
           check(activateWindow(session.screen, session.screen.gameWindow, 5.0), "focus-back",
                 "the game's window has the keyboard again") &&
           resumePlay("focus-back");
}

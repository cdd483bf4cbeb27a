#include "e2e/frame_capture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "e2e/expected_view.h"

Session session;

static void sleepSeconds(double seconds) { usleep(static_cast<useconds_t>(seconds * 1e6)); }

bool waitForState(StateTest wanted, double seconds, GameSnapshot &snap) {
    constexpr double poll = 0.002;
    for (double waited = 0; waited < seconds; waited += poll) {
        if (!readSnapshot(session.proc, snap)) {
            return false;
        }
        if (wanted(snap.state)) {
            return true;
        }
        sleepSeconds(poll);
    }
    return false;
}

// Polls the running game until it has begun the frame for a `wanted`
// state; false once it has left those states.
static bool awaitFrameStart(StateTest wanted) {
    constexpr double poll = 0.001;   // seconds
    constexpr double patience = 0.1; // seconds; then a stop finds out why
    GameState state;
    for (double waited = 0; waited < patience; waited += poll) {
        if (!readGameState(session.proc, state) || !wanted(state)) {
            return false;
        }
        if (!state.redrawPending) {
            break;
        }
        sleepSeconds(poll);
    }
    return true;
}

// A frame shows the state read only if no update ran after it was begun
// (redrawPending still false). A stop can still fall before its flip: the
// screen then shows the frame before, does not match, and is taken again.
static bool frameBegun(const GameSnapshot &snap) { return !snap.state.redrawPending; }

CaptureOutcome captureFrame(StateTest wanted, Capture &capture) {
    constexpr int maxStops = 60;
    constexpr double drawWait = 0.004; // seconds for the game to finish a frame
    bool compared = false;
    GameSnapshot rendered;
    Image expected; // what render() paints for `rendered`
    Image shown;    // the screen at the last comparison
    for (int stop = 1; stop <= maxStops; ++stop) {
        GameSnapshot snap;
        Image shot;
        if (!awaitFrameStart(wanted)) {
            break;
        }
        sleepSeconds(drawWait);
        if (!stopGame(session.proc)) {
            break;
        }
        const bool read = readSnapshot(session.proc, snap);
        if (!read || !wanted(snap.state)) {
            continueGame(session.proc);
            break;
        }
        const bool settled = frameBegun(snap) && grabGameWindow(session.screen, shot);
        continueGame(session.proc);
        if (!settled) {
            sleepSeconds(drawWait);
            continue;
        }
        // The screen not redrawn since the last mismatch although the
        // game has moved on: its new frame is still on the way.
        if (compared && shot.pixels == shown.pixels &&
            std::memcmp(&snap, &rendered, sizeof snap) != 0) {
            sleepSeconds(drawWait);
            continue;
        }
        shown = std::move(shot);
        // The same state as last time (the game had not moved on): the
        // same picture, and the CPU is left to the game.
        if (!compared || std::memcmp(&snap, &rendered, sizeof snap) != 0) {
            renderExpected(snap, expected, session.layout);
            std::memcpy(&rendered, &snap, sizeof snap); // padding too, for memcmp
        }
        const FrameDiff diff = compareImages(shown, expected, channelTolerance);
        if (!compared || diff.differing < capture.diff.differing) {
            capture.snap = snap;
            capture.screen = shown;
            capture.expected = expected;
            capture.diff = diff;
        }
        capture.attempts = stop;
        compared = true;
        if (diff.differing <= maxDifferingPixels) {
            return CaptureOutcome::matched;
        }
        sleepSeconds(drawWait);
    }
    return compared ? CaptureOutcome::differs : CaptureOutcome::missed;
}

bool check(bool ok, const char *step, const std::string &detail) {
    std::printf("%s %s: %s\n", ok ? "PASS" : "FAIL", step, detail.c_str());
    std::fflush(stdout);
    ++(ok ? session.passed : session.failed);
    return ok;
}

bool checkTestWindowClear(const char *step) {
    constexpr int borders = 16; // pixels for the frames the manager draws round both
    ScreenBox view;
    bool clear = false;
    for (double waited = 0; waited < 5.0 && !clear; waited += 0.01) {
        clear = windowBox(session.screen, expectedViewWindow(), view) &&
                updateGameWindow(session.screen) &&
                session.screen.x + session.screen.width + borders <= view.x;
        if (!clear) {
            sleepSeconds(0.01);
        }
    }
    const XScreen &game = session.screen;
    char detail[160];
    std::snprintf(detail, sizeof detail,
                  "the game's window, %dx%d at (%d, %d), is left of the test's own at (%d, %d)",
                  game.width, game.height, game.x, game.y, view.x, view.y);
    return check(clear, step, detail);
}

static void saveFailureImages(const char *step, const Capture &capture) {
    if (session.failDir.empty()) {
        char dir[] = "/tmp/clockmaze-e2e-XXXXXX";
        if (!mkdtemp(dir)) {
            return;
        }
        session.failDir = dir;
    }
    const std::string base = session.failDir + "/" + step;
    const bool saved = savePng(capture.screen, base + "-screen.png") &&
                       savePng(capture.expected, base + "-expected.png");
    std::printf("     %s: %s-screen.png and %s-expected.png\n",
                saved ? "pictures saved" : "could not save the pictures", base.c_str(),
                base.c_str());
}

bool checkFrame(const char *step, CaptureOutcome outcome, const Capture &capture) {
    char detail[256];
    if (outcome == CaptureOutcome::missed) {
        return check(false, step, "the game left the state before a settled frame was on screen");
    }
    const GameState &s = capture.snap.state;
    std::snprintf(detail, sizeof detail,
                  "%d pixels differ from render() (at most %d allowed, channel tolerance %d), "
                  "largest channel difference %d; %d stops; inGame %d transition %d gameOver "
                  "%d phaseFrame %u",
                  capture.diff.differing, maxDifferingPixels, channelTolerance,
                  capture.diff.maxChannel, capture.attempts, s.inGame, s.levelTransition,
                  s.gameOver, s.phaseFrame);
    const bool ok = check(outcome == CaptureOutcome::matched, step, detail);
    if (!ok) {
        saveFailureImages(step, capture);
    }
    return ok;
}

double litShare(const Image &image) {
    if (image.pixels.empty()) {
        return 0.0;
    }
    return static_cast<double>(countUnlike(image, 0x000000, channelTolerance)) /
           static_cast<double>(image.pixels.size());
}

// Title pictures and backgrounds cover the window: far more than this
// share of a drawn screen is not black.
constexpr double minLitShare = 0.01;

bool checkShownFrame(const char *step, StateTest wanted, Capture &capture) {
    return checkCapturedFrame(step, captureFrame(wanted, capture), capture);
}

bool checkCapturedFrame(const char *step, CaptureOutcome outcome, const Capture &capture) {
    if (!checkFrame(step, outcome, capture)) {
        return false;
    }
    const double lit = litShare(capture.screen);
    return check(lit >= minLitShare, step,
                 "the screen shows a picture: " + std::to_string(lit * 100.0) +
                     " % of it is not black");
}

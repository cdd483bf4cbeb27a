// Playing through real key events: the player reads the state from the
// game's memory and answers with key presses and releases on the X server.
#include "e2e/play_steps.h"

#include <X11/keysym.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "e2e/expected_view.h"
#include "e2e/frame_capture.h"
#include "e2e/player.h"

// The last frame checked in play, the starting point of the next move.
static Capture lastPlay;

// The mouse sprite is 60x60 pixels about its centre, turned any way.
constexpr int mouseReach = 44;
// Fewest pixels that the mouse changes when it moves: its body, not a speck.
constexpr int minMousePixels = 20;

bool playing(const GameState &s) {
    return s.inGame && !s.levelTransition && !s.gameOver && s.mouse.active;
}
static bool playingAfterClear(const GameState &s) { return playing(s) && s.score >= 1; }
static bool zoomAfterClear(const GameState &s) {
    return s.inGame && s.levelTransition && !s.gameOver && s.score >= 1 &&
           s.phaseFrame <= zoomLength;
}
static bool keysReleased(const GameState &s) { return !s.keyLeft && !s.keyRight; }

bool levelInPlay() {
    GameSnapshot snap;
    if (!check(waitForState(playing, 10.0, snap), "level", "the opening zoom ended in play")) {
        return false;
    }
    if (!checkShownFrame("level", playing, lastPlay)) {
        return false;
    }
    const Mouse &m = lastPlay.snap.state.mouse;
    return check(m.ring == 1 && m.angle == 0.0f && lastPlay.snap.state.timeLimit == 950, "level",
                 "the first level: mouse in ring " + std::to_string(m.ring) + " at " +
                     std::to_string(m.angle) + " degrees, clock " +
                     std::to_string(lastPlay.snap.state.timeLimit));
}

static void mouseOnScreen(const Mouse &m, int point[2]) {
    const double r = 325.0 - 50.0 * m.ring;
    point[0] = 400 + static_cast<int>(r * std::sin(m.angle * 0.017453292));
    point[1] = 300 - static_cast<int>(r * std::cos(m.angle * 0.017453292));
}

// The same frame painted with the mouse put back where it stood before
// differs from the real one only around the mouse's two places.
static bool mouseMovedOnScreen(const char *step, const Capture &before, const Capture &after) {
    GameSnapshot still = after.snap;
    still.state.mouse.angle = before.snap.state.mouse.angle;
    still.state.mouse.ring = before.snap.state.mouse.ring;
    Image stillImage;
    renderExpected(still, stillImage);
    int centres[2][2];
    mouseOnScreen(after.snap.state.mouse, centres[0]);
    mouseOnScreen(before.snap.state.mouse, centres[1]);
    const PlacedDiff diff = diffAroundPoints(after.expected, stillImage, centres, 2, mouseReach);
    return check(diff.inside >= minMousePixels && diff.outside == 0, step,
                 "the picture changed where the mouse is: " + std::to_string(diff.inside) +
                     " pixels around the mouse, " + std::to_string(diff.outside) + " elsewhere");
}

struct KeyCase {
    const char *step;
    unsigned long keysym;
    bool clockwise;
};

// Alternating directions, so the mouse never starts against the wall it
// last ran into.
static const KeyCase keyCases[] = {
    {"steer-right", XK_Right, true},
    {"steer-left", XK_Left, false},
    {"steer-d", XK_d, true},
    {"steer-a", XK_a, false},
};

static bool steerWith(const KeyCase &key) {
    const Capture before = lastPlay;
    GameSnapshot snap;
    sendKey(session.screen, key.keysym, true);
    usleep(60000);
    sendKey(session.screen, key.keysym, false);
    usleep(20000);
    if (!check(waitForState(keysReleased, 5.0, snap), key.step, "the game saw the key go up")) {
        return false;
    }
    if (!checkShownFrame(key.step, playing, lastPlay)) {
        return false;
    }
    const Mouse &was = before.snap.state.mouse;
    const Mouse &now = lastPlay.snap.state.mouse;
    const float moved =
        key.clockwise ? clockwiseGap(was.angle, now.angle) : clockwiseGap(now.angle, was.angle);
    char detail[160];
    std::snprintf(detail, sizeof detail,
                  "the mouse went %s from %.2f to %.2f degrees (ring %d to %d), facing %s",
                  key.clockwise ? "clockwise" : "anticlockwise", was.angle, now.angle, was.ring,
                  now.ring, now.facingRight ? "clockwise" : "anticlockwise");
    return check(moved > 0.0f && moved < 180.0f && now.facingRight == key.clockwise, key.step,
                 detail) &&
           mouseMovedOnScreen(key.step, before, lastPlay);
}

bool steeringKeys() {
    for (const KeyCase &key : keyCases) {
        if (!steerWith(key)) {
            return false;
        }
    }
    return true;
}

static unsigned long keyFor(Steer steer) { return steer == Steer::left ? XK_Left : XK_Right; }

// Holds the key the player chooses, switching as soon as the choice
// changes, until the score passes `cleared` or the clock runs out.
static bool playUntilCleared(int cleared, GameSnapshot &snap) {
    constexpr double poll = 0.002; // seconds between looks at the game
    constexpr double limit = 20.0; // seconds; the level's clock is about 8
    Steer held = Steer::none;
    bool read = true;
    for (double waited = 0; waited < limit && read; waited += poll) {
        read = readSnapshot(session.proc, snap);
        if (snap.state.score > cleared || snap.state.gameOver) {
            break;
        }
        const Steer wanted = chooseSteer(snap);
        if (wanted != held) {
            if (held != Steer::none) {
                sendKey(session.screen, keyFor(held), false);
            }
            if (wanted != Steer::none) {
                sendKey(session.screen, keyFor(wanted), true);
            }
            held = wanted;
        }
        usleep(static_cast<useconds_t>(poll * 1e6));
    }
    if (held != Steer::none) {
        sendKey(session.screen, keyFor(held), false);
    }
    return read && snap.state.score > cleared && !snap.state.gameOver;
}

static bool nextLevelShown(int &reached) {
    GameSnapshot snap;
    Capture next;
    if (!check(waitForState(playingAfterClear, 10.0, snap), "next-level",
               "the zoom ended in the next level") ||
        !checkShownFrame("next-level", playingAfterClear, next)) {
        return false;
    }
    reached = next.snap.state.score;
    return check(next.snap.state.timeLimit < 950 && next.snap.state.timeLeft > 0, "next-level",
                 "a shorter clock: " + std::to_string(next.snap.state.timeLeft) + " of " +
                     std::to_string(next.snap.state.timeLimit));
}

// The zoom lasts half a second, and a starved machine may draw few of its
// frames: when none settled or matched, the player clears the next level
// too, up to `zoomTries` levels in all.
bool clearOneLevel(int &reached) {
    constexpr int zoomTries = 3;
    for (int round = 1;; ++round) {
        GameSnapshot snap;
        const bool cleared = playUntilCleared(round - 1, snap);
        if (!check(cleared, "clear-level",
                   "the scripted player reached the centre: score " +
                       std::to_string(snap.state.score) + ", " +
                       std::to_string(snap.state.timeAtClear) + " updates left on the clock")) {
            return false;
        }
        Capture zoom;
        const CaptureOutcome outcome = captureFrame(zoomAfterClear, zoom);
        if (outcome != CaptureOutcome::matched && round < zoomTries) {
            std::printf("RETRY level-zoom: no matching frame in the zoom (%s); the next level\n",
                        outcome == CaptureOutcome::missed ? "none settled" : "frames differed");
            if (!check(waitForState(playingAfterClear, 10.0, snap), "next-level",
                       "the zoom ended in the next level")) {
                return false;
            }
            continue;
        }
        return checkCapturedFrame("level-zoom", outcome, zoom) && nextLevelShown(reached);
    }
}

static bool onTitle(const GameState &s) { return s.running && !s.inGame; }

bool playAnotherGame(int &reached) {
    GameSnapshot snap;
    if (!check(waitForState(onTitle, 10.0, snap), "another-game", "the title screen returned")) {
        return false;
    }
    sendKey(session.screen, XK_space, true);
    const bool started = waitForState(playing, 10.0, snap);
    sendKey(session.screen, XK_space, false);
    if (!check(started && playUntilCleared(0, snap), "another-game",
               "a new game started and its first level was cleared") ||
        !check(waitForState(playingAfterClear, 10.0, snap), "another-game",
               "the next level came")) {
        return false;
    }
    reached = snap.state.score;
    return true;
}

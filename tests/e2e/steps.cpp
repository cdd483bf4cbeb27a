// The screens of one game from start-up to close: title, opening zoom,
// play, the white fade of a lost game, the title with the scores, close.
#include "e2e/steps.h"

#include <X11/keysym.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "e2e/frame_capture.h"
#include "e2e/play_steps.h"
#include "e2e/window_steps.h"

static bool onTitle(const GameState &s) { return s.running && !s.inGame; }
static bool inOpeningZoom(const GameState &s) {
    return s.inGame && s.levelTransition && s.score == 0 && s.phaseFrame <= zoomLength;
}
static bool inGameAtAll(const GameState &s) { return s.inGame; }
static bool gameOverRunning(const GameState &s) { return s.inGame && s.gameOver; }
// White from frame 51; from 53 on, the frame before it (two updates a tick)
// is white too, so a stop that falls before the flip still finds the screen
// as render() paints it.
static bool fullyFaded(const GameState &s) { return s.gameOver && s.phaseFrame >= 53; }

static bool titleAtStart() {
    Capture title;
    GameSnapshot snap;
    if (!check(waitForState(onTitle, 10.0, snap), "title", "the title screen is running")) {
        return false;
    }
    return checkShownFrame("title", onTitle, title) &&
           check(title.snap.state.bestScore == 0 && title.snap.state.score == 0, "title",
                 "best and last score are 0 and 0: " + std::to_string(title.snap.state.bestScore) +
                     " and " + std::to_string(title.snap.state.score));
}

// Space is a held state: the game starts on the next update after it goes down.
static bool openingZoom() {
    GameSnapshot snap;
    sendKey(session.screen, XK_space, true);
    const bool started = waitForState(inGameAtAll, 5.0, snap);
    sendKey(session.screen, XK_space, false);
    if (!check(started, "opening-zoom", "holding Space started a game")) {
        return false;
    }
    Capture zoom;
    return checkShownFrame("opening-zoom", inOpeningZoom, zoom);
}

// With no key held the clock runs down; from frame 51 the fade is opaque.
// Those few updates last a fifteenth of a second, which a starved machine can
// miss: then another game is played, up to `fadeGames` in all. `reached`
// and `best` follow the scores of the games played.
static bool gameOverFade(int &reached, int &best) {
    constexpr int fadeGames = 3;
    for (int round = 1;; ++round) {
        GameSnapshot snap;
        if (!check(waitForState(gameOverRunning, 30.0, snap), "game-over",
                   "with no input the clock ran out")) {
            return false;
        }
        Capture fade;
        const CaptureOutcome outcome = waitForState(fullyFaded, 5.0, snap)
                                           ? captureFrame(fullyFaded, fade)
                                           : CaptureOutcome::missed;
        if (outcome != CaptureOutcome::matched && round < fadeGames) {
            std::printf("RETRY game-over: no matching frame in the opaque fade (%s); "
                        "another game\n",
                        outcome == CaptureOutcome::missed ? "none settled" : "frames differed");
            if (!playAnotherGame(reached)) {
                return false;
            }
            best = std::max(best, reached);
            continue;
        }
        if (!checkFrame("game-over", outcome, fade)) {
            return false;
        }
        const int unlike = countUnlike(fade.screen, 0xffffff, channelTolerance);
        return check(unlike <= maxDifferingPixels, "game-over",
                     "the screen is white at frame " + std::to_string(fade.snap.state.phaseFrame) +
                         ": " + std::to_string(unlike) + " pixels are not");
    }
}

static bool titleWithScores(int reached, int best) {
    GameSnapshot snap;
    if (!check(waitForState(onTitle, 10.0, snap), "title-again", "the title screen returned")) {
        return false;
    }
    Capture title;
    const GameState &s = title.snap.state;
    return checkShownFrame("title-again", onTitle, title) &&
           check(reached >= 1 && s.bestScore == best && s.score == reached, "title-again",
                 "best and last score are " + std::to_string(s.bestScore) + " and " +
                     std::to_string(s.score) + ", expected " + std::to_string(best) + " and " +
                     std::to_string(reached));
}

static bool closeWindow() {
    closeGameWindow(session.screen);
    if (!check(waitForExit(session.proc, 15.0), "close",
               "the game ended after the close request")) {
        return false;
    }
    const int status = session.proc.exitStatus;
    return check(WIFEXITED(status) && WEXITSTATUS(status) == 0, "close",
                 WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                   : "killed by signal " + std::to_string(WTERMSIG(status)));
}

bool runSteps() {
    int reached = 0; // score of the last game
    if (!titleAtStart() || !openingZoom() || !levelInPlay() || !steeringKeys() || !pauseInPlay() ||
        !fullscreenAndBack() || !resizedWindow() || !resumePlay("resume") || !focusLoss() ||
        !clearOneLevel(reached)) {
        return false;
    }
    int best = reached; // best score of the games played
    return gameOverFade(reached, best) && titleWithScores(reached, best) && closeWindow();
}

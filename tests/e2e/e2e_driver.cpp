// End to end: the real game under a virtual X server, driven by real key
// events. Each step stops the game, reads its rules' records from its
// memory, grabs its window and checks the picture against what the game's
// own frame function paints for that very state.
// usage: e2e_driver CLOCKMAZE ASSET_DIR
#include <cstdio>
#include <string>

#include "e2e/expected_view.h"
#include "e2e/frame_capture.h"
#include "e2e/steps.h"

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: e2e_driver CLOCKMAZE ASSET_DIR\n");
        return 2;
    }
    Session &s = session;
    if (!openXScreen(s.screen)) {
        std::printf("FAIL setup: cannot open the X display or it has no XTEST\n");
        return 1;
    }
    setKeyRepeat(s.screen, false);
    std::string error;
    if (!launchGame(s.proc, argv[1], argv[2])) {
        std::printf("FAIL setup: cannot start %s\n", argv[1]);
        return 1;
    }
    bool ok = waitForGameWindow(s.screen, 30.0);
    if (!ok) {
        std::printf("FAIL setup: no game window within 30 s\n");
    } else if (!locateRecords(s.proc, error) ||
               !openExpectedView(argv[2], expectedViewX, expectedViewY, error)) {
        std::printf("FAIL setup: %s\n", error.c_str());
        ok = false;
    }
    if (ok) {
        focusGameWindow(s.screen);
        ok = runSteps();
    }
    if (!s.proc.exited) {
        killGame(s.proc);
    }
    setKeyRepeat(s.screen, true);
    std::printf("e2e: %d passed, %d failed\n", s.passed, s.failed);
    return ok && s.failed == 0 ? 0 : 1;
}

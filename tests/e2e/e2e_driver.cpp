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
    if (!check(openXScreen(s.screen), "setup", "the X display is open and offers XTEST")) {
        return 1;
    }
    setKeyRepeat(s.screen, false);
    bool ok = check(launchGame(s.proc, argv[1], argv[2]), "setup", "the game started") &&
              check(waitForManagedWindow(s.screen, s.proc.pid, 30.0), "setup",
                    "its window appeared under the window manager");
    if (ok) {
        char size[80];
        std::snprintf(size, sizeof size, "the game's window is %dx%d", s.screen.width,
                      s.screen.height);
        ok = check(s.screen.width == 800 && s.screen.height == 600, "setup", size);
        // The manager centres it, where the test's own window would cover it.
        moveGameWindow(s.screen, 0, 0);
    }
    std::string error;
    if (ok && !(locateRecords(s.proc, error) &&
                openExpectedView(argv[2], expectedViewX, expectedViewY, error))) {
        ok = check(false, "setup", error);
    }
    // The test's window, opened last, took the keyboard.
    ok = ok && checkTestWindowClear("setup") &&
         check(activateWindow(s.screen, s.screen.gameWindow, 5.0), "setup",
               "the game's window has the keyboard");
    if (ok) {
        ok = runSteps();
    }
    if (!s.proc.exited) {
        killGame(s.proc);
    }
    setKeyRepeat(s.screen, true);
    std::printf("e2e: %d passed, %d failed\n", s.passed, s.failed);
    return ok && s.failed == 0 ? 0 : 1;
}

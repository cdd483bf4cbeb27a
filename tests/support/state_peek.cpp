// Reads the game record out of a running game (root or ptrace rights
// needed), for the tests that stall it and for the benchmarks, which check
// that a measurement was taken in the state it claims. It uses the
// end-to-end test's reader of the game's memory.
//   state_peek PID CLOCKMAZE_BINARY
#include <cstdio>
#include <cstdlib>
#include <string>

#include "e2e/game_process.h"

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: state_peek PID CLOCKMAZE_BINARY\n");
        return 2;
    }
    GameProcess proc;
    proc.pid = static_cast<pid_t>(std::atoi(argv[1]));
    proc.binary = argv[2];
    std::string error;
    GameState seen;
    if (!locateRecords(proc, error) || !readGameState(proc, seen)) {
        std::fprintf(stderr, "state_peek: cannot read the game's state in process %s %s\n", argv[1],
                     error.c_str());
        return 1;
    }
    std::printf("inGame=%d levelTransition=%d gameOver=%d phaseFrame=%u keyRight=%d score=%d "
                "timeLeft=%d\n",
                seen.inGame, seen.levelTransition, seen.gameOver, seen.phaseFrame, seen.keyRight,
                seen.score, seen.timeLeft);
    return 0;
}

// Reads the game record out of a running game, to check that a measurement
// was taken in the state it claims (root or ptrace rights needed).
//   state_peek PID OFFSET    OFFSET: hex address of `game` in the executable
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "game/game_state.h"

namespace {

// The lowest address the executable is mapped at: a position-independent
// executable's symbols are offsets from there.
unsigned long loadBase(const std::string &pid) {
    char exe[4096] = {};
    const std::string exeLink = "/proc/" + pid + "/exe";
    if (readlink(exeLink.c_str(), exe, sizeof exe - 1) <= 0) {
        return 0;
    }
    std::ifstream maps("/proc/" + pid + "/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.size() > std::strlen(exe) &&
            line.compare(line.size() - std::strlen(exe), std::string::npos, exe) == 0) {
            return std::strtoul(line.c_str(), nullptr, 16);
        }
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: state_peek PID OFFSET\n");
        return 2;
    }
    const std::string pid = argv[1];
    const unsigned long base = loadBase(pid);
    const int mem = open(("/proc/" + pid + "/mem").c_str(), O_RDONLY);
    GameState seen;
    const off_t at = static_cast<off_t>(base + std::strtoul(argv[2], nullptr, 16));
    if (base == 0 || mem < 0 || pread(mem, &seen, sizeof seen, at) != sizeof seen) {
        std::fprintf(stderr, "state_peek: cannot read the game's state in process %s\n", argv[1]);
        return 1;
    }
    close(mem);
    std::printf("inGame=%d levelTransition=%d gameOver=%d phaseFrame=%u keyRight=%d score=%d "
                "timeLeft=%d\n",
                seen.inGame, seen.levelTransition, seen.gameOver, seen.phaseFrame, seen.keyRight,
                seen.score, seen.timeLeft);
    return 0;
}

// Starts a program with BENCH_START_NS set to the monotonic clock just
// before exec, so a preloaded probe can time exec-to-first-frame.
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: launch PROGRAM [ARGS...]\n");
        return 2;
    }
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::string ns = std::to_string(now.tv_sec * 1000000000LL + now.tv_nsec);
    setenv("BENCH_START_NS", ns.c_str(), 1);
    execv(argv[1], argv + 1);
    std::perror("launch");
    return 127;
}

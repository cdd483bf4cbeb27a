// Preloaded into a program under measurement: at its first al_flip_display
// it writes the nanoseconds since BENCH_START_NS (CLOCK_MONOTONIC, taken
// just before exec) to the file BENCH_FIRST_FLIP_FILE and ends the process.
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

extern "C" void al_flip_display() {
    using Flip = void (*)();
    auto realFlip = reinterpret_cast<Flip>(dlsym(RTLD_NEXT, "al_flip_display"));
    if (realFlip) {
        realFlip();
    }
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    long long nowNs = now.tv_sec * 1000000000LL + now.tv_nsec;
    const char *start = std::getenv("BENCH_START_NS");
    const char *path = std::getenv("BENCH_FIRST_FLIP_FILE");
    if (start && path) {
        if (FILE *out = std::fopen(path, "w")) {
            std::fprintf(out, "%lld\n", nowNs - std::atoll(start));
            std::fclose(out);
        }
        _exit(0);
    }
}

// Preloaded into a program under measurement: when its first frame reaches
// the window, by al_flip_display or by a region copy (glXCopySubBufferMESA,
// which the game looks up through glXGetProcAddressARB), it writes the
// nanoseconds since BENCH_START_NS (CLOCK_MONOTONIC, taken just before
// exec) to the file BENCH_FIRST_FLIP_FILE and ends the process.
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void reportFirstFrame() {
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

using CopySubBuffer = void (*)(void *, unsigned long, int, int, int, int);
CopySubBuffer realCopy = nullptr;

void copySubBuffer(void *dpy, unsigned long drawable, int x, int y, int w, int h) {
    realCopy(dpy, drawable, x, y, w, h);
    reportFirstFrame();
}

} // namespace

extern "C" void al_flip_display() {
    using Flip = void (*)();
    auto realFlip = reinterpret_cast<Flip>(dlsym(RTLD_NEXT, "al_flip_display"));
    if (realFlip) {
        realFlip();
    }
    reportFirstFrame();
}

extern "C" void *glXGetProcAddressARB(const unsigned char *name) {
    using Lookup = void *(*)(const unsigned char *);
    auto realLookup = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "glXGetProcAddressARB"));
    void *found = realLookup ? realLookup(name) : nullptr;
    if (found && std::strcmp(reinterpret_cast<const char *>(name), "glXCopySubBufferMESA") == 0) {
        realCopy = reinterpret_cast<CopySubBuffer>(found);
        return reinterpret_cast<void *>(&copySubBuffer);
    }
    return found;
}

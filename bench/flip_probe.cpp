// Preloaded into a program under measurement. Two figures, each asked for
// by an environment variable:
//   BENCH_FIRST_FLIP_FILE  when the first frame has been flipped, writes the
//                          nanoseconds since BENCH_START_NS (CLOCK_MONOTONIC,
//                          taken just before exec) and ends the process;
//   BENCH_FRAME_TIMES_FILE for every frame flipped, appends the microseconds
//                          from the loop waking (al_wait_for_event returning)
//                          to the flip returning, one per line.
#include <allegro5/allegro.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

long long nowNs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

long long wokeNs = 0;

void reportFirstFrame(const char *path) {
    const char *start = std::getenv("BENCH_START_NS");
    if (FILE *out = start ? std::fopen(path, "w") : nullptr) {
        std::fprintf(out, "%lld\n", nowNs() - std::atoll(start));
        std::fclose(out);
    }
    _exit(0);
}

// One write per frame: the process is ended by a signal, so nothing waits
// in a buffer.
void reportFrameTime(const char *path) {
    static int fd = open(path, O_WRONLY | O_CREAT | O_APPEND, 0644);
    char line[32];
    const int n = std::snprintf(line, sizeof line, "%lld\n", (nowNs() - wokeNs) / 1000);
    if (fd >= 0 && wokeNs != 0 && write(fd, line, static_cast<size_t>(n)) < 0) {
        fd = -1;
    }
}

} // namespace

extern "C" void al_wait_for_event(ALLEGRO_EVENT_QUEUE *queue, ALLEGRO_EVENT *ev) {
    using Wait = void (*)(ALLEGRO_EVENT_QUEUE *, ALLEGRO_EVENT *);
    static auto realWait = reinterpret_cast<Wait>(dlsym(RTLD_NEXT, "al_wait_for_event"));
    realWait(queue, ev);
    wokeNs = nowNs();
}

extern "C" void al_flip_display() {
    using Flip = void (*)();
    static auto realFlip = reinterpret_cast<Flip>(dlsym(RTLD_NEXT, "al_flip_display"));
    realFlip();
    if (const char *path = std::getenv("BENCH_FIRST_FLIP_FILE")) {
        reportFirstFrame(path);
    }
    if (const char *path = std::getenv("BENCH_FRAME_TIMES_FILE")) {
        reportFrameTime(path);
    }
}

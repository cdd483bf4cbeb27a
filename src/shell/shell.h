// The program's frame: start-up, the event loop and the frame function.
#pragma once

#include <allegro5/allegro.h>

#include <cstdint>

constexpr int16_t screenWidth = 800;
constexpr int16_t screenHeight = 600;
constexpr double timerPeriod = 1.0 / 60.0; // seconds per timer tick

// The library handles, created once at start-up and held for the run.
struct Shell {
    ALLEGRO_DISPLAY *display = nullptr;
    ALLEGRO_EVENT_QUEUE *queue = nullptr;
    ALLEGRO_TIMER *timer = nullptr;
    bool pointerUsed = false; // a touch or a click came in this run: play shows the pause control
};

extern Shell shell;

// Brings up the library, window, queue, timer, audio and the first
// pictures. On a failure that leaves no window it reports on standard
// error and in a message box, and returns false.
bool startUp();

struct WindowSize {
    int width, height; // pixels
};
// The window at start: 800x600 times the monitor's scale (its dots per inch
// over 96, in quarter steps down, at least 1; 0 or above 480 dpi counts as
// 1), kept at 4:3 within what a task bar and a window frame leave of a
// monitor of that size (0 when unknown), but never below 800x600.
WindowSize startingWindowSize(int dpi, int monitorWidth, int monitorHeight);

// Waits for one event and acts on it: key events set the held-key flags,
// a timer tick in a game runs an update. True for a timer tick to be
// played: not one of the overdue ticks a stall leaves behind.
bool handleEvent();

// One pass of the loop: an event, the tick's update, and a frame if the
// queue is drained; when idle, one more picture loaded.
void runLoopPass();

void runLoop();

// Lays every drawing layer for the current state into the target bitmap.
void render();

// Where the 800x600 picture goes in a window of any size: the largest it
// fits with its aspect kept, centred between black bars.
struct FrameBox {
    int x, y;          // top-left corner in the window, pixels
    int width, height; // pixels
};
FrameBox frameBox(int width, int height);

// render() into the target at its own resolution, in the box frameBox()
// gives, between black bars.
void renderToWindow();

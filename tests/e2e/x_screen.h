// The X side of the test: finding the game's window, giving it the
// keyboard, pressing real keys through XTEST and reading the window's pixels.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include "e2e/frames.h"

struct XScreen {
    Display *dpy = nullptr;
    Window gameWindow = 0;
    int x = 0;      // of the game's window on the screen, pixels
    int y = 0;      // of the game's window on the screen, pixels
    int width = 0;  // of the game's window, pixels
    int height = 0; // of the game's window, pixels
};

// A window's place on the screen, decorations left out.
struct ScreenBox {
    int x = 0, y = 0, width = 0, height = 0;
};

// Opens the display and checks that it offers XTEST.
bool openXScreen(XScreen &screen);

// Waits for the first viewable top-level window and keeps it as the game's.
bool waitForGameWindow(XScreen &screen, double seconds);

// Under a window manager: waits for the client window that process `pid`
// maps and keeps it as the game's.
bool waitForManagedWindow(XScreen &screen, pid_t pid, double seconds);

// Reads the game window's place and size again into `screen`.
bool updateGameWindow(XScreen &screen);

bool windowBox(XScreen &screen, Window window, ScreenBox &box);

// Ask the window manager to move or resize the game's window, as a user
// would; it does so a little later.
void moveGameWindow(XScreen &screen, int x, int y);
void resizeGameWindow(XScreen &screen, int width, int height);

// Waits until the game's window is `width` x `height`; `screen` then holds
// its place and size.
bool waitForGameWindowSize(XScreen &screen, int width, int height, double seconds);

// Asks the window manager to give `window` the keyboard, as a taskbar
// does; true once it has it.
bool activateWindow(XScreen &screen, Window window, double seconds);

// Held keys send exactly one press and one release: with repeat on, the
// game would also run one extra update per repeat.
void setKeyRepeat(XScreen &screen, bool on);

// `keysym` from X11/keysym.h, pressed (true) or released.
void sendKey(XScreen &screen, unsigned long keysym, bool down);

// The window's pixels as the X server holds them now.
bool grabGameWindow(XScreen &screen, Image &image);

// Asks the window to close as a desktop's close button does.
void closeGameWindow(XScreen &screen);

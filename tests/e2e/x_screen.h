// The X side of the test: finding the game's window, giving it the
// keyboard, pressing real keys through XTEST and reading the window's pixels.
#pragma once

#include <X11/Xlib.h>

#include "e2e/frames.h"

struct XScreen {
    Display *dpy = nullptr;
    Window gameWindow = 0;
    int x = 0;      // of the game's window on the screen, pixels
    int y = 0;      // of the game's window on the screen, pixels
    int width = 0;  // of the game's window, pixels
    int height = 0; // of the game's window, pixels
};

// Opens the display and checks that it offers XTEST.
bool openXScreen(XScreen &screen);

// Waits for the first viewable top-level window and keeps it as the game's.
bool waitForGameWindow(XScreen &screen, double seconds);

// Held keys send exactly one press and one release: with repeat on, the
// game would also run one extra update per repeat.
void setKeyRepeat(XScreen &screen, bool on);

void focusGameWindow(XScreen &screen);

// `keysym` from X11/keysym.h, pressed (true) or released.
void sendKey(XScreen &screen, unsigned long keysym, bool down);

// The window's pixels as the X server holds them now.
bool grabGameWindow(XScreen &screen, Image &image);

// Asks the window to close as a desktop's close button does.
void closeGameWindow(XScreen &screen);

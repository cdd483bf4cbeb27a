#include "e2e/x_screen.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <unistd.h>

#include <cstring>

#include "support/x_top_level.h"

bool openXScreen(XScreen &screen) {
    screen.dpy = XOpenDisplay(nullptr);
    if (!screen.dpy) {
        return false;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    return XTestQueryExtension(screen.dpy, &event, &error, &major, &minor);
}

bool waitForGameWindow(XScreen &screen, double seconds) {
    for (double waited = 0; waited < seconds; waited += 0.05) {
        XWindowAttributes attrs;
        screen.gameWindow = findViewableTopLevel(screen.dpy, attrs);
        if (screen.gameWindow) {
            screen.x = attrs.x;
            screen.y = attrs.y;
            screen.width = attrs.width;
            screen.height = attrs.height;
            return true;
        }
        usleep(50000);
    }
    return false;
}

void setKeyRepeat(XScreen &screen, bool on) {
    if (on) {
        XAutoRepeatOn(screen.dpy);
    } else {
        XAutoRepeatOff(screen.dpy);
    }
    XSync(screen.dpy, False);
}

void focusGameWindow(XScreen &screen) {
    XSetInputFocus(screen.dpy, screen.gameWindow, RevertToParent, CurrentTime);
    XSync(screen.dpy, False);
}

void sendKey(XScreen &screen, unsigned long keysym, bool down) {
    const KeyCode code = XKeysymToKeycode(screen.dpy, keysym);
    XTestFakeKeyEvent(screen.dpy, code, down ? True : False, CurrentTime);
    XSync(screen.dpy, False);
}

// The 8-bit channel that `mask` selects.
static uint32_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    while ((mask & 1) == 0) {
        mask >>= 1;
        pixel >>= 1;
    }
    return static_cast<uint32_t>(pixel & mask & 0xff);
}

bool grabGameWindow(XScreen &screen, Image &image) {
    XSync(screen.dpy, False);
    XImage *shot = XGetImage(screen.dpy, screen.gameWindow, 0, 0, screen.width, screen.height,
                             AllPlanes, ZPixmap);
    if (!shot) {
        return false;
    }
    image.width = shot->width;
    image.height = shot->height;
    image.pixels.resize(static_cast<size_t>(image.width) * image.height);
    const bool plain = shot->bits_per_pixel == 32 && shot->red_mask == 0xff0000 &&
                       shot->green_mask == 0xff00 && shot->blue_mask == 0xff &&
                       shot->byte_order == LSBFirst;
    for (int y = 0; y < image.height; ++y) {
        uint32_t *row = &image.pixels[static_cast<size_t>(y) * image.width];
        const uint32_t *data =
            reinterpret_cast<const uint32_t *>(shot->data + y * shot->bytes_per_line);
        for (int x = 0; x < image.width; ++x) {
            if (plain) {
                row[x] = data[x] & 0xffffff;
                continue;
            }
            const unsigned long p = XGetPixel(shot, x, y);
            row[x] = (channel(p, shot->red_mask) << 16) | (channel(p, shot->green_mask) << 8) |
                     channel(p, shot->blue_mask);
        }
    }
    XDestroyImage(shot);
    return true;
}

void closeGameWindow(XScreen &screen) {
    XEvent ev;
    std::memset(&ev, 0, sizeof ev);
    ev.xclient.type = ClientMessage;
    ev.xclient.window = screen.gameWindow;
    ev.xclient.message_type = XInternAtom(screen.dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(screen.dpy, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(screen.dpy, screen.gameWindow, False, NoEventMask, &ev);
    XSync(screen.dpy, False);
}

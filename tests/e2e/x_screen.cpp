#include "e2e/x_screen.h"

#include <X11/Xatom.h>
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

// A window's 32-bit property `name` of `type`: how many values `values`
// points at (to be freed with XFree), 0 when it has none.
static unsigned long propertyLongs(Display *dpy, Window window, const char *name, Atom type,
                                   unsigned long *&values) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    values = nullptr;
    if (XGetWindowProperty(dpy, window, XInternAtom(dpy, name, False), 0, 4096, False, type,
                           &actualType, &format, &count, &after, &data) != Success ||
        actualType != type || format != 32) {
        if (data) {
            XFree(data);
        }
        return 0;
    }
    values = reinterpret_cast<unsigned long *>(data);
    return count;
}

// The manager's list of the windows it manages, searched for one of `pid`.
static Window clientOf(Display *dpy, pid_t pid) {
    unsigned long *clients = nullptr;
    const unsigned long count =
        propertyLongs(dpy, DefaultRootWindow(dpy), "_NET_CLIENT_LIST", XA_WINDOW, clients);
    Window found = 0;
    for (unsigned long i = 0; i < count && !found; ++i) {
        unsigned long *owner = nullptr;
        if (propertyLongs(dpy, clients[i], "_NET_WM_PID", XA_CARDINAL, owner) == 1 &&
            owner[0] == static_cast<unsigned long>(pid)) {
            found = clients[i];
        }
        if (owner) {
            XFree(owner);
        }
    }
    if (clients) {
        XFree(clients);
    }
    return found;
}

bool windowBox(XScreen &screen, Window window, ScreenBox &box) {
    XWindowAttributes attrs;
    Window child = 0;
    if (!XGetWindowAttributes(screen.dpy, window, &attrs) || attrs.map_state != IsViewable ||
        !XTranslateCoordinates(screen.dpy, window, DefaultRootWindow(screen.dpy), 0, 0, &box.x,
                               &box.y, &child)) {
        return false;
    }
    box.width = attrs.width;
    box.height = attrs.height;
    return true;
}

bool updateGameWindow(XScreen &screen) {
    ScreenBox box;
    if (!windowBox(screen, screen.gameWindow, box)) {
        return false;
    }
    screen.x = box.x;
    screen.y = box.y;
    screen.width = box.width;
    screen.height = box.height;
    return true;
}

bool waitForManagedWindow(XScreen &screen, pid_t pid, double seconds) {
    for (double waited = 0; waited < seconds; waited += 0.05) {
        screen.gameWindow = clientOf(screen.dpy, pid);
        if (screen.gameWindow && updateGameWindow(screen)) {
            return true;
        }
        usleep(50000);
    }
    return false;
}

void moveGameWindow(XScreen &screen, int x, int y) {
    XMoveWindow(screen.dpy, screen.gameWindow, x, y);
    XSync(screen.dpy, False);
}

void resizeGameWindow(XScreen &screen, int width, int height) {
    XResizeWindow(screen.dpy, screen.gameWindow, static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
    XSync(screen.dpy, False);
}

bool waitForGameWindowSize(XScreen &screen, int width, int height, double seconds) {
    for (double waited = 0; waited < seconds; waited += 0.01) {
        if (updateGameWindow(screen) && screen.width == width && screen.height == height) {
            return true;
        }
        usleep(10000);
    }
    return false;
}

// Source 2 (a pager) in the message: the manager never turns it down as
// an application stealing the focus.
bool activateWindow(XScreen &screen, Window window, double seconds) {
    XEvent ev;
    std::memset(&ev, 0, sizeof ev);
    ev.xclient.type = ClientMessage;
    ev.xclient.window = window;
    ev.xclient.message_type = XInternAtom(screen.dpy, "_NET_ACTIVE_WINDOW", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = 2;
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(screen.dpy, DefaultRootWindow(screen.dpy), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    XSync(screen.dpy, False);
    for (double waited = 0; waited < seconds; waited += 0.01) {
        Window focused = 0;
        int revert = 0;
        XGetInputFocus(screen.dpy, &focused, &revert);
        if (focused == window) {
            return true;
        }
        usleep(10000);
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

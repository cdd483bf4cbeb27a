// A small X client for the tests: finds the game's window and closes it
// the way a desktop's close button does (WM_DELETE_WINDOW).
//   xwin wait SECONDS   print "ID WIDTHxHEIGHT" of the first mapped top-level window
//   xwin close ID       ask window ID to close
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "support/x_top_level.h"

static int waitForWindow(Display *dpy, double seconds) {
    for (double waited = 0; waited < seconds; waited += 0.05) {
        XWindowAttributes attrs;
        Window win = findViewableTopLevel(dpy, attrs);
        if (win) {
            std::printf("%lu %dx%d\n", static_cast<unsigned long>(win), attrs.width, attrs.height);
            return 0;
        }
        usleep(50000);
    }
    std::fprintf(stderr, "xwin: no window appeared within %.1f s\n", seconds);
    return 1;
}

static int closeWindow(Display *dpy, Window win) {
    XEvent ev;
    std::memset(&ev, 0, sizeof ev);
    ev.xclient.type = ClientMessage;
    ev.xclient.window = win;
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, win, False, NoEventMask, &ev);
    XFlush(dpy);
    return 0;
}

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: xwin wait SECONDS | xwin close ID\n");
        return 2;
    }
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "xwin: cannot open the X display\n");
        return 2;
    }
    int rc = 2;
    if (std::strcmp(argv[1], "wait") == 0) {
        rc = waitForWindow(dpy, std::atof(argv[2]));
    } else if (std::strcmp(argv[1], "close") == 0) {
        rc = closeWindow(dpy, static_cast<Window>(std::strtoul(argv[2], nullptr, 10)));
    }
    XCloseDisplay(dpy);
    return rc;
}

// Finding the game's window on a test X server, where no window manager
// runs: it is the first viewable child of the root window.
#pragma once

#include <X11/Xlib.h>

inline Window findViewableTopLevel(Display *dpy, XWindowAttributes &foundAttrs) {
    Window root = DefaultRootWindow(dpy), parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(dpy, root, &root, &parent, &children, &count)) {
        return 0;
    }
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attrs;
        if (XGetWindowAttributes(dpy, children[i], &attrs) && attrs.map_state == IsViewable &&
            attrs.width > 1 && attrs.height > 1) {
            found = children[i];
            foundAttrs = attrs;
        }
    }
    if (children) {
        XFree(children);
    }
    return found;
}

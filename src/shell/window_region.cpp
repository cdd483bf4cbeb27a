#include "shell/window_region.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glx.h>

#include <cstring>
#include <initializer_list>

namespace {

using CopySubBuffer = void (*)(Display *, GLXDrawable, int, int, int, int);

struct RegionUpdates {
    CopySubBuffer copy = nullptr; // the driver's entry point; null when off
    int height = 0;               // the window's, pixels
};

RegionUpdates regions;

bool hasWord(const char *list, const char *word) {
    const size_t n = std::strlen(word);
    for (const char *p = list ? std::strstr(list, word) : nullptr; p;
         p = std::strstr(p + 1, word)) {
        if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) {
            return true;
        }
    }
    return false;
}

bool rendersInSoftware() {
    const char *renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
    if (!renderer) {
        return false;
    }
    for (const char *name : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"}) {
        if (std::strstr(renderer, name)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool startRegionUpdates(ALLEGRO_DISPLAY *display) {
    regions = RegionUpdates{};
    if (!display || al_get_display_flags(display) & ALLEGRO_OPENGL_ES_PROFILE) {
        return false;
    }
    Display *x = glXGetCurrentDisplay();
    if (!x || !glXGetCurrentDrawable() || !rendersInSoftware() ||
        !hasWord(glXQueryExtensionsString(x, DefaultScreen(x)), "GLX_MESA_copy_sub_buffer")) {
        return false;
    }
    regions.copy = reinterpret_cast<CopySubBuffer>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte *>("glXCopySubBufferMESA")));
    regions.height = al_get_display_height(display);
    return regions.copy != nullptr;
}

bool regionUpdatesOn() { return regions.copy != nullptr; }

void stopRegionUpdates() { regions = RegionUpdates{}; }

// GLX counts rows from the bottom of the window.
void showRegion(int x, int y, int w, int h) {
    if (regions.copy && w > 0 && h > 0) {
        regions.copy(glXGetCurrentDisplay(), glXGetCurrentDrawable(), x, regions.height - y - h, w,
                     h);
    }
}

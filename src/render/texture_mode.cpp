#include "render/texture_mode.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_opengl.h>

namespace {

// The texture environment decides how a texel meets the vertex colour only
// in OpenGL's fixed pipeline; memory pictures and shaders ignore it.
bool fixedPipelineTarget() {
    ALLEGRO_BITMAP *target = al_get_target_bitmap();
    ALLEGRO_DISPLAY *display = al_get_current_display();
    if (!target || !display || al_get_bitmap_flags(target) & ALLEGRO_MEMORY_BITMAP) {
        return false;
    }
    const int flags = al_get_display_flags(display);
    return flags & ALLEGRO_OPENGL && !(flags & ALLEGRO_PROGRAMMABLE_PIPELINE);
}

} // namespace

int setTextureMode(bool untinted) {
    if (!fixedPipelineTarget()) {
        return -1;
    }
    GLint before = GL_MODULATE;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &before);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, untinted ? GL_REPLACE : GL_MODULATE);
    return before;
}

void restoreTextureMode(int before) {
    if (before >= 0) {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, before);
    }
}

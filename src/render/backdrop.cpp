// The background and the resting clock face, laid as one picture.
//
// Redrawing the full-window background and the five nested clocks for
// every frame is most of the fill work a frame does. Between the zooms they
// only change when the background does, so they are drawn once into an
// opaque picture that each frame copies. The copy is made with the blender
// set to replace (ONE, ZERO): every pixel of the picture, alpha included,
// lands exactly as the layers would have left it on the cleared frame.
#include "render/backdrop.h"

#include <allegro5/allegro.h>

#include "game/game_state.h"
#include "render/scene.h"
#include "render/screens.h"
#include "shell/assets.h"
#include "shell/shell.h"

namespace {

bool sameKind(ALLEGRO_BITMAP *a, ALLEGRO_BITMAP *b) {
    return (al_get_bitmap_flags(a) & ALLEGRO_MEMORY_BITMAP) ==
           (al_get_bitmap_flags(b) & ALLEGRO_MEMORY_BITMAP);
}

// The background only round the clock's opaque middle, which hides it.
void layBackdrop(ALLEGRO_BITMAP *background) {
    al_clear_to_color(al_map_rgb(0, 0, 0));
    if (background) {
        const bool outerClock = !isZooming() || game.gameOver || game.score != 0;
        drawAround(clockLayerCover(outerClock ? 0 : 1),
                   [background] { al_draw_bitmap(background, 0.0f, 0.0f, 0); });
    }
    drawClockFace();
}

// A picture of the target's kind to lay the layers on: the one made before
// if it is of that kind, or a new one.
ALLEGRO_BITMAP *restSceneCanvas(ALLEGRO_BITMAP *target) {
    if (assets.restScene && sameKind(assets.restScene, target)) {
        return assets.restScene;
    }
    al_destroy_bitmap(assets.restScene);
    const int flags = al_get_new_bitmap_flags();
    al_set_new_bitmap_flags(al_get_bitmap_flags(target) & ALLEGRO_MEMORY_BITMAP
                                ? ALLEGRO_MEMORY_BITMAP
                                : ALLEGRO_VIDEO_BITMAP | ALLEGRO_NO_PRESERVE_TEXTURE);
    assets.restScene = al_create_bitmap(screenWidth, screenHeight);
    al_set_new_bitmap_flags(flags);
    return assets.restScene;
}

} // namespace

ALLEGRO_BITMAP *restSceneFor(ALLEGRO_BITMAP *background) {
    ALLEGRO_BITMAP *target = al_get_target_bitmap();
    if (!target) {
        return nullptr;
    }
    if (assets.restScene && assets.restSceneBackground == background &&
        assets.restSceneClock == assets.clock && sameKind(assets.restScene, target)) {
        return assets.restScene;
    }
    ALLEGRO_BITMAP *picture = restSceneCanvas(target);
    assets.restSceneBackground = background;
    assets.restSceneClock = assets.clock;
    if (picture) {
        al_set_target_bitmap(picture);
        layBackdrop(background);
        al_set_target_bitmap(target);
    }
    return picture;
}

void drawBackdrop() {
    ALLEGRO_BITMAP *background = backgroundFor(game.timeLeft, game.timeLimit);
    ALLEGRO_BITMAP *rest = isZooming() ? nullptr : restSceneFor(background);
    if (!rest) {
        layBackdrop(background);
        return;
    }
    int op, src, dst, alphaOp, alphaSrc, alphaDst;
    al_get_separate_blender(&op, &src, &dst, &alphaOp, &alphaSrc, &alphaDst);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
    al_draw_bitmap(rest, 0.0f, 0.0f, 0);
    al_set_separate_blender(op, src, dst, alphaOp, alphaSrc, alphaDst);
}

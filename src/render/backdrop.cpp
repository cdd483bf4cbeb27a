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

#include <initializer_list>

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

// Whether a picture fills the window with fully opaque pixels, found once
// per picture: reading one back from the graphics driver is slow.
struct OpaqueCheck {
    ALLEGRO_BITMAP *picture = nullptr; // the picture checked
    bool fillsWindow = false;          // at least window-sized, every pixel opaque
};

OpaqueCheck opaqueChecks[4]; // one per background

// Whether every pixel of the picture in the given box is fully opaque.
bool allOpaque(ALLEGRO_BITMAP *picture, int left, int top, int w, int h) {
    ALLEGRO_LOCKED_REGION *region =
        al_lock_bitmap(picture, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
    if (!region) {
        return false;
    }
    bool opaque = true;
    for (int y = top; y < top + h && opaque; ++y) {
        const auto *row = static_cast<const unsigned char *>(region->data) + y * region->pitch;
        for (int x = left; x < left + w && opaque; ++x) {
            opaque = row[4 * x + 3] == 255;
        }
    }
    al_unlock_bitmap(picture);
    return opaque;
}

// A background kept as strips round its middle counts as filling the
// window when every strip is opaque: the middle is cleared and lies under
// the clock.
bool stripsOpaque(ALLEGRO_BITMAP *picture, int slot) {
    bool opaque = true;
    for (const TitlePatch &strip : assets.warningStrips[slot]) {
        opaque =
            opaque && allOpaque(picture, strip.sheetX, strip.sheetY, strip.width, strip.height);
    }
    return opaque;
}

bool fillsWindowOpaquely(ALLEGRO_BITMAP *picture) {
    for (const OpaqueCheck &check : opaqueChecks) {
        if (check.picture == picture) {
            return check.fillsWindow;
        }
    }
    static int next = 0;
    OpaqueCheck &check = opaqueChecks[next];
    next = (next + 1) % 4;
    check.picture = picture;
    const int w = al_get_bitmap_width(picture), h = al_get_bitmap_height(picture);
    const int slot = cutWarning(picture);
    check.fillsWindow =
        slot < 0 ? w >= screenWidth && h >= screenHeight && allOpaque(picture, 0, 0, w, h)
                 : stripsOpaque(picture, slot);
    return check.fillsWindow;
}

// The background only round the clock's opaque middle, which hides it. An
// opaque background that fills the window is copied, and the frame needs
// clearing at most under the clock's cover: there every pixel is laid by
// one of the nested clocks. Where they are copied, that is the whole of
// it; where they blend, the alpha they leave depends on the blender, so
// the frame is cleared there first.
void layBackdrop(ALLEGRO_BITMAP *background) {
    const bool outerClock = !isZooming() || game.gameOver || game.score != 0;
    const ScreenBox hidden = clockLayerCover(outerClock ? 0 : 1);
    const auto drawBackground = [background] { drawBackdropPicture(background); };
    if (background && fillsWindowOpaquely(background)) {
        // The middle of a background kept as strips is never seen round the
        // resting clock; were it seen, it would show black, not old pixels.
        const ScreenBox clip = clippingBox();
        for (const ScreenBox &cleared :
             {copiesAsItBlends() ? noBox : hidden, backdropHole(background)}) {
            const ScreenBox under = commonBox(cleared, clip);
            if (!isEmpty(under)) {
                clipTo(under);
                al_clear_to_color(al_map_rgb(0, 0, 0));
                clipTo(clip);
            }
        }
        drawCopying([&] { drawAround(hidden, drawBackground); });
    } else {
        al_clear_to_color(al_map_rgb(0, 0, 0));
        if (background) {
            drawAround(hidden, drawBackground);
        }
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

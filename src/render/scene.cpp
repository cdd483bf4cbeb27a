// Clock geometry and zoom, the nested clock face and the hand.
#include "render/scene.h"

#include <allegro5/allegro.h>

#include <algorithm>
#include <cmath>

#include "game/game_state.h"
#include "shell/assets.h"

// Truncation, not rounding: the factor sits just below pi/180, so a point
// can land one pixel short of where rounding would put it.
ScreenPoint polarToScreen(float angle, float r) {
    const double theta = static_cast<double>(angle) * degToRad;
    const double x = clockCentreX + static_cast<double>(r) * std::sin(theta);
    const double y = clockCentreY - static_cast<double>(r) * std::cos(theta);
    return {static_cast<int>(x), static_cast<int>(y)};
}

float zoomScale(float t) { return static_cast<float>(std::pow(zoomBase, static_cast<double>(t))); }

bool isZooming() {
    return (game.levelTransition || game.gameOver) && game.phaseFrame <= zoomFrames;
}

float zoomProgress() {
    return static_cast<float>(game.phaseFrame) / static_cast<float>(zoomFrames);
}

float clockLayerScale(int k) {
    if (isZooming()) {
        // The exponent is rounded to a float once, not after each step.
        const double exponent = k - static_cast<double>(game.phaseFrame) / zoomFrames;
        return zoomScale(static_cast<float>(exponent));
    }
    float s = 1.0f;
    for (int i = 0; i < k; ++i) {
        s *= static_cast<float>(zoomBase);
    }
    return s;
}

float clockHandDegrees() {
    if (game.timeLimit == 0) {
        return 0.0f; // never reached: drawClockHand skips an empty clock
    }
    return static_cast<float>((-game.timeLeft * 360) / game.timeLimit);
}

// The library's own drawing into memory pictures takes a different path
// for a scaled copy than for a scaled blend, which can pick a neighbouring
// source pixel; the graphics driver's does not.
bool copiesAsItBlends() {
    ALLEGRO_BITMAP *target = al_get_target_bitmap();
    return target && !(al_get_bitmap_flags(target) & ALLEGRO_MEMORY_BITMAP);
}

// Each layer is drawn only round the part that the next, smaller one
// covers: in the zoom the outer layers are scaled up over the whole window,
// and those hidden pixels were most of a frame's work.
namespace {

// Layer k, nowhere under the next layer's cover: copied where it is itself
// fully opaque, blended round that.
template <typename Draw> void drawLayer(int k, Draw draw) {
    const ScreenBox own = clockLayerCover(k);
    const ScreenBox hidden = k < clockLayers ? clockLayerCover(k + 1) : noBox;
    const ScreenBox clip = clippingBox();
    const ScreenBox inner = commonBox(own, clip);
    if (isEmpty(inner) || !copiesAsItBlends()) {
        drawAround(hidden, draw);
        return;
    }
    clipTo(inner);
    drawCopying([&] { drawAround(hidden, draw); });
    clipTo(clip);
    drawAround(own, draw);
}

} // namespace

void drawClockFace() {
    if (!assets.clock) {
        return;
    }
    if (!isZooming()) {
        drawLayer(0, [] { al_draw_bitmap(assets.clock, clockCentreX - clockSize / 2, 0.0f, 0); });
    } else if (game.gameOver || game.score != 0) {
        // The opening zoom of a new game leaves the outer clock out, so the
        // face grows out of the centre.
        drawLayer(0, [] { drawClockLayer(0); });
    }
    for (int k = 1; k <= clockLayers; ++k) {
        drawLayer(k, [k] { drawClockLayer(k); });
    }
}

void drawClockLayer(int k) {
    if (!assets.clock) {
        return;
    }
    const float s = clockLayerScale(k);
    const float side = clockSize / s;
    al_draw_scaled_bitmap(assets.clock, 0.0f, 0.0f, clockSize, clockSize,
                          clockCentreX - clockSize / 2 / s, clockCentreY - clockSize / 2 / s, side,
                          side, 0);
}

namespace {

// The box round the hand picture's pixels that are not fully transparent,
// found once per picture: reading a picture back from the graphics driver
// is slow, and the hand's box is asked for every frame it turns.
struct VisiblePart {
    ALLEGRO_BITMAP *picture = nullptr; // the picture measured
    float part[4] = {};                // left, top, right, bottom, pixels
};

VisiblePart handPart;

// How far from the clock picture's centre every pixel is fully opaque, in
// picture pixels, measured once per picture.
struct OpaqueDisc {
    ALLEGRO_BITMAP *picture = nullptr; // the picture measured
    float radius = 0.0f;               // pixels
};

OpaqueDisc clockDisc;

// The nearest pixel that is not fully opaque sets the radius, less one
// pixel for the pixel's own extent.
void measureOpaqueDisc(OpaqueDisc &disc, ALLEGRO_BITMAP *picture) {
    disc.picture = picture;
    disc.radius = 0.0f;
    const int w = al_get_bitmap_width(picture), h = al_get_bitmap_height(picture);
    ALLEGRO_LOCKED_REGION *region =
        al_lock_bitmap(picture, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
    if (!region) {
        return;
    }
    double nearest = std::min(w, h) / 2.0;
    for (int y = 0; y < h; ++y) {
        const auto *row = static_cast<const unsigned char *>(region->data) + y * region->pitch;
        for (int x = 0; x < w; ++x) {
            if (row[4 * x + 3] != 255) {
                nearest = std::min(nearest, std::hypot(x + 0.5 - w / 2.0, y + 0.5 - h / 2.0));
            }
        }
    }
    al_unlock_bitmap(picture);
    disc.radius = static_cast<float>(std::max(0.0, nearest - 1.0));
}

void measureVisiblePart(VisiblePart &measured, ALLEGRO_BITMAP *picture) {
    measured.picture = picture;
    const int w = al_get_bitmap_width(picture), h = al_get_bitmap_height(picture);
    int left = w, top = h, right = 0, bottom = 0;
    ALLEGRO_LOCKED_REGION *region =
        al_lock_bitmap(picture, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
    if (!region) {
        measured.part[0] = 0.0f, measured.part[1] = 0.0f;
        measured.part[2] = static_cast<float>(w), measured.part[3] = static_cast<float>(h);
        return;
    }
    for (int y = 0; y < h; ++y) {
        const auto *row = static_cast<const unsigned char *>(region->data) + y * region->pitch;
        for (int x = 0; x < w; ++x) {
            if (row[4 * x + 3] != 0) {
                left = std::min(left, x), right = std::max(right, x + 1);
                top = std::min(top, y), bottom = std::max(bottom, y + 1);
            }
        }
    }
    al_unlock_bitmap(picture);
    measured.part[0] = static_cast<float>(left), measured.part[1] = static_cast<float>(top);
    measured.part[2] = static_cast<float>(std::max(left, right));
    measured.part[3] = static_cast<float>(std::max(top, bottom));
}

} // namespace

namespace {

// A window pixel samples the picture within a pixel or so of where the
// scale puts it; the square inside the disc, kept two pixels clear of its
// edge, is safely covered.
ScreenBox coverAtScale(float scale) {
    if (clockDisc.picture != assets.clock) {
        measureOpaqueDisc(clockDisc, assets.clock);
    }
    const double onWindow = clockDisc.radius / scale - 2.0;
    const int half = static_cast<int>(std::floor(onWindow / std::sqrt(2.0))) - 1;
    if (half <= 0) {
        return noBox;
    }
    const int cx = static_cast<int>(clockCentreX), cy = static_cast<int>(clockCentreY);
    return {cx - half, cy - half, cx + half, cy + half};
}

} // namespace

ScreenBox clockLayerCover(int k) {
    if (!assets.clock || k < 0 || k > clockLayers) {
        return noBox;
    }
    return coverAtScale(clockLayerScale(k));
}

ScreenBox clockRestCover() { return assets.clock ? coverAtScale(1.0f) : noBox; }

namespace {

// The rows `first` to `last` (of `pieces`) of the hand's visible part,
// turned to `degrees`.
ScreenBox handRowsBox(float degrees, int first, int last, int pieces) {
    if (!assets.clockHand) {
        return noBox;
    }
    if (handPart.picture != assets.clockHand) {
        measureVisiblePart(handPart, assets.clockHand);
    }
    const float *part = handPart.part;
    if (part[0] >= part[2] || part[1] >= part[3]) {
        return noBox;
    }
    const float height = part[3] - part[1];
    const float rows[4] = {part[0], part[1] + height * static_cast<float>(first) / pieces, part[2],
                           part[1] + height * static_cast<float>(last) / pieces};
    return turnedPictureBox(rows, 50.0f, 300.0f, clockCentreX, clockCentreY, 1.0f,
                            static_cast<float>(degrees * degToRad));
}

} // namespace

ScreenBox clockHandBox(float degrees) { return handRowsBox(degrees, 0, 1, 1); }

ScreenBox clockHandPieceBox(float degrees, int piece) {
    return handRowsBox(degrees, piece, piece + 1, handPieces);
}

void drawClockHand() {
    // A zero-length clock has no meaningful hand; dividing by it would trap.
    if (!assets.clockHand || game.timeLimit == 0) {
        return;
    }
    // Most of the hand's picture is transparent: clipped to the part that
    // shows, the rasteriser skips the rest of the turned picture.
    const float d = clockHandDegrees();
    const ScreenBox clip = clippingBox();
    const ScreenBox shows = commonBox(clip, clockHandBox(d));
    if (isEmpty(shows)) {
        return;
    }
    clipTo(shows);
    al_draw_rotated_bitmap(assets.clockHand, 50.0f, 300.0f, clockCentreX, clockCentreY,
                           static_cast<float>(d * degToRad), 0);
    clipTo(clip);
}

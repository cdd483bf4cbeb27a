// The ring maze and the mouse, drawn with the clock's geometry and zoom.
#include "render/maze_view.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_primitives.h>

#include "game/game_state.h"
#include "game/maze.h"
#include "render/scene.h"
#include "shell/assets.h"

namespace {

const ALLEGRO_COLOR mazeColour = al_map_rgba(16, 64, 32, 240);

// The opening zoom of a new game shows no maze: the one laid out for it is
// replaced before the first level is played.
bool mazeHidden() { return game.levelTransition && game.score == 0; }

float mazeZoom() { return isZooming() ? zoomScale(zoomProgress()) : 1.0f; }

} // namespace

void drawWalls() {
    for (int k = 1; k <= ringCount; ++k) {
        const RingSpec &ring = ringSpecs[k - 1];
        for (int i = 0; i < ring.cells; ++i) {
            if (wallMap.cells[ring.firstIndex + i] == 1) {
                const float a = static_cast<float>(i) * ring.cellAngle;
                drawWallSegment(a, ring.innerRadius, a, ring.outerRadius);
            }
        }
    }
}

void drawWallSegment(float a1, float r1, float a2, float r2) {
    if (mazeHidden()) {
        return;
    }
    const float z = mazeZoom();
    const ScreenPoint pt1 = polarToScreen(a1, r1 * z);
    const ScreenPoint pt2 = polarToScreen(a2, r2 * z);
    al_draw_line(pt1.x, pt1.y, pt2.x, pt2.y, mazeColour, mazeLineThickness);
}

// The opening of each ring is the one cell left without an arc.
void drawArcs() {
    for (int k = 1; k <= ringCount; ++k) {
        const RingSpec &ring = ringSpecs[k - 1];
        for (int i = 0; i < ring.cells; ++i) {
            if (arcMap.cells[ring.firstIndex + i] == 1) {
                drawArcSegment(static_cast<float>(i) * ring.cellAngle, ring.cellAngle,
                               ring.innerRadius);
            }
        }
    }
}

// Clock degrees start at twelve; the library's angles start at three.
void drawArcSegment(float start, float width, float r) {
    if (mazeHidden()) {
        return;
    }
    al_draw_arc(clockCentreX, clockCentreY, r * mazeZoom(),
                static_cast<float>((start - 90.0f) * degToRad),
                static_cast<float>(width * degToRad), mazeColour, mazeLineThickness);
}

// In its ring the mouse runs along the middle. Between levels it waits just
// inside the centre, then rides the zoom out to the middle of ring 1; on
// game over it flies out with the maze. Clockwise and anticlockwise travel
// turn the sprite half a turn apart.
void drawMouse() {
    float r = static_cast<float>(325 - 50 * game.mouse.ring);
    if (game.levelTransition) {
        if (game.phaseFrame > zoomFrames) {
            r = 91.0f;
        } else {
            const double exponent = 1.0 - static_cast<double>(game.phaseFrame) / zoomFrames;
            r = 275.0f / zoomScale(static_cast<float>(exponent));
        }
    }
    if (game.gameOver) {
        r *= zoomScale(zoomProgress());
    }
    const ScreenPoint pt = polarToScreen(game.mouse.angle, r);
    const float rho = game.mouse.facingRight ? game.mouse.angle - 90.0f : game.mouse.angle + 90.0f;
    const int sprite = game.mouse.animFrame / mouseFramesPerSprite;
    ALLEGRO_BITMAP *picture = sprite >= 0 && sprite < 4 ? assets.mouseFrames[sprite] : nullptr;
    if (picture) {
        al_draw_scaled_rotated_bitmap(picture, mousePivot, mousePivot, pt.x, pt.y, mouseScale,
                                      mouseScale, static_cast<float>(rho * degToRad), 0);
    }
}

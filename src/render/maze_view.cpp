// The ring maze and the mouse, drawn with the clock's geometry and zoom.
#include "render/maze_view.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_primitives.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>
#include <vector>

#include "game/game_state.h"
#include "game/maze.h"
#include "render/scene.h"
#include "shell/assets.h"
#include "shell/mouse_sprites.h"

namespace {

const ALLEGRO_COLOR mazeColour = al_map_rgba(16, 64, 32, 240);

void wallAt(float a1, float r1, float a2, float r2, float z) {
    const ScreenPoint pt1 = polarToScreen(a1, r1 * z);
    const ScreenPoint pt2 = polarToScreen(a2, r2 * z);
    al_draw_line(pt1.x, pt1.y, pt2.x, pt2.y, mazeColour, mazeLineThickness);
}

// Clock degrees start at twelve; the library's angles start at three.
void arcAt(float start, float width, float r, float z) {
    al_draw_arc(clockCentreX, clockCentreY, r * z, static_cast<float>((start - 90.0f) * degToRad),
                static_cast<float>(width * degToRad), mazeColour, mazeLineThickness);
}

// One arc as the library's al_draw_arc makes it: as many segments as its
// quality rule gives for this radius and sweep (at the identity transform
// the game draws with), laid out as a strip of quads.
int arcSegmentCount(float r, float sweep) {
    const double turns = std::fabs(sweep / (2 * ALLEGRO_PI));
    int n = static_cast<int>(turns * ALLEGRO_PRIM_QUALITY * std::sqrt(r));
    if (n < 2) {
        n = 2;
    }
    return 2 * n >= ALLEGRO_VERTEX_CACHE_SIZE ? (ALLEGRO_VERTEX_CACHE_SIZE - 1) / 2 : n;
}

// The walls or the arcs of a frame, gathered into one triangle list. Kept
// between frames so that it is allocated once.
std::vector<ALLEGRO_VERTEX> mazeTriangles;

void drawMazeTriangles() {
    if (!mazeTriangles.empty()) {
        al_draw_prim(mazeTriangles.data(), nullptr, nullptr, 0,
                     static_cast<int>(mazeTriangles.size()), ALLEGRO_PRIM_TRIANGLE_LIST);
    }
}

// Whether any of the strip's points lies within `margin` of the clipping
// rectangle: an arc wholly outside it would only cost the rasteriser time.
bool nearClip(const ALLEGRO_VERTEX *strip, int count, float margin) {
    int x, y, w, h;
    al_get_clipping_rectangle(&x, &y, &w, &h);
    float left = strip[0].x, top = strip[0].y, right = left, bottom = top;
    for (int i = 1; i < count; ++i) {
        left = std::min(left, strip[i].x), right = std::max(right, strip[i].x);
        top = std::min(top, strip[i].y), bottom = std::max(bottom, strip[i].y);
    }
    return right + margin >= x && left - margin <= x + w && bottom + margin >= y &&
           top - margin <= y + h;
}

// The strip's triangles in the order, and with the vertex order, in which
// the strip itself would be drawn, so the pixels come out the same.
void appendArc(float start, float width, float r, float z) {
    const float theta = static_cast<float>((start - 90.0f) * degToRad);
    const float sweep = static_cast<float>(width * degToRad);
    const int segments = arcSegmentCount(r * z, sweep);
    ALLEGRO_VERTEX strip[ALLEGRO_VERTEX_CACHE_SIZE];
    al_calculate_arc(&strip[0].x, sizeof(ALLEGRO_VERTEX), clockCentreX, clockCentreY, r * z, r * z,
                     theta, sweep, mazeLineThickness, segments);
    if (!nearClip(strip, 2 * segments, 2.0f)) {
        return;
    }
    for (int i = 0; i < 2 * segments; ++i) {
        strip[i].z = 0.0f;
        strip[i].u = strip[i].v = 0.0f;
        strip[i].color = mazeColour;
    }
    for (int i = 0; i + 2 < 2 * segments; ++i) {
        const bool odd = i % 2 == 1;
        mazeTriangles.push_back(strip[odd ? i + 1 : i]);
        mazeTriangles.push_back(strip[odd ? i : i + 1]);
        mazeTriangles.push_back(strip[i + 2]);
    }
}

// One wall as the library's al_draw_line makes a thick line: a quad of the
// line's two ends pushed out half the thickness either side, drawn as a fan.
void appendWall(float a1, float r1, float a2, float r2, float z) {
    const ScreenPoint pt1 = polarToScreen(a1, r1 * z);
    const ScreenPoint pt2 = polarToScreen(a2, r2 * z);
    const float x1 = static_cast<float>(pt1.x), y1 = static_cast<float>(pt1.y);
    const float x2 = static_cast<float>(pt2.x), y2 = static_cast<float>(pt2.y);
    const float len = std::hypot(x2 - x1, y2 - y1);
    if (len == 0.0f) {
        return;
    }
    const float tx = 0.5f * mazeLineThickness * (y2 - y1) / len;
    const float ty = 0.5f * mazeLineThickness * -(x2 - x1) / len;
    ALLEGRO_VERTEX quad[4] = {};
    quad[0].x = x1 + tx, quad[0].y = y1 + ty;
    quad[1].x = x1 - tx, quad[1].y = y1 - ty;
    quad[2].x = x2 - tx, quad[2].y = y2 - ty;
    quad[3].x = x2 + tx, quad[3].y = y2 + ty;
    if (!nearClip(quad, 4, 2.0f)) {
        return;
    }
    for (ALLEGRO_VERTEX &v : quad) {
        v.color = mazeColour;
    }
    for (const int i : {0, 1, 2, 0, 2, 3}) {
        mazeTriangles.push_back(quad[i]);
    }
}

} // namespace

bool mazeHidden() { return game.levelTransition && game.score == 0; }

float mazeZoom() { return isZooming() ? zoomScale(zoomProgress()) : 1.0f; }

// The cells of `map` marked 1, each added to one triangle list by
// `append(ring, i, zoom)`, drawn in one call: a hundred calls a frame would
// cost more than their pixels. The zoom and the visibility check are worked
// out once per frame instead of once per cell.
template <typename Append> void drawMarkedCells(const RingCellMap &map, Append append) {
    if (mazeHidden()) {
        return;
    }
    const float z = mazeZoom();
    mazeTriangles.clear();
    for (const RingSpec &ring : ringSpecs) {
        for (int i = 0; i < ring.cells; ++i) {
            if (map.cells[ring.firstIndex + i] == 1) {
                append(ring, i, z);
            }
        }
    }
    drawMazeTriangles();
}

void drawWalls() {
    drawMarkedCells(wallMap, [](const RingSpec &ring, int i, float z) {
        const float a = static_cast<float>(i) * ring.cellAngle;
        appendWall(a, ring.innerRadius, a, ring.outerRadius, z);
    });
}

void drawArcs() {
    drawMarkedCells(arcMap, [](const RingSpec &ring, int i, float z) {
        appendArc(static_cast<float>(i) * ring.cellAngle, ring.cellAngle, ring.innerRadius, z);
    });
}

void drawWallSegment(float a1, float r1, float a2, float r2) {
    if (!mazeHidden()) {
        wallAt(a1, r1, a2, r2, mazeZoom());
    }
}

void drawArcSegment(float start, float width, float r) {
    if (!mazeHidden()) {
        arcAt(start, width, r, mazeZoom());
    }
}

// Between levels the mouse waits just inside the centre, then rides the
// zoom out to the middle of ring 1; on game over it flies out with the maze.
float mouseRadius() {
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
    return r;
}

// Clockwise and anticlockwise travel turn the sprite half a turn apart.
static float mouseTurn(float angle, bool facingRight) {
    const float rho = facingRight ? angle - 90.0f : angle + 90.0f;
    return static_cast<float>(rho * degToRad);
}

void drawMouse() {
    ALLEGRO_BITMAP *picture = mouseSprite(game.mouse.animFrame / mouseFramesPerSprite);
    if (!picture) {
        return;
    }
    const ScreenPoint pt = polarToScreen(game.mouse.angle, mouseRadius());
    al_draw_scaled_rotated_bitmap(picture, mousePivot, mousePivot, pt.x, pt.y, mouseScale,
                                  mouseScale, mouseTurn(game.mouse.angle, game.mouse.facingRight),
                                  0);
}

// The whole picture, as the sprite is small on the screen.
ScreenBox mouseBox(int sprite, float angle, float radius, bool facingRight) {
    if (!hasMouseSprite(sprite)) {
        return noBox;
    }
    ALLEGRO_BITMAP *bitmap = assets.mouseSheet;
    const float picture[4] = {0.0f, 0.0f, static_cast<float>(al_get_bitmap_width(bitmap)),
                              static_cast<float>(al_get_bitmap_height(bitmap))};
    const ScreenPoint pt = polarToScreen(angle, radius);
    return turnedPictureBox(picture, mousePivot, mousePivot, static_cast<float>(pt.x),
                            static_cast<float>(pt.y), mouseScale, mouseTurn(angle, facingRight));
}

// The ring maze and the mouse, drawn with the clock's geometry and zoom.
#include "render/maze_view.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_primitives.h>

#include <algorithm>
#include <cmath>
#include <cstring>
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

// One wall or arc of a maze: its run of triangles in the maze's list, and
// the box round its points.
struct MazePiece {
    int first;
    int count;
    float left, top, right, bottom;
};

// The walls or the arcs of one maze at one zoom, as triangles. Worked out
// again only when the map or the zoom changes: a frame redrawn in a few
// small boxes draws the maze once per box, and would otherwise work out
// every arc again for each.
struct MazeShape {
    RingCellMap map{};  // the cells the triangles were made for
    float zoom = -1.0f; // and the zoom; never negative once made
    std::vector<ALLEGRO_VERTEX> triangles;
    std::vector<MazePiece> pieces;
};

MazeShape wallShape, arcShape;

// The triangles of the pieces near the clipping rectangle, drawn in one
// call. Kept between frames so that it is allocated once.
std::vector<ALLEGRO_VERTEX> mazeTriangles;

// Whether the piece lies within `margin` of the clipping rectangle: a wall
// or arc wholly outside it would only cost the rasteriser time.
bool nearClip(const MazePiece &piece, float margin) {
    int x, y, w, h;
    al_get_clipping_rectangle(&x, &y, &w, &h);
    return piece.right + margin >= x && piece.left - margin <= x + w &&
           piece.bottom + margin >= y && piece.top - margin <= y + h;
}

void drawNearClip(const MazeShape &shape) {
    mazeTriangles.clear();
    for (const MazePiece &piece : shape.pieces) {
        if (nearClip(piece, 2.0f)) {
            const auto first = shape.triangles.begin() + piece.first;
            mazeTriangles.insert(mazeTriangles.end(), first, first + piece.count);
        }
    }
    if (!mazeTriangles.empty()) {
        al_draw_prim(mazeTriangles.data(), nullptr, nullptr, 0,
                     static_cast<int>(mazeTriangles.size()), ALLEGRO_PRIM_TRIANGLE_LIST);
    }
}

// Makes the triangles `shape.triangles` gained since `first` one piece.
void closePiece(MazeShape &shape, int first) {
    const int count = static_cast<int>(shape.triangles.size()) - first;
    if (count == 0) {
        return;
    }
    MazePiece piece{first, count, 0.0f, 0.0f, 0.0f, 0.0f};
    piece.left = piece.right = shape.triangles[first].x;
    piece.top = piece.bottom = shape.triangles[first].y;
    for (int i = first; i < first + count; ++i) {
        const ALLEGRO_VERTEX &v = shape.triangles[i];
        piece.left = std::min(piece.left, v.x), piece.right = std::max(piece.right, v.x);
        piece.top = std::min(piece.top, v.y), piece.bottom = std::max(piece.bottom, v.y);
    }
    shape.pieces.push_back(piece);
}

// The strip's triangles in the order, and with the vertex order, in which
// the strip itself would be drawn, so the pixels come out the same.
void appendArc(std::vector<ALLEGRO_VERTEX> &out, float start, float width, float r, float z) {
    const float theta = static_cast<float>((start - 90.0f) * degToRad);
    const float sweep = static_cast<float>(width * degToRad);
    const int segments = arcSegmentCount(r * z, sweep);
    ALLEGRO_VERTEX strip[ALLEGRO_VERTEX_CACHE_SIZE];
    al_calculate_arc(&strip[0].x, sizeof(ALLEGRO_VERTEX), clockCentreX, clockCentreY, r * z, r * z,
                     theta, sweep, mazeLineThickness, segments);
    for (int i = 0; i < 2 * segments; ++i) {
        strip[i].z = 0.0f;
        strip[i].u = strip[i].v = 0.0f;
        strip[i].color = mazeColour;
    }
    for (int i = 0; i + 2 < 2 * segments; ++i) {
        const bool odd = i % 2 == 1;
        out.push_back(strip[odd ? i + 1 : i]);
        out.push_back(strip[odd ? i : i + 1]);
        out.push_back(strip[i + 2]);
    }
}

// One wall as the library's al_draw_line makes a thick line: a quad of the
// line's two ends pushed out half the thickness either side, drawn as a fan.
void appendWall(std::vector<ALLEGRO_VERTEX> &out, float a1, float r1, float a2, float r2, float z) {
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
    for (ALLEGRO_VERTEX &v : quad) {
        v.color = mazeColour;
    }
    for (const int i : {0, 1, 2, 0, 2, 3}) {
        out.push_back(quad[i]);
    }
}

} // namespace

bool mazeHidden() { return game.levelTransition && game.score == 0; }

float mazeZoom() { return isZooming() ? zoomScale(zoomProgress()) : 1.0f; }

// The cells of `map` marked 1, each a piece of `shape` laid by
// `append(triangles, ring, i, zoom)`, made again only for another map or
// zoom, and drawn in one call: a hundred calls a frame would cost more
// than their pixels.
template <typename Append>
void drawMarkedCells(const RingCellMap &map, MazeShape &shape, Append append) {
    if (mazeHidden()) {
        return;
    }
    const float z = mazeZoom();
    if (z != shape.zoom || std::memcmp(map.cells, shape.map.cells, sizeof map.cells) != 0) {
        shape.map = map;
        shape.zoom = z;
        shape.triangles.clear();
        shape.pieces.clear();
        for (const RingSpec &ring : ringSpecs) {
            for (int i = 0; i < ring.cells; ++i) {
                if (map.cells[ring.firstIndex + i] == 1) {
                    const int first = static_cast<int>(shape.triangles.size());
                    append(shape.triangles, ring, i, z);
                    closePiece(shape, first);
                }
            }
        }
    }
    drawNearClip(shape);
}

void drawWalls() {
    drawMarkedCells(wallMap, wallShape,
                    [](std::vector<ALLEGRO_VERTEX> &out, const RingSpec &ring, int i, float z) {
                        const float a = static_cast<float>(i) * ring.cellAngle;
                        appendWall(out, a, ring.innerRadius, a, ring.outerRadius, z);
                    });
}

void drawArcs() {
    drawMarkedCells(arcMap, arcShape,
                    [](std::vector<ALLEGRO_VERTEX> &out, const RingSpec &ring, int i, float z) {
                        appendArc(out, static_cast<float>(i) * ring.cellAngle, ring.cellAngle,
                                  ring.innerRadius, z);
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

// Clipped to the part of its picture that shows, and skipped in the boxes
// of a frame redrawn in small boxes that lie wholly away from it.
void drawMouse() {
    const int sprite = game.mouse.animFrame / mouseFramesPerSprite;
    const float radius = mouseRadius();
    const ScreenBox clip = clippingBox();
    const ScreenBox shows =
        commonBox(clip, mouseBox(sprite, game.mouse.angle, radius, game.mouse.facingRight));
    ALLEGRO_BITMAP *picture = isEmpty(shows) ? nullptr : mouseSprite(sprite);
    if (!picture) {
        return;
    }
    const ScreenPoint pt = polarToScreen(game.mouse.angle, radius);
    clipTo(shows);
    al_draw_scaled_rotated_bitmap(picture, mousePivot, mousePivot, pt.x, pt.y, mouseScale,
                                  mouseScale, mouseTurn(game.mouse.angle, game.mouse.facingRight),
                                  0);
    clipTo(clip);
}

// Only the part of the picture that shows in some sprite: round the
// body, most of the picture is keyed out.
ScreenBox mouseBox(int sprite, float angle, float radius, bool facingRight) {
    const PictureBox &visible = assets.mouseVisible;
    if (!hasMouseSprite(sprite) || visible.width <= 0 || visible.height <= 0) {
        return noBox;
    }
    const float part[4] = {static_cast<float>(visible.x), static_cast<float>(visible.y),
                           static_cast<float>(visible.x + visible.width),
                           static_cast<float>(visible.y + visible.height)};
    const ScreenPoint pt = polarToScreen(angle, radius);
    return turnedPictureBox(part, mousePivot, mousePivot, static_cast<float>(pt.x),
                            static_cast<float>(pt.y), mouseScale, mouseTurn(angle, facingRight));
}

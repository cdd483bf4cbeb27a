#include "support/render_fixture.h"

#include <algorithm>

#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include "game/game_state.h"
#include "game/maze.h"
#include "render/rest_scene.h"
#include "shell/assets.h"
#include "shell/shell.h"

bool Snapshot::lit(int x, int y) const {
    const Rgb p = at(x, y);
    return p.r > 8 || p.g > 8 || p.b > 8;
}

PixelBox Snapshot::box(const std::function<bool(Rgb)> &want) const {
    PixelBox b;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!want(at(x, y))) {
                continue;
            }
            if (b.empty) {
                b = {false, x, y, x, y};
            }
            b.left = std::min(b.left, x);
            b.right = std::max(b.right, x);
            b.top = std::min(b.top, y);
            b.bottom = std::max(b.bottom, y);
        }
    }
    return b;
}

PixelBox Snapshot::litBox() const {
    return box([](Rgb p) { return p.r > 8 || p.g > 8 || p.b > 8; });
}

int Snapshot::count(const std::function<bool(Rgb)> &want) const {
    int n = 0;
    for (const Rgb &p : pixels) {
        n += want(p) ? 1 : 0;
    }
    return n;
}

Snapshot snapshot(ALLEGRO_BITMAP *bitmap) {
    Snapshot s;
    s.width = al_get_bitmap_width(bitmap);
    s.height = al_get_bitmap_height(bitmap);
    s.pixels.resize(static_cast<size_t>(s.width * s.height));
    ALLEGRO_LOCKED_REGION *region =
        al_lock_bitmap(bitmap, ALLEGRO_PIXEL_FORMAT_ABGR_8888, ALLEGRO_LOCK_READONLY);
    for (int y = 0; y < s.height; ++y) {
        const auto *row = static_cast<const unsigned char *>(region->data) + y * region->pitch;
        for (int x = 0; x < s.width; ++x) {
            s.pixels[static_cast<size_t>(y * s.width + x)] = {row[4 * x], row[4 * x + 1],
                                                              row[4 * x + 2]};
        }
    }
    al_unlock_bitmap(bitmap);
    return s;
}

// The pictures it was composed from are the test's, and go with it.
void forgetRestScene() {
    al_destroy_bitmap(restScene.picture);
    restScene = RestScene{};
}

void RenderTest::SetUpTestSuite() {
    ASSERT_TRUE(al_install_system(ALLEGRO_VERSION_INT, atexit));
    ASSERT_TRUE(al_init_primitives_addon());
    ASSERT_TRUE(al_init_font_addon());
    ASSERT_TRUE(al_init_ttf_addon());
}

void RenderTest::SetUp() {
    game = GameState{};
    clearMap(wallMap);
    clearMap(arcMap);
    assets = AssetSet{};
    loadProblems = LoadProblems{};
    picturesLoaded = 0; // the pictures here are made by the tests, not loaded
    forgetRestScene();
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    target = al_create_bitmap(screenWidth, screenHeight);
    ASSERT_NE(target, nullptr);
    owned.push_back(target);
    clearTarget();
}

void RenderTest::TearDown() {
    assets = AssetSet{};
    forgetRestScene();
    al_set_target_bitmap(nullptr);
    for (ALLEGRO_BITMAP *bitmap : owned) {
        al_destroy_bitmap(bitmap);
    }
    for (ALLEGRO_FONT *font : fonts) {
        al_destroy_font(font);
    }
}

void RenderTest::clearTarget() {
    al_set_target_bitmap(target);
    ALLEGRO_TRANSFORM identity;
    al_identity_transform(&identity);
    al_use_transform(&identity);
    al_clear_to_color(al_map_rgb(0, 0, 0));
}

ALLEGRO_BITMAP *RenderTest::solid(int w, int h, Rgb colour) {
    ALLEGRO_BITMAP *bitmap = al_create_bitmap(w, h);
    owned.push_back(bitmap);
    al_set_target_bitmap(bitmap);
    al_clear_to_color(al_map_rgb(colour.r, colour.g, colour.b));
    al_set_target_bitmap(target);
    return bitmap;
}

ALLEGRO_BITMAP *RenderTest::transparent(int w, int h) {
    ALLEGRO_BITMAP *bitmap = al_create_bitmap(w, h);
    owned.push_back(bitmap);
    al_set_target_bitmap(bitmap);
    al_clear_to_color(al_map_rgba(0, 0, 0, 0));
    al_set_target_bitmap(target);
    return bitmap;
}

void RenderTest::paint(ALLEGRO_BITMAP *bitmap, int x1, int y1, int x2, int y2, Rgb colour) {
    al_set_target_bitmap(bitmap);
    al_draw_filled_rectangle(x1, y1, x2, y2, al_map_rgb(colour.r, colour.g, colour.b));
    al_set_target_bitmap(target);
}

ALLEGRO_FONT *RenderTest::loadTestFont() {
    ALLEGRO_FONT *font = al_load_ttf_font(testFontPath, 28, ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    if (font) {
        fonts.push_back(font);
    }
    return font;
}

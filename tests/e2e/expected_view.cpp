// The same library, the same GL path and the same assets as the game, so
// that a state paints here exactly as it does in the game's window.
#include "e2e/expected_view.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <unistd.h>

#include <cstdlib>

#include "shell/assets.h"
#include "shell/shell.h"

bool openExpectedView(const std::string &assetDir, int x, int y, std::string &error) {
    if (!al_install_system(ALLEGRO_VERSION_INT, atexit)) {
        error = "cannot initialise Allegro";
        return false;
    }
    al_init_primitives_addon();
    al_init_image_addon();
    al_set_new_display_flags(ALLEGRO_WINDOWED);
    al_set_new_window_position(x, y);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    shell.display = al_create_display(screenWidth, screenHeight);
    if (!shell.display) {
        error = "cannot open the test's own 800x600 window";
        return false;
    }
    if (chdir(assetDir.c_str()) != 0) {
        error = "cannot enter the asset folder " + assetDir;
        return false;
    }
    loadImages();
    loadFont();
    return true;
}

// The backbuffer is read before the flip, so it holds exactly what
// render painted.
static void adoptSnapshot(const GameSnapshot &snap) {
    game = snap.state;
    wallMap = snap.walls;
    arcMap = snap.arcs;
}

void renderExpected(const GameSnapshot &snap, Image &image) {
    adoptSnapshot(snap);
    ALLEGRO_BITMAP *backbuffer = al_get_backbuffer(shell.display);
    al_set_target_bitmap(backbuffer);
    render();
    image.width = al_get_bitmap_width(backbuffer);
    image.height = al_get_bitmap_height(backbuffer);
    image.pixels.resize(static_cast<size_t>(image.width) * image.height);
    ALLEGRO_LOCKED_REGION *region =
        al_lock_bitmap(backbuffer, ALLEGRO_PIXEL_FORMAT_ARGB_8888, ALLEGRO_LOCK_READONLY);
    for (int y = 0; y < image.height && region; ++y) {
        const char *row = static_cast<const char *>(region->data) + y * region->pitch;
        const uint32_t *pixels = reinterpret_cast<const uint32_t *>(row);
        for (int x = 0; x < image.width; ++x) {
            image.pixels[static_cast<size_t>(y) * image.width + x] = pixels[x] & 0xffffff;
        }
    }
    if (region) {
        al_unlock_bitmap(backbuffer);
    }
    al_flip_display();
}

bool savePng(const Image &image, const std::string &path) {
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    ALLEGRO_BITMAP *bitmap = al_create_bitmap(image.width, image.height);
    al_set_new_bitmap_flags(0);
    if (!bitmap) {
        return false;
    }
    ALLEGRO_LOCKED_REGION *region =
        al_lock_bitmap(bitmap, ALLEGRO_PIXEL_FORMAT_ARGB_8888, ALLEGRO_LOCK_WRITEONLY);
    for (int y = 0; y < image.height && region; ++y) {
        uint32_t *row =
            reinterpret_cast<uint32_t *>(static_cast<char *>(region->data) + y * region->pitch);
        for (int x = 0; x < image.width; ++x) {
            row[x] = 0xff000000u | image.pixels[static_cast<size_t>(y) * image.width + x];
        }
    }
    if (region) {
        al_unlock_bitmap(bitmap);
    }
    const bool saved = al_save_bitmap(path.c_str(), bitmap);
    al_destroy_bitmap(bitmap);
    return saved;
}

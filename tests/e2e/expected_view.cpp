// The same library, the same GL path and the same assets as the game, so
// that a state paints here exactly as it does in the game's window.
#include "e2e/expected_view.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_x.h>
#include <unistd.h>

#include <cstdlib>

#include "shell/assets.h"

// A frame of another size is painted as the game paints it, by
// renderToWindow(), into a bitmap of the window's size. An 800x600 frame
// goes straight to the back buffer, in the game and here: painted into a
// bitmap instead, the mouse sprite came out unlike the game's in about 50
// pixels.
static ALLEGRO_BITMAP *window; // as large as the last scaled layout's window

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

unsigned long expectedViewWindow() { return al_get_x_window_id(shell.display); }

static void adoptSnapshot(const GameSnapshot &snap) {
    game = snap.state;
    wallMap = snap.walls;
    arcMap = snap.arcs;
}

static ALLEGRO_BITMAP *windowOfSize(int width, int height) {
    if (window && al_get_bitmap_width(window) == width && al_get_bitmap_height(window) == height) {
        return window;
    }
    if (window) {
        al_destroy_bitmap(window);
    }
    al_set_new_bitmap_flags(ALLEGRO_VIDEO_BITMAP);
    window = al_create_bitmap(width, height);
    al_set_new_bitmap_flags(0);
    return window;
}

// The back buffer is read before the flip, so it holds exactly what
// render painted.
void renderExpected(const GameSnapshot &snap, Image &image, const WindowLayout &layout) {
    adoptSnapshot(snap);
    ALLEGRO_BITMAP *target = layout.width == screenWidth && layout.height == screenHeight
                                 ? al_get_backbuffer(shell.display)
                                 : windowOfSize(layout.width, layout.height);
    if (!target) {
        image = Image{};
        return;
    }
    al_set_target_bitmap(target);
    renderToWindow();
    readBitmap(target, image);
    if (target == al_get_backbuffer(shell.display)) {
        al_flip_display();
    }
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

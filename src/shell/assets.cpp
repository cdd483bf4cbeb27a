// Loads every picture into its slot, in a fixed order, and the score font.
#include "shell/assets.h"

#include <allegro5/allegro_image.h>
#include <allegro5/allegro_ttf.h>

#include <cstdio>

const std::string assetRoot;
AssetSet assets;

namespace {

// The title frames in slot order: the animation indexes this table.
const char *const menuFiles[8] = {"startmenu\\startmenu06.png", "startmenu\\startmenu07.png",
                                  "startmenu\\startmenu00.png", "startmenu\\startmenu01.png",
                                  "startmenu\\startmenu02.png", "startmenu\\startmenu03.png",
                                  "startmenu\\startmenu04.png", "startmenu\\startmenu05.png"};

// Numbered 2 to 17 without 5, 6 and 7.
const char *const messageFiles[13] = {
    "messages\\msg2.png",  "messages\\msg3.png",  "messages\\msg4.png",  "messages\\msg8.png",
    "messages\\msg9.png",  "messages\\msg10.png", "messages\\msg11.png", "messages\\msg12.png",
    "messages\\msg13.png", "messages\\msg14.png", "messages\\msg15.png", "messages\\msg16.png",
    "messages\\msg17.png"};

// The names are kept as written with a backslash before the file; on disk
// the platform's own separator stands there.
std::string assetPath(const char *name) {
    std::string filename = assetRoot + name;
    for (char &c : filename) {
        if (c == '\\') {
            c = ALLEGRO_NATIVE_PATH_SEP;
        }
    }
    return filename;
}

// A missing or broken picture leaves its slot empty for the drawing code to
// skip, and says which file on standard error (standard output belongs to
// the sound loader's report).
ALLEGRO_BITMAP *loadPicture(const char *name) {
    const std::string filename = assetPath(name);
    ALLEGRO_BITMAP *bitmap = al_load_bitmap_flags(filename.c_str(), ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    if (!bitmap) {
        std::fprintf(stderr, "clockmaze: cannot load picture \"%s\"\n", filename.c_str());
    }
    return bitmap;
}

// What al_convert_mask_to_alpha does, every opaque pixel of exactly the key
// colour made (0, 0, 0, 0), without its two library calls per pixel; on a
// memory bitmap, where locking costs nothing.
void convertMaskToAlpha(ALLEGRO_BITMAP *bitmap, ALLEGRO_COLOR key) {
    unsigned char r, g, b;
    al_unmap_rgb(key, &r, &g, &b);
    ALLEGRO_LOCKED_REGION *region =
        al_lock_bitmap(bitmap, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READWRITE);
    if (!region) {
        al_convert_mask_to_alpha(bitmap, key);
        return;
    }
    const int width = al_get_bitmap_width(bitmap);
    const int height = al_get_bitmap_height(bitmap);
    for (int y = 0; y < height; ++y) {
        auto *p = static_cast<unsigned char *>(region->data) + y * region->pitch;
        for (int x = 0; x < width; ++x, p += 4) {
            if (p[0] == r && p[1] == g && p[2] == b && p[3] == 255) {
                p[0] = p[1] = p[2] = p[3] = 0;
            }
        }
    }
    al_unlock_bitmap(bitmap);
}

// Keyed in memory, then made the kind of bitmap asked for: keying a video
// bitmap would read it back from the graphics driver and send it again.
ALLEGRO_BITMAP *loadKeyedPicture(const char *name, ALLEGRO_COLOR key) {
    const int flags = al_get_new_bitmap_flags();
    al_set_new_bitmap_flags((flags & ~ALLEGRO_VIDEO_BITMAP) | ALLEGRO_MEMORY_BITMAP);
    ALLEGRO_BITMAP *bitmap = loadPicture(name);
    al_set_new_bitmap_flags(flags);
    if (bitmap) {
        convertMaskToAlpha(bitmap, key);
        al_convert_bitmap(bitmap);
    }
    return bitmap;
}

} // namespace

void loadImages() {
    // Textures on this game's platforms are never lost, so the library need
    // not keep a second copy of every picture in memory to restore them.
    const int flags = al_get_new_bitmap_flags();
    al_set_new_bitmap_flags(flags | ALLEGRO_NO_PRESERVE_TEXTURE);
    const ALLEGRO_COLOR black = al_map_rgb(0, 0, 0);
    const ALLEGRO_COLOR blue = al_map_rgb(0, 0, 255);
    assets.clock = loadKeyedPicture("clock.png", black);
    assets.warning[0] = loadPicture("warning1.png");
    assets.warning[1] = loadPicture("warning2.png");
    assets.warning[2] = loadPicture("warning3.png");
    assets.background = loadPicture("zubg.png");
    assets.mouseFrames[0] = loadKeyedPicture("mouse_run0001.png", blue);
    assets.mouseFrames[1] = loadKeyedPicture("mouse_run0002.png", blue);
    assets.mouseFrames[2] = loadKeyedPicture("mouse_run0003.png", blue);
    assets.mouseFrames[3] = loadKeyedPicture("mouse_run0004.png", blue);
    assets.clockHand = loadKeyedPicture("clockhand.png", black);
    // File-number order 00 to 07, which is not slot order.
    const int menuSlotOfFile[8] = {2, 3, 4, 5, 6, 7, 0, 1};
    for (int file = 0; file < 8; ++file) {
        const int slot = menuSlotOfFile[file];
        assets.menuFrames[slot] = loadPicture(menuFiles[slot]);
    }
    for (int slot = 0; slot < 13; ++slot) {
        assets.messages[slot] = loadPicture(messageFiles[slot]);
    }
    al_set_new_bitmap_flags(flags);
}

void loadFont() {
    al_init_font_addon();
    al_init_ttf_addon();
    const std::string filename = assetPath("arialbd.ttf");
    assets.font = al_load_ttf_font(filename.c_str(), 28, ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    if (!assets.font) {
        std::fprintf(stderr, "clockmaze: cannot load font \"%s\"; scores will not show\n",
                     filename.c_str());
    }
}

// The asset catalogue: which file goes into which slot, with which colour
// key, and the loaders that read them.
#include "shell/assets.h"

#include <allegro5/allegro_ttf.h>

#include <cstdio>

std::string assetRoot;
AssetSet assets;
int picturesLoaded = 0;

namespace {

enum class Key { None, Black, Blue };

struct PictureFile {
    const char *name;      // as the game writes it, backslash before the file
    ALLEGRO_BITMAP **slot; // where it lands
    Key key;               // the colour made transparent
};

// The title pictures come first, in slot order, so that the title can show
// as soon as its first picture is in; then the rest, in catalogue order.
// The messages are numbered 2 to 17 without 5, 6 and 7.
const PictureFile catalogue[pictureCount] = {
    {"startmenu\\startmenu06.png", &assets.menuFrames[0], Key::None},
    {"startmenu\\startmenu07.png", &assets.menuFrames[1], Key::None},
    {"startmenu\\startmenu00.png", &assets.menuFrames[2], Key::None},
    {"startmenu\\startmenu01.png", &assets.menuFrames[3], Key::None},
    {"startmenu\\startmenu02.png", &assets.menuFrames[4], Key::None},
    {"startmenu\\startmenu03.png", &assets.menuFrames[5], Key::None},
    {"startmenu\\startmenu04.png", &assets.menuFrames[6], Key::None},
    {"startmenu\\startmenu05.png", &assets.menuFrames[7], Key::None},
    {"clock.png", &assets.clock, Key::Black},
    {"warning1.png", &assets.warning[0], Key::None},
    {"warning2.png", &assets.warning[1], Key::None},
    {"warning3.png", &assets.warning[2], Key::None},
    {"zubg.png", &assets.background, Key::None},
    {"mouse_run0001.png", &assets.mouseFrames[0], Key::Blue},
    {"mouse_run0002.png", &assets.mouseFrames[1], Key::Blue},
    {"mouse_run0003.png", &assets.mouseFrames[2], Key::Blue},
    {"mouse_run0004.png", &assets.mouseFrames[3], Key::Blue},
    {"clockhand.png", &assets.clockHand, Key::Black},
    {"messages\\msg2.png", &assets.messages[0], Key::None},
    {"messages\\msg3.png", &assets.messages[1], Key::None},
    {"messages\\msg4.png", &assets.messages[2], Key::None},
    {"messages\\msg8.png", &assets.messages[3], Key::None},
    {"messages\\msg9.png", &assets.messages[4], Key::None},
    {"messages\\msg10.png", &assets.messages[5], Key::None},
    {"messages\\msg11.png", &assets.messages[6], Key::None},
    {"messages\\msg12.png", &assets.messages[7], Key::None},
    {"messages\\msg13.png", &assets.messages[8], Key::None},
    {"messages\\msg14.png", &assets.messages[9], Key::None},
    {"messages\\msg15.png", &assets.messages[10], Key::None},
    {"messages\\msg16.png", &assets.messages[11], Key::None},
    {"messages\\msg17.png", &assets.messages[12], Key::None},
};

// The names keep the backslash before the file; on disk the platform's own
// separator stands there.
std::string assetPath(const char *name) {
    std::string filename = assetRoot + name;
    for (char &c : filename) {
        if (c == '\\') {
            c = ALLEGRO_NATIVE_PATH_SEP;
        }
    }
    return filename;
}

// A picture that cannot be read leaves its slot empty for the drawing code
// to skip, and says which on standard error (standard output carries the
// sound loader's report).
ALLEGRO_BITMAP *loadPicture(const PictureFile &file) {
    const std::string filename = assetPath(file.name);
    ALLEGRO_BITMAP *bitmap = al_load_bitmap_flags(filename.c_str(), ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    if (!bitmap) {
        std::fprintf(stderr, "clockmaze: cannot load picture \"%s\"\n", filename.c_str());
        return nullptr;
    }
    if (file.key == Key::Black) {
        al_convert_mask_to_alpha(bitmap, al_map_rgb(0, 0, 0));
    } else if (file.key == Key::Blue) {
        al_convert_mask_to_alpha(bitmap, al_map_rgb(0, 0, 255));
    }
    return bitmap;
}

} // namespace

void loadNextPicture() {
    if (picturesLoaded >= pictureCount) {
        return;
    }
    const PictureFile &file = catalogue[picturesLoaded];
    // Textures are never lost on the platforms the game runs on, so the
    // library need not keep a second copy of each picture (31 MB).
    const int flags = al_get_new_bitmap_flags();
    al_set_new_bitmap_flags(flags | ALLEGRO_NO_PRESERVE_TEXTURE);
    *file.slot = loadPicture(file);
    al_set_new_bitmap_flags(flags);
    picturesLoaded += 1;
}

void loadImages() {
    picturesLoaded = 0;
    while (picturesLoaded < pictureCount) {
        loadNextPicture();
    }
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

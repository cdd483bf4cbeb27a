// Draws every picture and sound of the game into the asset folder, the
// contact sheet and the desktop icons. Everything is computed; the same
// sources give the same files.
// usage: clockmaze_assetgen ASSET_DIR FONT_DIR SHEET_PNG ICON_DIR ICON_NAME
// The icons go to ICON_DIR/<N>x<N>/apps/ICON_NAME.png, laid out as in the
// hicolor theme; the game's window icon is the 64 px one, as icon.png, and
// the Windows program's icon is ICON_DIR/ICON_NAME.ico, with every size,
// beside the picture its installer shows, ICON_DIR/installer-panel.bmp.
#include "art.h"

#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Picture {
    std::string name;       // path under the asset folder
    Key key;                // how the game keys it
    ALLEGRO_BITMAP *bitmap; // the finished picture
};

std::vector<Picture> paintAll() {
    std::vector<Picture> all;
    // Sprites first, then the full-window pictures: the contact sheet
    // follows this order.
    all.push_back({"clock.png", Key::Black, paintClock()});
    all.push_back({"clockhand.png", Key::Black, paintClockHand()});
    for (int i = 0; i < 4; ++i) {
        all.push_back(
            {"mouse_run000" + std::to_string(i + 1) + ".png", Key::Blue, paintMouseFrame(i)});
    }
    all.push_back({"zubg.png", Key::None, paintBackdrop(0)});
    for (int i = 1; i <= 3; ++i) {
        all.push_back({"warning" + std::to_string(i) + ".png", Key::None, paintBackdrop(i)});
    }
    for (int i = 0; i < 8; ++i) {
        all.push_back(
            {"startmenu/startmenu0" + std::to_string(i) + ".png", Key::None, paintTitleFrame(i)});
    }
    for (int n : {2, 3, 4, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}) {
        all.push_back({"messages/msg" + std::to_string(n) + ".png", Key::None, paintMessage(n)});
    }
    return all;
}

bool save(ALLEGRO_BITMAP *bitmap, const std::string &path) {
    if (!savePng(bitmap, path)) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s ASSET_DIR FONT_DIR SHEET_PNG ICON_DIR ICON_NAME\n",
                     argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    if (!al_install_system(ALLEGRO_VERSION_INT, nullptr) || !al_init_image_addon() ||
        !al_init_primitives_addon() || !al_init_font_addon() || !al_init_ttf_addon()) {
        std::fprintf(stderr, "assetgen: cannot initialise Allegro\n");
        return 1;
    }
    setFontFolder(argv[2]);
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    al_set_new_bitmap_format(ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE);
    al_make_directory((out + "/startmenu").c_str());
    al_make_directory((out + "/messages").c_str());

    const std::vector<Picture> all = paintAll();
    std::vector<ALLEGRO_BITMAP *> bitmaps;
    std::vector<const char *> names;
    std::vector<Key> keys;
    for (const Picture &picture : all) {
        if (!save(picture.bitmap, out + "/" + picture.name)) {
            return 1;
        }
        bitmaps.push_back(picture.bitmap);
        names.push_back(picture.name.c_str());
        keys.push_back(picture.key);
    }
    if (!writeSounds(out)) {
        return 1;
    }
    ALLEGRO_BITMAP *sheet = paintContactSheet(bitmaps.data(), names.data(), keys.data(),
                                              static_cast<int>(bitmaps.size()));
    if (!save(sheet, argv[3])) {
        return 1;
    }
    std::vector<IconFile> icons;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string folder = std::string(argv[4]) + "/" + std::to_string(size) + "x" +
                                   std::to_string(size) + "/apps";
        al_make_directory(folder.c_str());
        ALLEGRO_BITMAP *icon = paintIcon(size);
        if (!save(icon, folder + "/" + argv[5] + ".png") ||
            (size == 64 && !save(icon, out + "/icon.png"))) {
            return 1;
        }
        icons.push_back({size, folder + "/" + argv[5] + ".png"});
    }
    if (!writeIco(icons, std::string(argv[4]) + "/" + argv[5] + ".ico")) {
        std::fprintf(stderr, "assetgen: cannot write the .ico file\n");
        return 1;
    }
    const std::string panel = std::string(argv[4]) + "/installer-panel.bmp";
    if (!writeBmp(paintInstallerPanel(), panel)) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", panel.c_str());
        return 1;
    }
    return 0;
}

// Waits until the game's window shows one of the title screen's pictures,
// as a player would see it: the window on the X server compared with the
// pictures in the asset folder, all but the two scores the title writes.
//   title_shown ASSET_DIR SECONDS
// Exit status 0 once the title shows, 1 if it has not within SECONDS.
#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/frames.h"
#include "e2e/x_screen.h"

namespace {

bool loadImage(const std::string &path, Image &image) {
    ALLEGRO_BITMAP *bitmap = al_load_bitmap(path.c_str());
    if (!bitmap) {
        return false;
    }
    readBitmap(bitmap, image);
    al_destroy_bitmap(bitmap);
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: title_shown ASSET_DIR SECONDS\n");
        return 2;
    }
    if (!al_init() || !al_init_image_addon()) {
        std::fprintf(stderr, "title_shown: cannot start Allegro\n");
        return 2;
    }
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    std::vector<Image> titles(8);
    for (int i = 0; i < 8; ++i) {
        const std::string path =
            std::string(argv[1]) + "/startmenu/startmenu0" + std::to_string(i) + ".png";
        if (!loadImage(path, titles[i])) {
            std::fprintf(stderr, "title_shown: cannot load %s\n", path.c_str());
            return 1;
        }
    }
    XScreen screen;
    const double seconds = std::atof(argv[2]);
    if (!openXScreen(screen) || !waitForGameWindow(screen, seconds)) {
        std::fprintf(stderr, "title_shown: no window on the display\n");
        return 1;
    }
    // The best score and the score, written over the picture, take a few
    // hundred pixels; a missing or wrong picture differs in far more.
    const int allowed = screen.width * screen.height / 200;
    int closest = -1;
    for (double waited = 0; waited < seconds; waited += 0.1) {
        Image window;
        if (grabGameWindow(screen, window)) {
            int nearest = -1;
            for (const Image &title : titles) {
                const FrameDiff diff = compareImages(window, title, 8);
                if (diff.sizesMatch && (nearest < 0 || diff.differing < nearest)) {
                    nearest = diff.differing;
                }
            }
            if (nearest >= 0 && nearest <= allowed) {
                std::printf("title shown: %d of %d pixels differ from its picture\n", nearest,
                            window.width * window.height);
                return 0;
            }
            if (nearest >= 0 && (closest < 0 || nearest < closest)) {
                closest = nearest;
            }
        }
        usleep(100000);
    }
    std::fprintf(stderr, "title_shown: no title picture within %.0f s; at best %d pixels differ\n",
                 seconds, closest);
    return 1;
}

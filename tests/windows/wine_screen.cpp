// Watches the Windows game's window under Wine, on the test's X server.
//   wine_screen title ASSET_DIR WINDOW SECONDS [SOUNDS_MISSING]
//       waits until the X window WINDOW shows the title screen as render()
//       paints it (scores 0, and the line naming SOUNDS_MISSING sounds the
//       game plays on without), within the tolerance below
//   wine_screen play ASSET_DIR WINDOW SECONDS
//       holds Space, then watches for SECONDS: the title must be gone and the
//       frames must keep changing
//   wine_screen running ASSET_DIR WINDOW SECONDS
//       watches for SECONDS: the frame changes (nothing holds the game
//       still) and shows its pictures (most of it is not black)
//   wine_screen paused ASSET_DIR WINDOW SECONDS
//       watches for SECONDS: the frame stands still and shows its pictures
//   wine_screen panel BMP_FILE WINDOW SECONDS
//       waits until the installer's window WINDOW shows the picture BMP_FILE
//       down its left edge, at its width and fitted to any height
// Exit status 0 when the check holds, 1 when not, 2 when it cannot run.
#include <X11/keysym.h>
#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "e2e/frames.h"
#include "e2e/x_screen.h"
#include "game/game_state.h"
#include "render/screens.h"
#include "shell/assets.h"
#include "shell/shell.h"
#include "support/expected_title.h"

namespace {

// The Windows game draws with OpenGL, as here, but its score digits come
// from its own FreeType, not Debian's: measured, 157 pixels of the title
// differed, none by more than 8 in a channel. Channels within 8 count as
// equal, and one pixel in 1000 may differ further.
constexpr int channelTolerance = 8;
constexpr int allowedPerMille = 1;

// Wine may frame its window with a border of its own: the game's 800x600
// picture is the middle of it.
Image gameArea(const Image &window) {
    if (window.width < screenWidth || window.height < screenHeight) {
        return window;
    }
    Image area;
    area.width = screenWidth;
    area.height = screenHeight;
    const int left = (window.width - screenWidth) / 2, top = (window.height - screenHeight) / 2;
    for (int y = 0; y < screenHeight; ++y) {
        const uint32_t *row = &window.pixels[static_cast<size_t>(y + top) * window.width + left];
        area.pixels.insert(area.pixels.end(), row, row + screenWidth);
    }
    return area;
}

bool grabArea(XScreen &screen, Image &area) {
    Image window;
    if (!updateGameWindow(screen) || !grabGameWindow(screen, window)) {
        return false;
    }
    area = gameArea(window);
    return true;
}

int checkTitle(XScreen &screen, const std::vector<Image> &titles, double seconds) {
    const int allowed = screenWidth * screenHeight * allowedPerMille / 1000;
    int closest = -1;
    for (double waited = 0; waited < seconds; waited += 0.1) {
        Image area;
        const int distance =
            grabArea(screen, area) ? titleDistance(area, titles, channelTolerance) : -1;
        if (distance >= 0 && distance <= allowed) {
            std::printf("title shown: %d of %d pixels differ from render() by more than %d\n",
                        distance, screenWidth * screenHeight, channelTolerance);
            return 0;
        }
        if (distance >= 0 && (closest < 0 || distance < closest)) {
            closest = distance;
        }
        usleep(100000);
    }
    std::fprintf(stderr,
                 "wine_screen: no title within %.0f s; at best %d pixels differ (%d allowed)\n",
                 seconds, closest, allowed);
    return 1;
}

// Grabs the game's area ten times a second for SECONDS, handing each grab
// and its number to `look`; false when the window went.
bool watchArea(XScreen &screen, double seconds,
               const std::function<void(const Image &, int)> &look) {
    int grab = 0;
    for (double waited = 0; waited < seconds; waited += 0.1, ++grab) {
        Image area;
        if (!grabArea(screen, area)) {
            std::fprintf(stderr, "wine_screen: the window is gone\n");
            return false;
        }
        look(area, grab);
        usleep(100000);
    }
    return true;
}

int checkPlay(XScreen &screen, const std::vector<Image> &titles, double seconds) {
    activateWindow(screen, screen.gameWindow, 5.0);
    sendKey(screen, XK_space, true);
    usleep(500000);
    sendKey(screen, XK_space, false);
    usleep(500000);
    const int allowed = screenWidth * screenHeight * allowedPerMille / 1000;
    Image previous;
    int grabs = 0, changes = 0, titleLike = 0;
    const bool shown = watchArea(screen, seconds, [&](const Image &area, int grab) {
        const int distance = titleDistance(area, titles, channelTolerance);
        titleLike += distance >= 0 && distance <= allowed;
        changes += grab > 0 && compareImages(area, previous, 0).differing > 0;
        previous = area;
        grabs = grab + 1;
    });
    std::printf("in play: %d of %d grabs changed, %d looked like the title\n", changes, grabs - 1,
                titleLike);
    // A level's clock hand and mouse move every frame; a few grabs may catch
    // the same frame.
    return shown && titleLike == 0 && changes * 4 >= (grabs - 1) * 3 ? 0 : 1;
}

// A frame whose pictures were lost is black but for the walls, the arcs and
// the text drawn over them.
bool showsPictures(const Image &area) {
    size_t lit = 0;
    for (const uint32_t pixel : area.pixels) {
        lit += (pixel & 0xe0e0e0u) != 0;
    }
    return lit * 2 > area.pixels.size();
}

int checkStillness(XScreen &screen, double seconds, bool still) {
    Image first;
    int grabs = 0, changed = 0, dark = 0;
    const bool shown = watchArea(screen, seconds, [&](const Image &area, int grab) {
        if (grab == 0) {
            first = area;
        }
        changed += compareImages(area, first, 0).differing > 0;
        dark += !showsPictures(area);
        grabs = grab + 1;
    });
    std::printf("%d grabs: %d differ from the first, %d without their pictures\n", grabs, changed,
                dark);
    return shown && dark == 0 && (still ? changed == 0 : changed > 0) ? 0 : 1;
}

// The mean difference of a channel between the picture, stretched to its
// width by `height` at the window's left edge, and the window there.
double panelDistance(const Image &window, const Image &panel, int height) {
    double sum = 0;
    for (int y = 0; y < height; ++y) {
        const int py = y * panel.height / height;
        for (int x = 0; x < panel.width; ++x) {
            const uint32_t a = window.pixels[static_cast<size_t>(y) * window.width + x];
            const uint32_t b = panel.pixels[static_cast<size_t>(py) * panel.width + x];
            for (int shift : {0, 8, 16}) {
                sum += std::abs(static_cast<int>((a >> shift) & 255) -
                                static_cast<int>((b >> shift) & 255));
            }
        }
    }
    return sum / (3.0 * panel.width * height);
}

// NSIS fits the picture to a control whose height follows the dialog's
// font: 314 pixels on Windows at 96 dpi, less under Wine.
int checkPanel(XScreen &screen, const Image &panel, double seconds) {
    // Per channel, on average: stretching blurs. Measured under Wine: 6.7 for
    // this picture, 91 and more for the pictures NSIS ships.
    constexpr double allowed = 20;
    double closest = -1;
    for (double waited = 0; waited < seconds; waited += 0.2) {
        Image window;
        if (updateGameWindow(screen) && grabGameWindow(screen, window) &&
            window.width >= panel.width) {
            for (int height = panel.height * 3 / 4;
                 height <= std::min(window.height, panel.height * 5 / 4); ++height) {
                const double distance = panelDistance(window, panel, height);
                if (closest < 0 || distance < closest) {
                    closest = distance;
                }
                if (distance <= allowed) {
                    std::printf("picture shown at %dx%d, %.1f apart a channel\n", panel.width,
                                height, distance);
                    return 0;
                }
            }
        }
        usleep(200000);
    }
    std::fprintf(stderr, "wine_screen: the picture is not shown; at best %.1f apart a channel\n",
                 closest);
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    const char *modes[] = {"title", "play", "running", "paused", "panel"};
    const bool known = (argc == 5 || (argc == 6 && std::strcmp(argv[1], "title") == 0)) &&
                       std::any_of(std::begin(modes), std::end(modes),
                                   [&](auto mode) { return std::strcmp(argv[1], mode) == 0; });
    if (!known) {
        std::fprintf(stderr,
                     "usage: wine_screen title|play|running|paused ASSET_DIR WINDOW SECONDS "
                     "[SOUNDS_MISSING]\n"
                     "       wine_screen panel BMP_FILE WINDOW SECONDS\n");
        return 2;
    }
    if (!al_init() || !al_init_image_addon() || !al_init_primitives_addon()) {
        std::fprintf(stderr, "wine_screen: cannot start Allegro\n");
        return 2;
    }
    const double seconds = std::atof(argv[4]);
    if (std::strcmp(argv[1], "panel") == 0) {
        al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
        ALLEGRO_BITMAP *bitmap = al_load_bitmap(argv[2]);
        if (!bitmap) {
            std::fprintf(stderr, "wine_screen: cannot read %s\n", argv[2]);
            return 2;
        }
        Image panel;
        readBitmap(bitmap, panel);
        XScreen screen;
        screen.gameWindow = std::strtoul(argv[3], nullptr, 10);
        if (!openXScreen(screen) || !updateGameWindow(screen)) {
            std::fprintf(stderr, "wine_screen: no window %s\n", argv[3]);
            return 1;
        }
        return checkPanel(screen, panel, seconds);
    }
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    if (chdir(argv[2]) != 0) {
        std::fprintf(stderr, "wine_screen: no folder %s\n", argv[2]);
        return 2;
    }
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    loadImages();
    loadFont();
    loadProblems.sounds = argc == 6 ? std::atoi(argv[5]) : 0;
    const std::vector<Image> titles = expectedTitles();
    XScreen screen;
    screen.gameWindow = std::strtoul(argv[3], nullptr, 10);
    if (!openXScreen(screen) || !updateGameWindow(screen)) {
        std::fprintf(stderr, "wine_screen: no window %s\n", argv[3]);
        return 1;
    }
    if (std::strcmp(argv[1], "title") == 0) {
        return checkTitle(screen, titles, seconds);
    }
    if (std::strcmp(argv[1], "play") == 0) {
        return checkPlay(screen, titles, seconds);
    }
    return checkStillness(screen, seconds, std::strcmp(argv[1], "paused") == 0);
}

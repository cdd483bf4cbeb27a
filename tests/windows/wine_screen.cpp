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

int checkPlay(XScreen &screen, const std::vector<Image> &titles, double seconds) {
    activateWindow(screen, screen.gameWindow, 5.0);
    sendKey(screen, XK_space, true);
    usleep(500000);
    sendKey(screen, XK_space, false);
    usleep(500000);
    const int allowed = screenWidth * screenHeight * allowedPerMille / 1000;
    Image previous;
    int grabs = 0, changes = 0, titleLike = 0;
    for (double waited = 0; waited < seconds; waited += 0.1, ++grabs) {
        Image area;
        if (!grabArea(screen, area)) {
            std::fprintf(stderr, "wine_screen: the window is gone\n");
            return 1;
        }
        const int distance = titleDistance(area, titles, channelTolerance);
        titleLike += distance >= 0 && distance <= allowed;
        changes += grabs > 0 && compareImages(area, previous, 0).differing > 0;
        previous = area;
        usleep(100000);
    }
    std::printf("in play: %d of %d grabs changed, %d looked like the title\n", changes, grabs - 1,
                titleLike);
    // A level's clock hand and mouse move every frame; a few grabs may catch
    // the same frame.
    return titleLike == 0 && changes * 4 >= (grabs - 1) * 3 ? 0 : 1;
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
    for (double waited = 0; waited < seconds; waited += 0.1, ++grabs) {
        Image area;
        if (!grabArea(screen, area)) {
            std::fprintf(stderr, "wine_screen: the window is gone\n");
            return 1;
        }
        if (grabs == 0) {
            first = area;
        }
        changed += compareImages(area, first, 0).differing > 0;
        dark += !showsPictures(area);
        usleep(100000);
    }
    std::printf("%d grabs: %d differ from the first, %d without their pictures\n", grabs, changed,
                dark);
    return dark == 0 && (still ? changed == 0 : changed > 0) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
    const char *modes[] = {"title", "play", "running", "paused"};
    const bool known = (argc == 5 || (argc == 6 && std::strcmp(argv[1], "title") == 0)) &&
                       std::any_of(std::begin(modes), std::end(modes),
                                   [&](auto mode) { return std::strcmp(argv[1], mode) == 0; });
    if (!known) {
        std::fprintf(stderr,
                     "usage: wine_screen title|play|running|paused ASSET_DIR WINDOW SECONDS "
                     "[SOUNDS_MISSING]\n");
        return 2;
    }
    if (!al_init() || !al_init_image_addon() || !al_init_primitives_addon()) {
        std::fprintf(stderr, "wine_screen: cannot start Allegro\n");
        return 2;
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
    const double seconds = std::atof(argv[4]);
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

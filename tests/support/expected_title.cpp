#include "support/expected_title.h"

#include <allegro5/allegro.h>

#include "game/game_state.h"
#include "render/screens.h"
#include "shell/shell.h"

std::vector<Image> expectedTitles(int width, int height) {
    constexpr int titleSlots = 8;
    std::vector<Image> titles(titleSlots);
    // With a display, on a video bitmap: drawn by OpenGL as the game draws it.
    al_set_new_bitmap_flags(al_get_current_display() ? ALLEGRO_VIDEO_BITMAP
                                                     : ALLEGRO_MEMORY_BITMAP);
    ALLEGRO_BITMAP *target = al_create_bitmap(width, height);
    al_set_target_bitmap(target);
    game = GameState{};
    for (unsigned frame = 0; frame < 10000; ++frame) {
        game.phaseFrame = frame;
        Image &title = titles[static_cast<size_t>(menuFrameSlot(frame))];
        if (title.width == 0) {
            renderToWindow();
            readBitmap(target, title);
        }
    }
    al_set_target_bitmap(nullptr);
    al_destroy_bitmap(target);
    return titles;
}

int titleDistance(const Image &picture, const std::vector<Image> &titles, int channelTolerance) {
    int nearest = -1;
    for (const Image &title : titles) {
        const FrameDiff diff = compareImages(picture, title, channelTolerance);
        if (diff.sizesMatch && (nearest < 0 || diff.differing < nearest)) {
            nearest = diff.differing;
        }
    }
    return nearest;
}

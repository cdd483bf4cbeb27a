// Whether two pictures hold the same pixels, byte for byte, read as RGBA.
#pragma once

#include <allegro5/allegro.h>

#include <cstddef>
#include <cstring>

inline bool sameBytes(ALLEGRO_BITMAP *a, ALLEGRO_BITMAP *b) {
    const int w = al_get_bitmap_width(a), h = al_get_bitmap_height(a);
    if (w != al_get_bitmap_width(b) || h != al_get_bitmap_height(b)) {
        return false;
    }
    ALLEGRO_LOCKED_REGION *ra =
        al_lock_bitmap(a, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
    ALLEGRO_LOCKED_REGION *rb =
        al_lock_bitmap(b, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
    bool same = true;
    for (int y = 0; y < h && same; ++y) {
        same = std::memcmp(static_cast<const char *>(ra->data) + y * ra->pitch,
                           static_cast<const char *>(rb->data) + y * rb->pitch,
                           static_cast<size_t>(w * 4)) == 0;
    }
    al_unlock_bitmap(a);
    al_unlock_bitmap(b);
    return same;
}

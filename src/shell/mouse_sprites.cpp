// The mouse's run cycle as one picture that shows a sprite at a time.
//
// The four sprites are 600 x 600 pictures drawn a tenth of that size, and
// they differ only round the legs. Kept whole they would take 5.8 MB of
// textures; kept as one picture plus each sprite's pixels in the box where
// they differ, 3.4 MB. Showing another sprite copies its box into the
// picture, so what is drawn is always the sprite's own pixels.
#include "shell/mouse_sprites.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "shell/assets.h"
#include "shell/picture_cuts.h"

namespace {

constexpr int spriteCount = 4;

// The run cycle while its pictures come in: the first kept whole to
// compare the others with, each of the others only as the box where it
// differs from the first, so that at most two whole pictures are held.
struct MouseLoading {
    ALLEGRO_BITMAP *first = nullptr;        // memory bitmap
    ALLEGRO_BITMAP *cuts[spriteCount] = {}; // memory bitmaps, null where nothing differs
    PictureBox boxes[spriteCount] = {};     // where each cut lies in the picture
    bool present[spriteCount] = {};         // the sprite came and can be shown
};

MouseLoading mouseLoading;

PictureBox joinPictureBoxes(const PictureBox &a, const PictureBox &b) {
    const int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.width, b.x + b.width);
    const int bottom = std::max(a.y + a.height, b.y + b.height);
    return {left, top, right - left, bottom - top};
}

// The box round every cut; one pixel when the sprites are all alike, so
// that there is still something to copy.
PictureBox movingBox(const MouseLoading &m) {
    PictureBox all = {0, 0, 0, 0};
    for (int k = 0; k < spriteCount; ++k) {
        if (m.cuts[k]) {
            all = all.width == 0 ? m.boxes[k] : joinPictureBoxes(all, m.boxes[k]);
        }
    }
    return all.width == 0 ? PictureBox{0, 0, 1, 1} : all;
}

// A sprite's pixels in the moving box: the first picture's, with the
// sprite's own cut laid over them. Made in the sheet's pixel format, so
// that showing a sprite is a plain copy.
ALLEGRO_BITMAP *makePart(const MouseLoading &m, int sprite, int format) {
    const PictureBox &box = assets.mouseMoving;
    ALLEGRO_BITMAP *part = cutBox(m.first, box, format);
    const PictureBox &own = m.boxes[sprite];
    if (part && m.cuts[sprite] && !pasteInto(m.cuts[sprite], part, own.x - box.x, own.y - box.y)) {
        al_destroy_bitmap(part);
        part = nullptr;
    }
    return part;
}

// Copies the sprite's part into the sheet, row by row.
bool copyPartToSheet(int sprite) {
    const PictureBox &box = assets.mouseMoving;
    ALLEGRO_BITMAP *part = assets.mouseParts[sprite];
    ALLEGRO_LOCKED_REGION *from =
        al_lock_bitmap(part, ALLEGRO_PIXEL_FORMAT_ANY, ALLEGRO_LOCK_READONLY);
    if (!from) {
        return false;
    }
    ALLEGRO_LOCKED_REGION *to =
        al_lock_bitmap_region(assets.mouseSheet, box.x, box.y, box.width, box.height,
                              al_get_bitmap_format(part), ALLEGRO_LOCK_WRITEONLY);
    if (to) {
        for (int row = 0; row < box.height; ++row) {
            std::memcpy(static_cast<char *>(to->data) + row * to->pitch,
                        static_cast<const char *>(from->data) + row * from->pitch,
                        static_cast<size_t>(box.width * from->pixel_size));
        }
        al_unlock_bitmap(assets.mouseSheet);
    }
    al_unlock_bitmap(part);
    return to != nullptr;
}

// The box round every pixel that shows in any sprite: round the first
// picture's and each part's, where it lies in the sheet. The whole picture
// when one cannot be read.
PictureBox visibleInAnySprite(ALLEGRO_BITMAP *first) {
    const PictureBox whole = {0, 0, al_get_bitmap_width(first), al_get_bitmap_height(first)};
    PictureBox all;
    if (!visiblePart(first, all)) {
        return whole;
    }
    for (ALLEGRO_BITMAP *part : assets.mouseParts) {
        PictureBox own;
        if (part && !visiblePart(part, own)) {
            return whole;
        }
        if (part && own.width > 0) {
            own.x += assets.mouseMoving.x, own.y += assets.mouseMoving.y;
            all = all.width == 0 ? own : joinPictureBoxes(all, own);
        }
    }
    return all;
}

} // namespace

void freeMouseSprites() {
    for (ALLEGRO_BITMAP *&part : assets.mouseParts) {
        al_destroy_bitmap(part);
        part = nullptr;
    }
    al_destroy_bitmap(assets.mouseSheet);
    assets.mouseSheet = nullptr;
    assets.mouseShown = -1;
    assets.mouseMoving = {};
    assets.mouseVisible = {};
}

// A sprite of another size than the first cannot show in its picture, and
// is left out.
void addMouseSprite(int sprite, ALLEGRO_BITMAP *picture) {
    MouseLoading &m = mouseLoading;
    if (!picture || sprite < 0 || sprite >= spriteCount) {
        al_destroy_bitmap(picture);
        return;
    }
    if (!m.first) {
        m.first = picture;
        m.present[sprite] = true;
        return;
    }
    if (al_get_bitmap_width(picture) != al_get_bitmap_width(m.first) ||
        al_get_bitmap_height(picture) != al_get_bitmap_height(m.first)) {
        std::fprintf(stderr, "clockmaze: mouse picture %d is not the size of the first\n",
                     sprite + 1);
    } else if (differingBox(m.first, &picture, 1, m.boxes[sprite])) {
        const PictureBox &box = m.boxes[sprite];
        m.cuts[sprite] =
            box.width > 0 ? cutBox(picture, box, al_get_bitmap_format(picture)) : nullptr;
        m.present[sprite] = box.width == 0 || m.cuts[sprite];
    }
    al_destroy_bitmap(picture);
}

void finishMouseSprites() {
    MouseLoading &m = mouseLoading;
    freeMouseSprites();
    if (m.first) {
        assets.mouseMoving = movingBox(m);
        // Showing a sprite uploads its box to the graphics driver. Handed
        // over in RGBA byte order, the upload is a plain copy; in the
        // library's default order the software renderer reorders every
        // pixel, at seven times the cost.
        const int format = al_get_new_bitmap_format();
        al_set_new_bitmap_format(ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE);
        assets.mouseSheet = al_clone_bitmap(m.first);
        al_set_new_bitmap_format(format);
    }
    for (int k = 0; k < spriteCount && assets.mouseSheet; ++k) {
        if (m.present[k]) {
            assets.mouseParts[k] = makePart(m, k, al_get_bitmap_format(assets.mouseSheet));
        }
        if (m.present[k] && assets.mouseShown < 0 && !m.cuts[k]) {
            assets.mouseShown = k; // the sheet starts as the first picture
        }
    }
    if (assets.mouseSheet) {
        assets.mouseVisible = visibleInAnySprite(m.first);
    }
    al_destroy_bitmap(m.first);
    for (ALLEGRO_BITMAP *cut : m.cuts) {
        al_destroy_bitmap(cut);
    }
    m = MouseLoading{};
}

void setMouseSprites(ALLEGRO_BITMAP *frames[4]) {
    finishMouseSprites(); // whatever was still loading goes
    for (int k = 0; k < spriteCount; ++k) {
        addMouseSprite(k, frames[k]);
        frames[k] = nullptr;
    }
    finishMouseSprites();
}

bool hasMouseSprite(int sprite) {
    return sprite >= 0 && sprite < spriteCount && assets.mouseSheet && assets.mouseParts[sprite];
}

ALLEGRO_BITMAP *mouseSprite(int sprite) {
    if (!hasMouseSprite(sprite)) {
        return nullptr;
    }
    if (sprite != assets.mouseShown) {
        if (!copyPartToSheet(sprite)) {
            return nullptr;
        }
        assets.mouseShown = sprite;
    }
    return assets.mouseSheet;
}

// Loads every picture into its slot, in a fixed order, and the score font.
#include "shell/assets.h"

#include <allegro5/allegro_image.h>
#include <allegro5/allegro_ttf.h>

#include <cstdio>
#include <iterator>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "game/game_state.h"
#include "render/scene.h"
#include "shell/mouse_sprites.h"
#include "shell/picture_cuts.h"
#include "shell/shell.h"

const std::string assetRoot;
AssetSet assets;

namespace {

// How a picture is made ready: as it is, with a colour keyed out, as a
// title picture, cropped as a level message, as a run-cycle sprite, or
// without the middle that only the clock at rest lies over.
enum class Kind { Plain, KeyedOnBlack, KeyedOnBlue, Title, Message, Mouse, BehindClock };

struct PictureFile {
    const char *name;      // as the game writes it, backslash before the file
    ALLEGRO_BITMAP **slot; // where it lands
    Kind kind;
};

// The loading order: the title pictures first, in the slot order the title
// animation shows them (so picture k of this list is menuFrames[k]), then
// the rest in catalogue order. The messages are numbered 2 to 17 without 5,
// 6 and 7.
const PictureFile pictureFiles[pictureCount] = {
    {"startmenu\\startmenu06.png", &assets.menuFrames[0], Kind::Title},
    {"startmenu\\startmenu07.png", &assets.menuFrames[1], Kind::Title},
    {"startmenu\\startmenu00.png", &assets.menuFrames[2], Kind::Title},
    {"startmenu\\startmenu01.png", &assets.menuFrames[3], Kind::Title},
    {"startmenu\\startmenu02.png", &assets.menuFrames[4], Kind::Title},
    {"startmenu\\startmenu03.png", &assets.menuFrames[5], Kind::Title},
    {"startmenu\\startmenu04.png", &assets.menuFrames[6], Kind::Title},
    {"startmenu\\startmenu05.png", &assets.menuFrames[7], Kind::Title},
    {"clock.png", &assets.clock, Kind::KeyedOnBlack},
    {"warning1.png", &assets.warning[0], Kind::Plain},
    {"warning2.png", &assets.warning[1], Kind::BehindClock},
    {"warning3.png", &assets.warning[2], Kind::BehindClock},
    {"zubg.png", &assets.background, Kind::Plain},
    {"mouse_run0001.png", &assets.mouseParts[0], Kind::Mouse},
    {"mouse_run0002.png", &assets.mouseParts[1], Kind::Mouse},
    {"mouse_run0003.png", &assets.mouseParts[2], Kind::Mouse},
    {"mouse_run0004.png", &assets.mouseParts[3], Kind::Mouse},
    {"clockhand.png", &assets.clockHand, Kind::KeyedOnBlack},
    {"messages\\msg2.png", &assets.messages[0], Kind::Message},
    {"messages\\msg3.png", &assets.messages[1], Kind::Message},
    {"messages\\msg4.png", &assets.messages[2], Kind::Message},
    {"messages\\msg8.png", &assets.messages[3], Kind::Message},
    {"messages\\msg9.png", &assets.messages[4], Kind::Message},
    {"messages\\msg10.png", &assets.messages[5], Kind::Message},
    {"messages\\msg11.png", &assets.messages[6], Kind::Message},
    {"messages\\msg12.png", &assets.messages[7], Kind::Message},
    {"messages\\msg13.png", &assets.messages[8], Kind::Message},
    {"messages\\msg14.png", &assets.messages[9], Kind::Message},
    {"messages\\msg15.png", &assets.messages[10], Kind::Message},
    {"messages\\msg16.png", &assets.messages[11], Kind::Message},
    {"messages\\msg17.png", &assets.messages[12], Kind::Message},
};

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

// Loaded as a memory bitmap, whatever kind the caller asks for, to be
// worked on before it becomes one: locking a video bitmap would read it
// back from the graphics driver and send it again.
ALLEGRO_BITMAP *loadMemoryPicture(const char *name) {
    const int flags = al_get_new_bitmap_flags();
    al_set_new_bitmap_flags((flags & ~ALLEGRO_VIDEO_BITMAP) | ALLEGRO_MEMORY_BITMAP);
    ALLEGRO_BITMAP *bitmap = loadPicture(name);
    al_set_new_bitmap_flags(flags);
    return bitmap;
}

ALLEGRO_BITMAP *loadKeyedMemoryPicture(const char *name, ALLEGRO_COLOR key) {
    ALLEGRO_BITMAP *bitmap = loadMemoryPicture(name);
    if (bitmap) {
        convertMaskToAlpha(bitmap, key);
    }
    return bitmap;
}

ALLEGRO_BITMAP *loadKeyedPicture(const char *name, ALLEGRO_COLOR key) {
    ALLEGRO_BITMAP *bitmap = loadKeyedMemoryPicture(name, key);
    if (bitmap) {
        al_convert_bitmap(bitmap);
    }
    return bitmap;
}

// Kept whole when there is no middle to leave out: no clock, or a
// picture not the size of the window.
void loadBehindClock(int slot, const char *name) {
    assets.warningCut[slot] = false;
    assets.warningStrips[slot].clear();
    ALLEGRO_BITMAP *picture = loadMemoryPicture(name);
    const ScreenBox middle = clockRestCover();
    ALLEGRO_BITMAP *strips = nullptr;
    if (picture && !isEmpty(middle) && al_get_bitmap_width(picture) == screenWidth &&
        al_get_bitmap_height(picture) == screenHeight) {
        const PictureBox hole = {middle.x0, middle.y0, middle.x1 - middle.x0,
                                 middle.y1 - middle.y0};
        strips = cutAround(picture, hole, assets.warningStrips[slot]);
        assets.warningHoles[slot] = hole;
    }
    if (strips) {
        al_destroy_bitmap(picture);
        assets.warning[slot] = strips;
        assets.warningCut[slot] = true;
    } else {
        if (picture) {
            al_convert_bitmap(picture);
        }
        assets.warning[slot] = picture;
    }
}

// The sprites come one by one; after the last, they become the run cycle.
void loadMouseFrame(int sprite, const char *name) {
    addMouseSprite(sprite, loadKeyedMemoryPicture(name, al_map_rgb(0, 0, 255)));
    if (sprite == static_cast<int>(std::size(assets.mouseParts)) - 1) {
        finishMouseSprites();
    }
}

// The first title picture is kept whole, with a memory copy to compare the
// others with; any other is kept as the patches where it differs from the
// first, or whole when there is no first to compare with (it failed to
// load, or differs in size).
void loadTitlePicture(int slot, const char *name) {
    assets.menuPatched[slot] = false;
    assets.menuPatches[slot].clear();
    ALLEGRO_BITMAP *picture = loadMemoryPicture(name);
    if (slot == 0) {
        al_destroy_bitmap(assets.menuBaseCopy);
        assets.menuBaseCopy = picture;
        assets.menuFrames[0] = picture ? al_clone_bitmap(picture) : nullptr;
        return;
    }
    if (!picture) {
        assets.menuFrames[slot] = nullptr;
        return;
    }
    ALLEGRO_BITMAP *sheet = nullptr;
    if (assets.menuBaseCopy) {
        sheet = makePatchSheet(assets.menuBaseCopy, picture, assets.menuPatches[slot]);
    }
    if (sheet) {
        al_destroy_bitmap(picture);
        assets.menuFrames[slot] = sheet;
        assets.menuPatched[slot] = true;
    } else {
        al_convert_bitmap(picture);
        assets.menuFrames[slot] = picture;
    }
}

// Most of a message picture is fully transparent, which draws nothing.
void loadMessagePicture(int slot, const char *name) {
    assets.messageOffsets[slot] = {0, 0};
    ALLEGRO_BITMAP *picture = loadMemoryPicture(name);
    if (!picture) {
        assets.messages[slot] = nullptr;
        return;
    }
    assets.messages[slot] = cropToVisible(picture, assets.messageOffsets[slot]);
    if (assets.messages[slot]) {
        al_destroy_bitmap(picture);
    } else {
        al_convert_bitmap(picture);
        assets.messages[slot] = picture;
    }
}

} // namespace

void loadNextPicture() {
    const int last = assets.picturesOnDemand ? picturesBeforeMessages : pictureCount;
    if (assets.picturesLoaded >= last) {
        return;
    }
    const PictureFile &file = pictureFiles[assets.picturesLoaded];
    // Textures on this game's platforms are never lost, so the library need
    // not keep a second copy of every picture in memory to restore them.
    const int flags = al_get_new_bitmap_flags();
    al_set_new_bitmap_flags(flags | ALLEGRO_NO_PRESERVE_TEXTURE);
    if (file.kind == Kind::Plain) {
        *file.slot = loadPicture(file.name);
    } else if (file.kind == Kind::Title) {
        loadTitlePicture(static_cast<int>(file.slot - assets.menuFrames), file.name);
    } else if (file.kind == Kind::Message) {
        loadMessagePicture(static_cast<int>(file.slot - assets.messages), file.name);
    } else if (file.kind == Kind::BehindClock) {
        loadBehindClock(static_cast<int>(file.slot - assets.warning), file.name);
    } else if (file.kind == Kind::Mouse) {
        loadMouseFrame(static_cast<int>(file.slot - assets.mouseParts), file.name);
    } else {
        *file.slot =
            loadKeyedPicture(file.name, file.kind == Kind::KeyedOnBlack ? al_map_rgb(0, 0, 0)
                                                                        : al_map_rgb(0, 0, 255));
    }
    al_set_new_bitmap_flags(flags);
    assets.picturesLoaded += 1;
    if (assets.picturesLoaded == static_cast<int>(std::size(assets.menuFrames))) {
        al_destroy_bitmap(assets.menuBaseCopy);
        assets.menuBaseCopy = nullptr;
    }
    // Decoding leaves free holes in the heap between the pictures kept;
    // handed back after each picture, they do not pile up (2 MB less at peak).
    releaseFreeHeap();
}

void releaseFreeHeap() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

bool lastingPicturesLoaded() {
    return assets.picturesLoaded >=
           (assets.picturesOnDemand ? picturesBeforeMessages : pictureCount);
}

void holdLevelMessage(int slot) {
    if (slot == assets.messageHeld || slot < 0 || slot >= messageCount ||
        assets.messageMissing[slot]) {
        return;
    }
    if (assets.messageHeld >= 0) {
        al_destroy_bitmap(assets.messages[assets.messageHeld]);
        assets.messages[assets.messageHeld] = nullptr;
    }
    const PictureFile &file = pictureFiles[picturesBeforeMessages + slot];
    const int flags = al_get_new_bitmap_flags();
    al_set_new_bitmap_flags(flags | ALLEGRO_NO_PRESERVE_TEXTURE);
    loadMessagePicture(slot, file.name);
    al_set_new_bitmap_flags(flags);
    assets.messageHeld = assets.messages[slot] ? slot : -1;
    assets.messageMissing[slot] = !assets.messages[slot];
}

bool allPicturesLoaded() { return assets.picturesLoaded >= pictureCount; }

void loadImages() {
    assets.picturesLoaded = 0;
    while (!allPicturesLoaded()) {
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

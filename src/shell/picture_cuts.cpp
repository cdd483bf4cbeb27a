// Finding where pictures differ and copying those pixels out, on memory
// bitmaps locked as plain RGBA bytes.
#include "shell/picture_cuts.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int bytesPerPixel = 4;
constexpr int pixelFormat = ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE; // R, G, B, A bytes

// A locked bitmap's pixels.
struct Pixels {
    unsigned char *data; // the top-left pixel
    int pitch;           // bytes from one row to the next, may be negative
};

unsigned char *pixelAt(const Pixels &p, int x, int y) {
    return p.data + static_cast<long>(y) * p.pitch + x * bytesPerPixel;
}

bool lockPixels(ALLEGRO_BITMAP *bitmap, int mode, Pixels &out) {
    ALLEGRO_LOCKED_REGION *region = al_lock_bitmap(bitmap, pixelFormat, mode);
    if (!region) {
        return false;
    }
    out = {static_cast<unsigned char *>(region->data), region->pitch};
    return true;
}

bool sameRows(const Pixels &a, const Pixels &b, int x, int y, int width, int height) {
    for (int row = y; row < y + height; ++row) {
        if (std::memcmp(pixelAt(a, x, row), pixelAt(b, x, row),
                        static_cast<size_t>(width * bytesPerPixel)) != 0) {
            return false;
        }
    }
    return true;
}

// Runs of differing tiles, band by band, each with its place on the frame;
// the sheet positions are filled in later.
std::vector<TitlePatch> findPatches(const Pixels &base, const Pixels &picture, int width,
                                    int height) {
    std::vector<TitlePatch> patches;
    for (int y = 0; y < height; y += patchTileSize) {
        const int bandHeight = std::min(patchTileSize, height - y);
        const int tiles = (width + patchTileSize - 1) / patchTileSize;
        int runStart = -1; // first tile of the run of differing tiles, or -1
        for (int tile = 0; tile <= tiles; ++tile) {
            const int x = tile * patchTileSize;
            const bool differs =
                tile < tiles &&
                !sameRows(base, picture, x, y, std::min(patchTileSize, width - x), bandHeight);
            if (differs && runStart < 0) {
                runStart = tile;
            } else if (!differs && runStart >= 0) {
                const int left = runStart * patchTileSize;
                patches.push_back({0, 0, left, y, std::min(x, width) - left, bandHeight});
                runStart = -1;
            }
        }
    }
    return patches;
}

// Shelves as wide as the picture, one band's height each: every run fits,
// and runs of the same band share a shelf. Returns the sheet's height.
int packPatches(std::vector<TitlePatch> &patches, int sheetWidth) {
    int shelfX = 0, shelfY = 0, shelfHeight = 0;
    for (TitlePatch &patch : patches) {
        if (shelfX + patch.width > sheetWidth) {
            shelfX = 0;
            shelfY += shelfHeight;
            shelfHeight = 0;
        }
        patch.sheetX = shelfX;
        patch.sheetY = shelfY;
        shelfX += patch.width;
        shelfHeight = std::max(shelfHeight, patch.height);
    }
    return shelfY + shelfHeight;
}

// A memory bitmap holding every patch's pixels at its sheet position, then
// made the kind of bitmap asked for. With no patches it is one transparent
// pixel, so that the slot it goes to does not read as empty.
ALLEGRO_BITMAP *fillSheet(const Pixels &picture, const std::vector<TitlePatch> &patches, int width,
                          int height) {
    const int flags = al_get_new_bitmap_flags();
    al_set_new_bitmap_flags((flags & ~ALLEGRO_VIDEO_BITMAP) | ALLEGRO_MEMORY_BITMAP);
    ALLEGRO_BITMAP *sheet = al_create_bitmap(std::max(width, 1), std::max(height, 1));
    al_set_new_bitmap_flags(flags);
    Pixels out;
    if (!sheet || !lockPixels(sheet, ALLEGRO_LOCK_WRITEONLY, out)) {
        al_destroy_bitmap(sheet);
        return nullptr;
    }
    for (int row = 0; row < al_get_bitmap_height(sheet); ++row) {
        std::memset(pixelAt(out, 0, row), 0,
                    static_cast<size_t>(al_get_bitmap_width(sheet) * bytesPerPixel));
    }
    for (const TitlePatch &patch : patches) {
        for (int row = 0; row < patch.height; ++row) {
            std::memcpy(pixelAt(out, patch.sheetX, patch.sheetY + row),
                        pixelAt(picture, patch.x, patch.y + row),
                        static_cast<size_t>(patch.width * bytesPerPixel));
        }
    }
    al_unlock_bitmap(sheet);
    al_convert_bitmap(sheet);
    return sheet;
}

} // namespace

ALLEGRO_BITMAP *makePatchSheet(ALLEGRO_BITMAP *base, ALLEGRO_BITMAP *picture,
                               std::vector<TitlePatch> &patches) {
    patches.clear();
    const int width = al_get_bitmap_width(picture), height = al_get_bitmap_height(picture);
    if (width != al_get_bitmap_width(base) || height != al_get_bitmap_height(base) ||
        !(al_get_bitmap_flags(base) & ALLEGRO_MEMORY_BITMAP) ||
        !(al_get_bitmap_flags(picture) & ALLEGRO_MEMORY_BITMAP)) {
        return nullptr;
    }
    Pixels basePixels, picturePixels;
    if (!lockPixels(base, ALLEGRO_LOCK_READONLY, basePixels)) {
        return nullptr;
    }
    ALLEGRO_BITMAP *sheet = nullptr;
    if (lockPixels(picture, ALLEGRO_LOCK_READONLY, picturePixels)) {
        std::vector<TitlePatch> found = findPatches(basePixels, picturePixels, width, height);
        const int sheetHeight = packPatches(found, width);
        int sheetWidth = 0;
        for (const TitlePatch &patch : found) {
            sheetWidth = std::max(sheetWidth, patch.sheetX + patch.width);
        }
        sheet = fillSheet(picturePixels, found, sheetWidth, sheetHeight);
        if (sheet) {
            patches.swap(found);
        }
        al_unlock_bitmap(picture);
    }
    al_unlock_bitmap(base);
    return sheet;
}

namespace {

// Grows `box` (left, top, right, bottom, inclusive; right < 0 for none) to
// hold every pixel where the two pictures differ.
void growByDifferences(const Pixels &a, const Pixels &b, int width, int height, int box[4]) {
    for (int y = 0; y < height; ++y) {
        const unsigned char *pa = pixelAt(a, 0, y), *pb = pixelAt(b, 0, y);
        for (int x = 0; x < width; ++x, pa += bytesPerPixel, pb += bytesPerPixel) {
            if (std::memcmp(pa, pb, bytesPerPixel) != 0) {
                box[0] = std::min(box[0], x), box[1] = std::min(box[1], y);
                box[2] = std::max(box[2], x), box[3] = std::max(box[3], y);
            }
        }
    }
}

} // namespace

bool differingBox(ALLEGRO_BITMAP *base, ALLEGRO_BITMAP *const pictures[], int count,
                  PictureBox &box) {
    const int width = al_get_bitmap_width(base), height = al_get_bitmap_height(base);
    Pixels basePixels;
    if (!lockPixels(base, ALLEGRO_LOCK_READONLY, basePixels)) {
        return false;
    }
    int grown[4] = {width, height, -1, -1};
    bool read = true;
    for (int i = 0; i < count && read; ++i) {
        Pixels picture;
        if (!pictures[i] || pictures[i] == base) {
            continue;
        }
        read = al_get_bitmap_width(pictures[i]) == width &&
               al_get_bitmap_height(pictures[i]) == height &&
               lockPixels(pictures[i], ALLEGRO_LOCK_READONLY, picture);
        if (read) {
            growByDifferences(basePixels, picture, width, height, grown);
            al_unlock_bitmap(pictures[i]);
        }
    }
    al_unlock_bitmap(base);
    box = grown[2] < 0
              ? PictureBox{0, 0, 0, 0}
              : PictureBox{grown[0], grown[1], grown[2] - grown[0] + 1, grown[3] - grown[1] + 1};
    return read;
}

ALLEGRO_BITMAP *cutBox(ALLEGRO_BITMAP *picture, const PictureBox &box, int format) {
    Pixels pixels;
    if (!lockPixels(picture, ALLEGRO_LOCK_READONLY, pixels)) {
        return nullptr;
    }
    const int flags = al_get_new_bitmap_flags(), oldFormat = al_get_new_bitmap_format();
    al_set_new_bitmap_flags((flags & ~ALLEGRO_VIDEO_BITMAP) | ALLEGRO_MEMORY_BITMAP);
    al_set_new_bitmap_format(format);
    const std::vector<TitlePatch> whole = {{0, 0, box.x, box.y, box.width, box.height}};
    ALLEGRO_BITMAP *cut = fillSheet(pixels, whole, box.width, box.height);
    al_set_new_bitmap_format(oldFormat);
    al_set_new_bitmap_flags(flags);
    al_unlock_bitmap(picture);
    return cut;
}

ALLEGRO_BITMAP *cutAround(ALLEGRO_BITMAP *picture, const PictureBox &hole,
                          std::vector<TitlePatch> &patches) {
    patches.clear();
    const int width = al_get_bitmap_width(picture), height = al_get_bitmap_height(picture);
    const int holeRight = hole.x + hole.width, holeBottom = hole.y + hole.height;
    std::vector<TitlePatch> strips = {
        {0, 0, 0, 0, width, hole.y},                                // above
        {0, 0, 0, holeBottom, width, height - holeBottom},          // below
        {0, 0, 0, hole.y, hole.x, hole.height},                     // left
        {0, 0, holeRight, hole.y, width - holeRight, hole.height}}; // right
    // Cut no wider than half the picture, the strips pack with the sides of
    // the hole next to each other and little room lost.
    const int sheetWidth = (width + 1) / 2;
    std::vector<TitlePatch> pieces;
    for (const TitlePatch &strip : strips) {
        for (int x = 0; x < strip.width && strip.height > 0; x += sheetWidth) {
            pieces.push_back(
                {0, 0, strip.x + x, strip.y, std::min(sheetWidth, strip.width - x), strip.height});
        }
    }
    Pixels pixels;
    if (!lockPixels(picture, ALLEGRO_LOCK_READONLY, pixels)) {
        return nullptr;
    }
    const int sheetHeight = packPatches(pieces, sheetWidth);
    ALLEGRO_BITMAP *sheet = fillSheet(pixels, pieces, sheetWidth, sheetHeight);
    al_unlock_bitmap(picture);
    if (sheet) {
        patches.swap(pieces);
    }
    return sheet;
}

bool pasteInto(ALLEGRO_BITMAP *from, ALLEGRO_BITMAP *into, int x, int y) {
    const int width = al_get_bitmap_width(from), height = al_get_bitmap_height(from);
    if (x < 0 || y < 0 || x + width > al_get_bitmap_width(into) ||
        y + height > al_get_bitmap_height(into)) {
        return false;
    }
    Pixels source, target;
    if (!lockPixels(from, ALLEGRO_LOCK_READONLY, source)) {
        return false;
    }
    const bool locked = lockPixels(into, ALLEGRO_LOCK_READWRITE, target);
    if (locked) {
        for (int row = 0; row < height; ++row) {
            std::memcpy(pixelAt(target, x, y + row), pixelAt(source, 0, row),
                        static_cast<size_t>(width * bytesPerPixel));
        }
        al_unlock_bitmap(into);
    }
    al_unlock_bitmap(from);
    return locked;
}

namespace {

// The box of pixels whose alpha is not 0; empty (width 0) when there are none.
struct Box {
    int left, top, width, height; // pixels
};

Box visibleBox(const Pixels &p, int width, int height) {
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y) {
        const unsigned char *pixel = pixelAt(p, 0, y);
        for (int x = 0; x < width; ++x, pixel += bytesPerPixel) {
            if (pixel[3] != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return {0, 0, 0, 0};
    }
    return {left, top, right - left + 1, bottom - top + 1};
}

} // namespace

ALLEGRO_BITMAP *cropToVisible(ALLEGRO_BITMAP *picture, PictureOffset &offset) {
    Pixels pixels;
    if (!lockPixels(picture, ALLEGRO_LOCK_READONLY, pixels)) {
        return nullptr;
    }
    const Box box = visibleBox(pixels, al_get_bitmap_width(picture), al_get_bitmap_height(picture));
    const std::vector<TitlePatch> whole = {{0, 0, box.left, box.top, box.width, box.height}};
    ALLEGRO_BITMAP *crop = fillSheet(pixels, whole, box.width, box.height);
    al_unlock_bitmap(picture);
    offset = {box.left, box.top};
    return crop;
}

bool visiblePart(ALLEGRO_BITMAP *picture, PictureBox &box) {
    Pixels pixels;
    if (!lockPixels(picture, ALLEGRO_LOCK_READONLY, pixels)) {
        return false;
    }
    const Box b = visibleBox(pixels, al_get_bitmap_width(picture), al_get_bitmap_height(picture));
    al_unlock_bitmap(picture);
    box = {b.left, b.top, b.width, b.height};
    return true;
}

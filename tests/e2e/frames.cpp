#include "e2e/frames.h"

#include <allegro5/allegro.h>

#include <algorithm>
#include <cstdlib>

static int channelGap(uint32_t a, uint32_t b) {
    int gap = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xff);
        const int cb = static_cast<int>((b >> shift) & 0xff);
        gap = std::max(gap, std::abs(ca - cb));
    }
    return gap;
}

FrameDiff compareImages(const Image &a, const Image &b, int channelTolerance) {
    FrameDiff diff;
    if (a.width != b.width || a.height != b.height || a.pixels.size() != b.pixels.size()) {
        diff.sizesMatch = false;
        diff.differing = std::max(a.width * a.height, b.width * b.height);
        diff.maxChannel = 255;
        return diff;
    }
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        const int gap = channelGap(a.pixels[i], b.pixels[i]);
        diff.maxChannel = std::max(diff.maxChannel, gap);
        if (gap > channelTolerance) {
            ++diff.differing;
        }
    }
    return diff;
}

int countUnlike(const Image &image, uint32_t colour, int channelTolerance) {
    int count = 0;
    for (uint32_t pixel : image.pixels) {
        if (channelGap(pixel, colour) > channelTolerance) {
            ++count;
        }
    }
    return count;
}

PlacedDiff diffAroundPoints(const Image &a, const Image &b, const int (*centres)[2], int count,
                            int reach) {
    PlacedDiff diff;
    if (a.width != b.width || a.height != b.height) {
        diff.outside = a.width * a.height;
        return diff;
    }
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const size_t i = static_cast<size_t>(y) * a.width + x;
            if (a.pixels[i] == b.pixels[i]) {
                continue;
            }
            bool near = false;
            for (int c = 0; c < count && !near; ++c) {
                near = std::abs(x - centres[c][0]) <= reach && std::abs(y - centres[c][1]) <= reach;
            }
            ++(near ? diff.inside : diff.outside);
        }
    }
    return diff;
}

void readBitmap(ALLEGRO_BITMAP *bitmap, Image &image) {
    image.width = al_get_bitmap_width(bitmap);
    image.height = al_get_bitmap_height(bitmap);
    image.pixels.resize(static_cast<size_t>(image.width) * image.height);
    ALLEGRO_LOCKED_REGION *region =
        al_lock_bitmap(bitmap, ALLEGRO_PIXEL_FORMAT_ARGB_8888, ALLEGRO_LOCK_READONLY);
    for (int y = 0; y < image.height && region; ++y) {
        const char *row = static_cast<const char *>(region->data) + y * region->pitch;
        const uint32_t *pixels = reinterpret_cast<const uint32_t *>(row);
        for (int x = 0; x < image.width; ++x) {
            image.pixels[static_cast<size_t>(y) * image.width + x] = pixels[x] & 0xffffff;
        }
    }
    if (region) {
        al_unlock_bitmap(bitmap);
    }
}

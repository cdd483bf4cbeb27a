// Pictures as plain pixel arrays, and the ways the test compares them.
#pragma once

#include <cstdint>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0xRRGGBB, row by row from the top left
};

struct ALLEGRO_BITMAP;
// The picture's pixels, its alpha dropped.
void readBitmap(ALLEGRO_BITMAP *bitmap, Image &image);

// How two pictures of the same size differ.
struct FrameDiff {
    int differing = 0;  // pixels with some channel further apart than the tolerance
    int maxChannel = 0; // the largest difference of any channel, 0..255
    bool sizesMatch = true;
};

FrameDiff compareImages(const Image &a, const Image &b, int channelTolerance);

// Pixels further than `channelTolerance` from `colour` in some channel.
int countUnlike(const Image &image, uint32_t colour, int channelTolerance);

// Pixels differing between `a` and `b` inside and outside the square of
// half-side `reach` around each of the given centres.
struct PlacedDiff {
    int inside = 0;
    int outside = 0;
};
PlacedDiff diffAroundPoints(const Image &a, const Image &b, const int (*centres)[2], int count,
                            int reach);

// Pictures and whole frames reduced to one hash per row of pixels: the
// Linux build writes them, and the Windows build's frame test holds what it
// draws to them, byte for byte, and names the rows that differ.
#pragma once

#include <allegro5/allegro.h>

#include <cstdint>
#include <string>
#include <vector>

struct HashedImage {
    std::string name;           // a picture's slot, or a frame's row and window size
    int width = 0, height = 0;  // pixels
    std::vector<uint64_t> rows; // of each row's bytes, red, green, blue, alpha
};

HashedImage hashImage(const std::string &name, ALLEGRO_BITMAP *bitmap);

// Every picture as the loaders leave it, read from assetRoot, then every
// game state of frameRows rendered into a memory bitmap of each window size.
// Starts from no pictures and no composed scene, whatever ran before.
std::vector<HashedImage> drawReferenceImages();

bool writeReference(const std::string &path, const std::vector<HashedImage> &images);
// Empty when the file cannot be read.
std::vector<HashedImage> readReference(const std::string &path);

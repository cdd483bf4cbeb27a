// Pictures cut down to the pixels that matter, exactly: a title picture to
// the places where it differs from the first one, a picture to the box of
// its pixels that show.
#pragma once

#include <allegro5/allegro.h>

#include <vector>

#include "shell/assets.h"

// Side of the square tiles in which pictures are compared, in pixels.
constexpr int patchTileSize = 16;

// The tiles of `picture` that differ from `base` in any byte, as runs along
// each band of tile rows, packed into one new bitmap made with the current
// new-bitmap flags; where each run lies and goes lands in `patches`. Both
// pictures must be memory bitmaps of one size: nullptr when they are not or
// cannot be read, and `patches` is then left empty.
ALLEGRO_BITMAP *makePatchSheet(ALLEGRO_BITMAP *base, ALLEGRO_BITMAP *picture,
                               std::vector<TitlePatch> &patches);

// The smallest box holding every pixel of `picture` (a memory bitmap) that
// is not fully transparent, as a new bitmap made with the current new-bitmap
// flags, and its top-left corner in `picture`. A picture with no such pixel
// gives one transparent pixel; nullptr when it cannot be read.
ALLEGRO_BITMAP *cropToVisible(ALLEGRO_BITMAP *picture, PictureOffset &offset);

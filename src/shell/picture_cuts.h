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

// The smallest box holding every pixel where one of `pictures` differs from
// `base`, all memory bitmaps of the size of `base` (null entries skipped);
// false when the pictures cannot be read. Every pixel the same gives an
// empty box (width 0).
bool differingBox(ALLEGRO_BITMAP *base, ALLEGRO_BITMAP *const pictures[], int count,
                  PictureBox &box);

// The pixels of `picture` inside `box`, as a new memory bitmap of pixel
// format `format`; nullptr when it cannot be read.
ALLEGRO_BITMAP *cutBox(ALLEGRO_BITMAP *picture, const PictureBox &box, int format);

// The pixels of `picture` (a memory bitmap) round the box `hole`, which
// lies inside it, as up to four strips packed into one new bitmap made
// with the current new-bitmap flags; where each lies and goes lands in
// `patches`. nullptr when the picture cannot be read.
ALLEGRO_BITMAP *cutAround(ALLEGRO_BITMAP *picture, const PictureBox &hole,
                          std::vector<TitlePatch> &patches);

// Copies all of `from` into `into` with its top-left corner at (x, y);
// false when either cannot be read or `from` does not fit.
bool pasteInto(ALLEGRO_BITMAP *from, ALLEGRO_BITMAP *into, int x, int y);

// The smallest box holding every pixel of `picture` (a memory bitmap) that
// is not fully transparent, as a new bitmap made with the current new-bitmap
// flags, and its top-left corner in `picture`. A picture with no such pixel
// gives one transparent pixel; nullptr when it cannot be read.
ALLEGRO_BITMAP *cropToVisible(ALLEGRO_BITMAP *picture, PictureOffset &offset);

// The smallest box holding every pixel of `picture` (a memory bitmap) that
// is not fully transparent, width 0 when there is none; false when the
// picture cannot be read.
bool visiblePart(ALLEGRO_BITMAP *picture, PictureBox &box);

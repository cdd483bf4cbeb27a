// The asset generator's drawing kit: supersampled canvases, colours and
// the painters for each kind of picture.
#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <cstdint>
#include <string>
#include <vector>

// How a finished picture treats the part nothing was drawn on.
enum class Key {
    None,  // straight alpha kept as drawn
    Black, // laid over pure black, which the game keys out; edges keep their smoothing
    Blue,  // pure blue (0, 0, 255) keyed out by the game; edges hard, so no blue fringe
};

// A picture is drawn at `scale` times its size and boxed down when finished,
// which gives smooth edges the software rasteriser does not.
struct Canvas {
    ALLEGRO_BITMAP *big = nullptr; // the oversized drawing surface
    int width = 0;                 // finished size, pixels
    int height = 0;                // finished size, pixels
    int scale = 1;                 // oversampling factor per axis
};

constexpr int oversample = 3;

// Makes `canvas.big` the target, cleared to `clear` (premultiplied), with a
// transform so that drawing uses finished-picture coordinates.
void beginCanvas(Canvas &canvas, int width, int height, ALLEGRO_COLOR clear);

// Boxes the canvas down to its finished size, applies `key`, frees the big
// surface and returns a memory bitmap with straight alpha.
ALLEGRO_BITMAP *finishCanvas(Canvas &canvas, Key key);

// Straight 8-bit components with an opacity 0..1, premultiplied for drawing.
ALLEGRO_COLOR rgba(int r, int g, int b, float a = 1.0f);
ALLEGRO_COLOR mix(ALLEGRO_COLOR a, ALLEGRO_COLOR b, float t);

// Text in a Liberation face at `size` finished pixels; align is an
// ALLEGRO_ALIGN_* flag. `face` is a file name such as "LiberationSans-Bold.ttf".
void drawText(const char *face, float size, ALLEGRO_COLOR colour, float x, float y, int align,
              const char *text);
float textWidth(const char *face, float size, const char *text);
void setFontFolder(const std::string &folder);

// Writes a memory bitmap as a PNG file made to load fast: RGB when no pixel
// is transparent, unfiltered rows. False if the file cannot be written.
bool savePng(ALLEGRO_BITMAP *bitmap, const std::string &path);

// A small seeded generator, so every run draws the same speckles.
struct Rng {
    uint32_t state = 1;
};
float nextUnit(Rng &rng); // 0..1

// Painters. Each returns a finished memory bitmap.
ALLEGRO_BITMAP *paintClock();
ALLEGRO_BITMAP *paintClockHand();
ALLEGRO_BITMAP *paintMouseFrame(int frame);
// Draws the mouse centred on the current transform's origin, in its own
// 600 x 600 picture units, head towards +y.
void drawMouse(int frame);
// Draws the clock face of radius 300 centred on the current transform's origin.
void drawClockFace();
// Draws the clock's hand pointing to twelve, its pivot on the origin.
void drawClockHand();
ALLEGRO_BITMAP *paintBackdrop(int urgency); // 0 calm, 1..3 warnings
ALLEGRO_BITMAP *paintTitleFrame(int fileNumber);
ALLEGRO_BITMAP *paintMessage(int fileNumber);
ALLEGRO_BITMAP *paintIcon(int size); // size x size desktop icon, drawn for that size
// The icon's picture, `size` pixels across, centred on (cx, cy) of the
// current canvas: the game's own face, hand and mouse when `full`, else
// the bolder ones drawn for small icons.
void drawEmblem(float cx, float cy, int size, bool full);
// The Windows installer's picture beside its welcome and finish pages.
ALLEGRO_BITMAP *paintInstallerPanel();

// One size of the icon, already written as a PNG file.
struct IconFile {
    int size; // pixels, 16 to 256
    std::string pngPath;
};
// The Windows .ico holding every given size; false when it cannot be written.
bool writeIco(const std::vector<IconFile> &icons, const std::string &path);
// An opaque picture as a 24-bit Windows bitmap, which is what NSIS takes.
bool writeBmp(ALLEGRO_BITMAP *bitmap, const std::string &path);

// Sounds, written straight to WAV files; false when a file cannot be written.
bool writeSounds(const std::string &folder);

// The contact sheet of every picture, given in file order with their names.
ALLEGRO_BITMAP *paintContactSheet(ALLEGRO_BITMAP *const *pictures, const char *const *names,
                                  const Key *keys, int count);

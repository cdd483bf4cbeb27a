// Backgrounds, score text, the game-over fade, level messages and the title.
#include "render/screens.h"

#include <allegro5/allegro_font.h>
#include <allegro5/allegro_primitives.h>

#include <cstdio>
#include <iterator>

#include "game/game_state.h"
#include "render/texture_mode.h"
#include "shell/assets.h"
#include "shell/shell.h"

namespace {

const ALLEGRO_COLOR textColour = al_map_rgb(176, 255, 197);
constexpr int messageY = 200;        // pixels from the top
constexpr int titleFrameLength = 10; // title updates per picture

void drawIfLoaded(ALLEGRO_BITMAP *picture, float x, float y) {
    if (picture) {
        al_draw_bitmap(picture, x, y, 0);
    }
}

} // namespace

// The first test is in integers, the other two in floating point, as the
// thresholds 1/3.5 and 1/1.5 are not whole fractions.
int warningLevel(int timeLeft, int timeLimit) {
    if (timeLeft * 6 < timeLimit) {
        return 3;
    }
    if (timeLimit > timeLeft * 3.5) {
        return 2;
    }
    if (timeLimit > timeLeft * 1.5) {
        return 1;
    }
    return 0;
}

ALLEGRO_BITMAP *backgroundFor(int timeLeft, int timeLimit) {
    const int level = warningLevel(timeLeft, timeLimit);
    return level == 0 ? assets.background : assets.warning[level - 1];
}

int fadeAlpha(unsigned phaseFrame) {
    return phaseFrame >= 51 ? 255 : static_cast<int>(phaseFrame) * 5;
}

int levelMessageX(unsigned phaseFrame) {
    const int f = static_cast<int>(phaseFrame);
    if (f <= 100) {
        return 2100 - 20 * f; // slides in from the right
    }
    if (f <= 200) {
        return 100;
    }
    return 4100 - 20 * f; // slides out to the left
}

// Pictures 06 07 00 01 02 03 three times over, then 04 and 05.
int menuFrameSlot(unsigned phaseFrame) {
    const unsigned f = phaseFrame / titleFrameLength;
    const unsigned slot = f < 18 ? f % 6 : f - 12;
    return slot < std::size(assets.menuFrames) ? static_cast<int>(slot) : -1;
}

void drawBackground() { drawBackdropPicture(backgroundFor(game.timeLeft, game.timeLimit)); }

int cutWarning(ALLEGRO_BITMAP *background) {
    for (int k = 0; k < 3; ++k) {
        if (background && background == assets.warning[k] && assets.warningCut[k]) {
            return k;
        }
    }
    return -1;
}

void drawBackdropPicture(ALLEGRO_BITMAP *background) {
    const int k = cutWarning(background);
    if (k < 0) {
        drawIfLoaded(background, 0.0f, 0.0f);
        return;
    }
    for (const TitlePatch &strip : assets.warningStrips[k]) {
        al_draw_bitmap_region(background, strip.sheetX, strip.sheetY, strip.width, strip.height,
                              strip.x, strip.y, 0);
    }
}

ScreenBox backdropHole(ALLEGRO_BITMAP *background) {
    const int k = cutWarning(background);
    if (k < 0) {
        return noBox;
    }
    const PictureBox &hole = assets.warningHoles[k];
    return {hole.x, hole.y, hole.x + hole.width, hole.y + hole.height};
}

namespace {

// The number as text, in a buffer: a frame allocates nothing.
struct NumberText {
    char text[16];
};

NumberText numberText(int value) {
    NumberText out;
    std::snprintf(out.text, sizeof out.text, "%d", value);
    return out;
}

// Where `text` drawn at (x, y) can leave pixels.
ScreenBox textBox(const char *text, int x, int y) {
    int left, top, w, h;
    al_get_text_dimensions(assets.font, text, &left, &top, &w, &h);
    constexpr int spare = 2; // pixels round the glyphs' ink
    return {x + left - spare, y + top - spare, x + left + w + spare, y + top + h + spare};
}

} // namespace

ScreenBox numberBox(int value, int x, int y) {
    return assets.font ? textBox(numberText(value).text, x, y) : noBox;
}

// Without a font the numbers are simply missing. A frame redrawn in small
// boxes asks for the score in each; where it lies wholly outside the box,
// it would leave every pixel as it was.
void drawNumber(int value, int x, int y) {
    if (!assets.font) {
        return;
    }
    const NumberText text = numberText(value);
    if (!isEmpty(commonBox(textBox(text.text, x, y), clippingBox()))) {
        drawTinted([&] { al_draw_text(assets.font, textColour, x, y, 0, text.text); });
    }
}

void drawFade() {
    const ALLEGRO_COLOR white = al_map_rgba(255, 255, 255, fadeAlpha(game.phaseFrame));
    al_draw_filled_rectangle(0.0f, 0.0f, screenWidth, screenHeight, white);
}

void drawLevelMessage() {
    if (!game.levelTransition || game.phaseFrame <= zoomLength) {
        return;
    }
    if (game.messageIndex < 0 || game.messageIndex >= messageCount) {
        return;
    }
    // Unscaled at whole pixels, the transparent border cropped away would
    // have left the frame as it was.
    const PictureOffset offset = assets.messageOffsets[game.messageIndex];
    drawIfLoaded(assets.messages[game.messageIndex], levelMessageX(game.phaseFrame) + offset.x,
                 messageY + offset.y);
}

// The patches are opaque and copied unscaled to whole pixels, so the frame
// is byte for byte the picture they were cut from; held, they go to the
// driver as one batch.
void drawTitlePicture(int slot) {
    ALLEGRO_BITMAP *picture = assets.menuFrames[slot];
    if (!picture || !assets.menuPatched[slot]) {
        drawIfLoaded(picture, 0.0f, 0.0f);
        return;
    }
    drawIfLoaded(assets.menuFrames[0], 0.0f, 0.0f);
    al_hold_bitmap_drawing(true);
    for (const TitlePatch &patch : assets.menuPatches[slot]) {
        al_draw_bitmap_region(picture, patch.sheetX, patch.sheetY, patch.width, patch.height,
                              patch.x, patch.y, 0);
    }
    al_hold_bitmap_drawing(false);
}

void drawMenu() {
    const int slot = menuFrameSlot(game.phaseFrame);
    if (slot >= 0) {
        drawTitlePicture(slot);
    }
    drawNumber(game.bestScore, 380, 306);
    drawNumber(game.score, 380, 333);
}

ScreenBox levelMessageBox(int slot, int x) {
    if (slot < 0 || slot >= messageCount || !assets.messages[slot]) {
        return noBox;
    }
    // Kept cropped: its picture lies at an offset from the file's corner.
    ALLEGRO_BITMAP *picture = assets.messages[slot];
    const int left = x + assets.messageOffsets[slot].x;
    const int top = messageY + assets.messageOffsets[slot].y;
    return {left, top, left + al_get_bitmap_width(picture), top + al_get_bitmap_height(picture)};
}

// Backgrounds, score text, the game-over fade, level messages and the title.
#include "render/screens.h"

#include <allegro5/allegro_font.h>
#include <allegro5/allegro_primitives.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "game/game_state.h"
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
ALLEGRO_BITMAP *backgroundFor(int timeLeft, int timeLimit) {
    if (timeLeft * 6 < timeLimit) {
        return assets.warning[2];
    }
    if (timeLimit > timeLeft * 3.5) {
        return assets.warning[1];
    }
    if (timeLimit > timeLeft * 1.5) {
        return assets.warning[0];
    }
    return assets.background;
}

// Pictures 06 07 00 01 02 03 three times over, then 04 and 05.
int menuFrameSlot(unsigned phaseFrame) {
    const unsigned f = phaseFrame / titleFrameLength;
    return static_cast<int>(f < 18 ? f % 6 : std::min(f - 12, 7u));
}

void drawText(ALLEGRO_COLOR colour, float x, float y, int flags, const char *text) {
    const ALLEGRO_TRANSFORM frame = *al_get_current_transform();
    ALLEGRO_FONT *font = fontOfSize(static_cast<int>(std::lround(fontSize * frame.m[1][1])));
    if (!font) {
        return;
    }
    al_transform_coordinates(&frame, &x, &y);
    ALLEGRO_TRANSFORM pixels;
    al_identity_transform(&pixels);
    al_use_transform(&pixels);
    al_draw_text(font, colour, std::round(x), std::round(y), flags, text);
    al_use_transform(&frame);
}

void drawBackground() { drawIfLoaded(backgroundFor(game.timeLeft, game.timeLimit), 0.0f, 0.0f); }

// Without a font the numbers are simply missing.
void drawNumber(int value, int x, int y) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    drawText(textColour, x, y, 0, text);
}

// White over the game-over sequence, opaque from frame 51 on.
void drawFade() {
    const int alpha = std::min(static_cast<int>(game.phaseFrame) * 5, 255);
    al_draw_filled_rectangle(0.0f, 0.0f, screenWidth, screenHeight,
                             al_map_rgba(255, 255, 255, alpha));
}

// Slides in from the right, stands, and slides out to the left.
void drawLevelMessage() {
    if (!game.levelTransition || game.phaseFrame <= zoomLength || game.messageIndex < 0 ||
        game.messageIndex >= messageCount) {
        return;
    }
    const int f = static_cast<int>(game.phaseFrame);
    const int x = f <= 100 ? 2100 - 20 * f : f <= 200 ? 100 : 4100 - 20 * f;
    drawIfLoaded(assets.messages[game.messageIndex], x, messageY);
}

// Without its pictures the title would be a black window: it says instead,
// in the library's own font, where they were sought.
static void drawPicturesMissing() {
    if (!assets.builtinFont) {
        return;
    }
    const std::string words =
        "Clock Maze cannot find its pictures.\nIt looked in these folders:\n\n" + foldersSearched;
    al_draw_multiline_text(assets.builtinFont, al_map_rgb(255, 255, 255), 40.0f, 40.0f,
                           screenWidth - 80.0f, 16.0f, 0, words.c_str());
}

ALLEGRO_BITMAP *titlePicture(int slot) {
    for (int away = 0; away < menuFrameCount; ++away) {
        for (const int nearby : {slot - away, slot + away}) {
            if (nearby >= 0 && nearby < menuFrameCount && assets.menuFrames[nearby]) {
                return assets.menuFrames[nearby];
            }
        }
    }
    return nullptr;
}

std::string loadProblemsLine() {
    std::string what;
    auto add = [&what](int count, const char *one, const char *many) {
        if (count > 0) {
            what += (what.empty() ? "" : ", ") +
                    (count == 1 ? std::string(one) : std::to_string(count) + " " + many);
        }
    };
    add(loadProblems.pictures, "a picture", "pictures");
    add(loadProblems.sounds, "a sound", "sounds");
    add(loadProblems.font ? 1 : 0, "the score font", "");
    if (what.empty()) {
        return what;
    }
    const bool several =
        what.find(',') != std::string::npos || loadProblems.pictures > 1 || loadProblems.sounds > 1;
    return "Missing or unusable: " + what + ". The game plays on without " +
           (several ? "them." : "it.");
}

// A problem the game plays on through, in one line at the foot of the
// title, in the library's own font: a player started from a desktop menu
// or on Windows sees no standard error.
static void drawLoadProblems() {
    const std::string line = loadProblemsLine();
    if (line.empty() || !assets.builtinFont) {
        return;
    }
    const float width = static_cast<float>(al_get_text_width(assets.builtinFont, line.c_str()));
    const float left = (screenWidth - width) / 2;
    al_draw_filled_rectangle(left - 8.0f, 566.0f, left + width + 8.0f, 586.0f,
                             al_map_rgba(0, 0, 0, 200));
    al_draw_text(assets.builtinFont, al_map_rgb(236, 228, 210), left, 572.0f, 0, line.c_str());
}

void drawMenu() {
    if (ALLEGRO_BITMAP *picture = titlePicture(menuFrameSlot(game.phaseFrame))) {
        al_draw_bitmap(picture, 0.0f, 0.0f, 0);
    } else {
        drawPicturesMissing();
    }
    drawNumber(game.bestScore, 380, 306);
    drawNumber(game.score, 380, 333);
    drawLoadProblems();
}

// The words stand on a darker panel of their own, to be read over anything
// beneath, a level message's banner among it.
void drawPause() {
    al_draw_filled_rectangle(0.0f, 0.0f, screenWidth, screenHeight, al_map_rgba(0, 0, 0, 160));
    if (assets.font) {
        al_draw_filled_rounded_rectangle(170.0f, 258.0f, 630.0f, 352.0f, 12.0f, 12.0f,
                                         al_map_rgb(12, 20, 16));
    }
    drawText(textColour, screenWidth / 2, 270, ALLEGRO_ALIGN_CENTRE, "Paused");
    drawText(al_map_rgb(236, 228, 210), screenWidth / 2, 310, ALLEGRO_ALIGN_CENTRE,
             shell.pointerUsed ? "Tap, P or Esc to resume" : "Press P or Esc to resume");
}

// Two bars on a dark disc, to be seen over any background.
void drawPauseControl() {
    const float x = pauseControlX, y = pauseControlY, r = pauseControlRadius;
    al_draw_filled_circle(x, y, r, al_map_rgba(12, 20, 16, 190));
    al_draw_circle(x, y, r, textColour, 2.0f);
    for (const float side : {-1.0f, 1.0f}) {
        al_draw_filled_rectangle(x + side * 0.18f * r - 0.12f * r, y - 0.4f * r,
                                 x + side * 0.18f * r + 0.12f * r, y + 0.4f * r, textColour);
    }
}

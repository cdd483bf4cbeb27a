// Backgrounds, score text, fade, level messages and the title screen.
#include <gtest/gtest.h>

#include <allegro5/allegro_font.h>
#include <allegro5/allegro_ttf.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "render/screens.h"
#include "shell/assets.h"
#include "support/render_fixture.h"

namespace {

bool sameColour(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Anti-aliased text in (176, 255, 197) over black or dark blue.
bool isText(Rgb p) { return p.g > 100; }

class ScreensTest : public RenderTest {};

TEST_F(ScreensTest, BackgroundWarnsAsTheClockRunsOut) {
    const Rgb calm{10, 10, 90}, w1{90, 90, 0}, w2{120, 60, 0}, w3{160, 0, 0};
    assets.background = solid(8, 8, calm);
    assets.warning[0] = solid(8, 8, w1);
    assets.warning[1] = solid(8, 8, w2);
    assets.warning[2] = solid(8, 8, w3);
    struct Row {
        int timeLimit;
        int timeLeft;
        Rgb colour;
    };
    const Row rows[] = {
        {950, 950, calm}, {950, 634, calm}, // 950 > 951 fails
        {950, 633, w1},                     // 950 > 949.5
        {950, 272, w1},   {950, 271, w2},   // 950 > 948.5
        {950, 159, w2},   {950, 158, w3},   // 948 < 950
        {950, 0, w3},     {600, 100, w2},   // 600 < 600 fails
        {7, 2, w1},                         // 7 > 7.0 fails: 3.5 is not cut to 3
        {3, 2, calm},                       // 3 > 3.0 fails: 1.5 is not cut to 1
    };
    for (const Row &row : rows) {
        game.timeLimit = row.timeLimit;
        game.timeLeft = row.timeLeft;
        clearTarget();
        drawBackground();
        EXPECT_TRUE(sameColour(shot().at(3, 3), row.colour))
            << "timeLeft " << row.timeLeft << " of " << row.timeLimit;
    }
}

TEST_F(ScreensTest, MissingBackgroundIsSkipped) {
    assets.background = solid(8, 8, {10, 10, 90});
    game.timeLimit = 950;
    game.timeLeft = 100; // warning3, whose slot is empty
    drawBackground();
    EXPECT_TRUE(shot().litBox().empty);
}

TEST_F(ScreensTest, FadeTurnsWhiteInFiftyOneFrames) {
    struct Row {
        unsigned phaseFrame;
        int level; // grey level over black
    };
    const Row rows[] = {{0, 0}, {1, 5}, {10, 50}, {50, 250}, {51, 255}, {60, 255}};
    for (const Row &row : rows) {
        game.gameOver = true;
        game.phaseFrame = row.phaseFrame;
        clearTarget();
        drawFade();
        const Snapshot s = shot();
        for (const auto &[x, y] : {std::pair{0, 0}, {799, 599}, {400, 300}}) {
            EXPECT_NEAR(s.at(x, y).g, row.level, 1) << "frame " << row.phaseFrame << " at " << x;
        }
    }
}

TEST_F(ScreensTest, LevelMessageSlidesAcross) {
    struct Row {
        unsigned phaseFrame;
        int x;
    };
    const Row rows[] = {{61, 880},  {62, 860}, {100, 100},  {101, 100}, {150, 100},
                        {200, 100}, {201, 80}, {230, -500}, {250, -900}};
    const Rgb first{200, 0, 200}, chosen{0, 200, 200};
    assets.messages[0] = solid(20, 10, first);
    assets.messages[7] = solid(20, 10, chosen);
    ALLEGRO_BITMAP *wide = al_create_bitmap(2000, 600); // room off both edges
    ASSERT_NE(wide, nullptr);
    game.levelTransition = true;
    game.messageIndex = 7;
    for (const Row &row : rows) {
        game.phaseFrame = row.phaseFrame;
        al_set_target_bitmap(wide);
        al_clear_to_color(al_map_rgb(0, 0, 0));
        ALLEGRO_TRANSFORM shift;
        al_identity_transform(&shift);
        al_translate_transform(&shift, 1000, 0); // window x 0 lands at 1000
        al_use_transform(&shift);
        drawLevelMessage();
        const PixelBox b = snapshot(wide).litBox();
        ASSERT_FALSE(b.empty) << "frame " << row.phaseFrame;
        EXPECT_EQ(b.left - 1000, row.x) << "frame " << row.phaseFrame;
        EXPECT_EQ(b.top, 200) << "frame " << row.phaseFrame;
        EXPECT_TRUE(sameColour(snapshot(wide).at(b.left, b.top), chosen))
            << "frame " << row.phaseFrame;
    }
    al_set_target_bitmap(target);
    al_destroy_bitmap(wide);
}

TEST_F(ScreensTest, NoLevelMessageOutsideTheMessageFrames) {
    struct Row {
        bool levelTransition;
        unsigned phaseFrame;
    };
    const Row rows[] = {{true, 0}, {true, 60}, {false, 150}};
    assets.messages[0] = solid(800, 100, {200, 0, 200});
    for (const Row &row : rows) {
        game.levelTransition = row.levelTransition;
        game.phaseFrame = row.phaseFrame;
        clearTarget();
        drawLevelMessage();
        EXPECT_TRUE(shot().litBox().empty) << "frame " << row.phaseFrame;
    }
}

TEST_F(ScreensTest, TitleAnimationOrder) {
    // Slots hold the pictures numbered 06 07 00 01 02 03 04 05.
    Rgb colours[8];
    for (int i = 0; i < 8; ++i) {
        colours[i] = {20 + 20 * i, 0, 0};
        assets.menuFrames[i] = solid(8, 8, colours[i]);
    }
    struct Row {
        unsigned phaseFrame;
        int slot;
    };
    const Row rows[] = {{0, 0},   {9, 0},   {10, 1},  {20, 2},  {59, 5},  {60, 0},
                        {175, 5}, {179, 5}, {180, 6}, {189, 6}, {190, 7}, {199, 7}};
    for (const Row &row : rows) {
        EXPECT_EQ(menuFrameSlot(row.phaseFrame), row.slot) << "frame " << row.phaseFrame;
        game.phaseFrame = row.phaseFrame;
        clearTarget();
        drawMenu();
        EXPECT_TRUE(sameColour(shot().at(2, 2), colours[row.slot])) << "frame " << row.phaseFrame;
    }
}

// A title picture missing, broken or not yet read gives way to the nearest
// one there; the words about missing pictures come only when none is.
TEST_F(ScreensTest, AMissingTitlePictureGivesWayToTheNearestOne) {
    struct Row {
        const char *name;
        std::vector<int> there;
        int slot, shown; // shown -1: none
    };
    const Row rows[] = {{"its own", {0, 1, 2, 3, 4, 5, 6, 7}, 3, 3},
                        {"the earlier of two as near", {2, 4}, 3, 2},
                        {"a later one when none is before", {5, 7}, 1, 5},
                        {"the first picture missing", {1, 7}, 0, 1},
                        {"the last picture alone", {7}, 0, 7},
                        {"none", {}, 3, -1}};
    assets.builtinFont = al_create_builtin_font();
    foldersSearched = "/nowhere/clockmaze\n";
    for (const Row &row : rows) {
        for (ALLEGRO_BITMAP *&picture : assets.menuFrames) {
            picture = nullptr;
        }
        for (const int slot : row.there) {
            assets.menuFrames[slot] = solid(800, 600, {20 + 20 * slot, 0, 0});
        }
        EXPECT_EQ(titlePicture(row.slot), row.shown < 0 ? nullptr : assets.menuFrames[row.shown])
            << row.name;
        game.phaseFrame = static_cast<unsigned>(10 * row.slot); // a frame showing row.slot
        clearTarget();
        drawMenu();
        const Snapshot s = shot();
        const bool words = s.count([](Rgb p) { return p.r == 255 && p.g == 255 && p.b == 255; });
        EXPECT_EQ(words, row.shown < 0) << row.name << ": the words about missing pictures";
        if (row.shown >= 0) {
            EXPECT_TRUE(sameColour(s.at(2, 2), {20 + 20 * row.shown, 0, 0})) << row.name;
        }
    }
    al_destroy_font(assets.builtinFont);
}

// What the game plays on without shows as one line at the foot of the
// title, and nothing shows there when all is well.
TEST_F(ScreensTest, TheTitleSaysWhatTheGamePlaysOnWithout) {
    struct Row {
        LoadProblems problems;
        const char *line;
    };
    const Row rows[] = {
        {{0, 0, false}, ""},
        {{1, 0, false}, "Missing or unusable: a picture. The game plays on without it."},
        {{0, 4, false}, "Missing or unusable: 4 sounds. The game plays on without them."},
        {{0, 0, true}, "Missing or unusable: the score font. The game plays on without it."},
        {{2, 1, true},
         "Missing or unusable: 2 pictures, a sound, the score font. The game plays on without "
         "them."}};
    assets.builtinFont = al_create_builtin_font();
    assets.menuFrames[0] = solid(800, 600, {0, 0, 60});
    for (const Row &row : rows) {
        loadProblems = row.problems;
        EXPECT_EQ(loadProblemsLine(), row.line);
        clearTarget();
        drawMenu();
        const PixelBox words = shot().box([](Rgb p) { return p.r > 200 && p.g > 200; });
        EXPECT_EQ(words.empty, *row.line == 0) << row.line;
        if (!words.empty) {
            EXPECT_GE(words.top, 560) << "at the foot of the title, clear of its words";
            EXPECT_LT(words.bottom, 590);
            EXPECT_GE(words.left, 0);
        }
    }
    al_destroy_font(assets.builtinFont);
}

TEST_F(ScreensTest, NumbersArePlainDecimalText) {
    assets.font = loadTestFont();
    ASSERT_NE(assets.font, nullptr) << testFontPath;
    struct Row {
        int value;
        const char *text;
    };
    const Row rows[] = {{0, "0"}, {7, "7"}, {1234567, "1234567"}, {-42, "-42"}};
    ALLEGRO_BITMAP *expected = al_create_bitmap(800, 600);
    for (const Row &row : rows) {
        clearTarget();
        drawNumber(row.value, 107, 532);
        al_set_target_bitmap(expected);
        al_clear_to_color(al_map_rgb(0, 0, 0));
        al_draw_text(assets.font, al_map_rgb(176, 255, 197), 107, 532, 0, row.text);
        al_set_target_bitmap(target);
        const Snapshot got = shot();
        const Snapshot want = snapshot(expected);
        EXPECT_FALSE(want.litBox().empty);
        EXPECT_EQ(got.count(isText), want.count(isText)) << row.text;
        EXPECT_TRUE(sameColour(got.at(want.litBox().left, want.litBox().top),
                               want.at(want.litBox().left, want.litBox().top)))
            << row.text;
        const PixelBox gb = got.litBox(), wb = want.litBox();
        EXPECT_EQ(gb.left, wb.left) << row.text;
        EXPECT_EQ(gb.right, wb.right) << row.text;
        EXPECT_EQ(gb.top, wb.top) << row.text;
        EXPECT_EQ(gb.bottom, wb.bottom) << row.text;
    }
    al_destroy_bitmap(expected);
}

// In a frame at any scale, text is the font at the matching size drawn
// unscaled, on the whole pixel nearest its scaled place: as sharp as at
// 800x600, never the size-28 letters stretched.
TEST_F(ScreensTest, TextComesFromTheFontAtTheFrameScale) {
    assetRoot = std::string(CLOCKMAZE_ASSET_DIR) + "/";
    loadFont();
    ASSERT_NE(assets.font, nullptr);
    struct Row {
        float scaleX, scaleY;
        int size, x, y; // of the font, and where it lands for (107, 532), pixels
    };
    const Row rows[] = {{1.0f, 1.0f, 28, 107, 532},
                        {1.8f, 1.8f, 50, 193, 958},
                        {1.25f, 1.25f, 35, 134, 665},
                        {1.16625f, 1.1666666f, 33, 125, 621}};
    ALLEGRO_BITMAP *frame = al_create_bitmap(1440, 1080);
    ALLEGRO_BITMAP *expected = al_create_bitmap(1440, 1080);
    for (const Row &row : rows) {
        ALLEGRO_FONT *font = al_load_ttf_font((assetRoot + "arialbd.ttf").c_str(), row.size,
                                              ALLEGRO_NO_PREMULTIPLIED_ALPHA);
        ASSERT_NE(font, nullptr);
        al_set_target_bitmap(expected);
        al_clear_to_color(al_map_rgb(0, 0, 0));
        al_draw_text(font, al_map_rgb(176, 255, 197), row.x, row.y, 0, "1234");
        al_destroy_font(font);
        al_set_target_bitmap(frame);
        al_clear_to_color(al_map_rgb(0, 0, 0));
        ALLEGRO_TRANSFORM scale;
        al_identity_transform(&scale);
        al_scale_transform(&scale, row.scaleX, row.scaleY);
        al_use_transform(&scale);
        drawNumber(1234, 107, 532);
        const Snapshot got = snapshot(frame), want = snapshot(expected);
        EXPECT_FALSE(want.litBox().empty) << row.size;
        int differing = 0;
        for (size_t i = 0; i < got.pixels.size(); ++i) {
            differing += sameColour(got.pixels[i], want.pixels[i]) ? 0 : 1;
        }
        EXPECT_EQ(differing, 0) << "at scale " << row.scaleY;
    }
    al_set_target_bitmap(target);
    al_destroy_bitmap(frame);
    al_destroy_bitmap(expected);
    assetRoot.clear();
}

// Each score's ink lies exactly where the font puts it for its place: the
// best score's text at (380, 306), the last game's at (380, 333).
TEST_F(ScreensTest, TitleShowsBestAndLastScoreInTheirPlaces) {
    assets.font = loadTestFont();
    ASSERT_NE(assets.font, nullptr) << testFontPath;
    assets.menuFrames[0] = solid(800, 600, {0, 0, 60});
    game.bestScore = 8;
    game.score = 14;
    drawMenu();
    const Snapshot s = shot();
    struct Row {
        const char *text;
        int x, y;
    };
    const Row rows[] = {{"8", 380, 306}, {"14", 380, 333}};
    int inked = 0;
    for (const Row &row : rows) {
        int left, top, width, height;
        al_get_text_dimensions(assets.font, row.text, &left, &top, &width, &height);
        const int x0 = row.x + left, y0 = row.y + top;
        // The ink found in a band round where the text should be.
        PixelBox found;
        for (int y = y0 - 8; y < y0 + height + 8; ++y) {
            for (int x = x0 - 8; x < x0 + width + 8; ++x) {
                if (!isText(s.at(x, y))) {
                    continue;
                }
                inked += 1;
                if (found.empty) {
                    found = {false, x, y, x, y};
                }
                found.left = std::min(found.left, x), found.right = std::max(found.right, x);
                found.top = std::min(found.top, y), found.bottom = std::max(found.bottom, y);
            }
        }
        ASSERT_FALSE(found.empty) << row.text;
        EXPECT_NEAR(found.left, x0, 1) << row.text;
        EXPECT_NEAR(found.top, y0, 1) << row.text;
        EXPECT_NEAR(found.right, x0 + width - 1, 1) << row.text;
        EXPECT_NEAR(found.bottom, y0 + height - 1, 1) << row.text;
    }
    EXPECT_EQ(inked, s.count(isText)) << "no text anywhere else";
}

TEST_F(ScreensTest, WithoutAFontNumbersAreMissingAndTheRestIsDrawn) {
    assets.menuFrames[0] = solid(800, 600, {0, 0, 60});
    game.bestScore = 88;
    game.score = 12;
    drawMenu();
    drawNumber(1234, 107, 532);
    const Snapshot s = shot();
    EXPECT_EQ(s.count(isText), 0);
    EXPECT_TRUE(sameColour(s.at(400, 320), {0, 0, 60}));
}

// Without its pictures the title says, in the library's own font, where it
// looked for them.
TEST_F(ScreensTest, ATitleWithoutItsPicturesSaysWhereItLooked) {
    assets.builtinFont = al_create_builtin_font();
    foldersSearched = "/nowhere/clockmaze\n";
    drawMenu();
    const PixelBox words = shot().box([](Rgb p) { return p.r == 255 && p.g == 255 && p.b == 255; });
    al_destroy_font(assets.builtinFont);
    ASSERT_FALSE(words.empty);
    EXPECT_GE(words.bottom - words.top, 3 * 16) << "two lines of words, a gap, a folder";
}

// A paused game shows under a dim veil, with the words and the key.
TEST_F(ScreensTest, APausedGameIsVeiledWithHowToResume) {
    for (const bool font : {false, true}) {
        assets.font = font ? loadTestFont() : nullptr;
        al_clear_to_color(al_map_rgb(200, 100, 40));
        drawPause();
        const Snapshot s = shot();
        const Rgb corner = s.at(5, 5);
        EXPECT_NEAR(corner.r, 200 * 95 / 255, 2) << font;
        EXPECT_NEAR(corner.g, 100 * 95 / 255, 2) << font;
        const PixelBox text = s.box([](Rgb p) { return p.g > 150; });
        EXPECT_EQ(text.empty, !font);
        if (font) {
            EXPECT_GT(text.left, 200);
            EXPECT_LT(text.right, 600);
            EXPECT_GE(text.top, 270);
            EXPECT_LT(text.bottom, 350);
        }
    }
    // The words stand on a panel of their own, whatever lies beneath: over a
    // level message's banner as over a plain picture.
    std::vector<Snapshot> shots;
    for (const Rgb beneath : {Rgb{255, 255, 255}, Rgb{90, 40, 120}}) {
        al_clear_to_color(al_map_rgb(beneath.r, beneath.g, beneath.b));
        drawPause();
        shots.push_back(shot());
    }
    for (int y = 262; y < 348; ++y) {
        for (int x = 180; x < 620; ++x) {
            ASSERT_TRUE(sameColour(shots[0].at(x, y), shots[1].at(x, y))) << x << ", " << y;
        }
    }
}

// The pause control stands at the frame's top right, two light bars on a
// dark disc, and touches nothing else.
TEST_F(ScreensTest, ThePauseControlIsTwoBarsAtTheTopRight) {
    clearTarget();
    drawPauseControl();
    const Snapshot s = shot();
    const PixelBox drawn = s.litBox();
    ASSERT_FALSE(drawn.empty);
    EXPECT_NEAR(drawn.left, pauseControlX - pauseControlRadius, 2);
    EXPECT_NEAR(drawn.right, pauseControlX + pauseControlRadius, 2);
    EXPECT_NEAR(drawn.top, pauseControlY - pauseControlRadius, 2);
    EXPECT_NEAR(drawn.bottom, pauseControlY + pauseControlRadius, 2);
    const int x = static_cast<int>(pauseControlX), y = static_cast<int>(pauseControlY);
    const int bar = static_cast<int>(0.18f * pauseControlRadius);
    EXPECT_TRUE(isText(s.at(x - bar, y)) && isText(s.at(x + bar, y))) << "two bars";
    EXPECT_FALSE(isText(s.at(x, y))) << "a gap between them";
}

} // namespace

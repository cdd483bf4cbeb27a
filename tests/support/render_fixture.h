// Shared set-up for the drawing tests: the library without a window, a black
// 800x600 memory bitmap as the target, and small pictures made on the spot.
#pragma once

#include <gtest/gtest.h>

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <functional>
#include <string>
#include <vector>

struct Rgb {
    int r;
    int g;
    int b;
};

// Bounding box of the pixels a test is looking for, inclusive; empty if none.
struct PixelBox {
    bool empty = true;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int centreX() const { return (left + right) / 2; }
    int centreY() const { return (top + bottom) / 2; }
};

// A picture of the target read back once, so that scans are cheap.
struct Snapshot {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    bool lit(int x, int y) const;
    PixelBox box(const std::function<bool(Rgb)> &want) const;
    PixelBox litBox() const;
    int count(const std::function<bool(Rgb)> &want) const;
};

Snapshot snapshot(ALLEGRO_BITMAP *bitmap);

// Drops the resting scene composed from earlier pictures.
void forgetRestScene();

// Liberation Sans Bold, the score font, as the build copies it.
constexpr const char *testFontPath = CLOCKMAZE_TEST_FONT;

class RenderTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // An opaque rectangle of one colour, destroyed after the test.
    ALLEGRO_BITMAP *solid(int w, int h, Rgb colour);
    // A transparent picture with opaque rectangles painted on it.
    ALLEGRO_BITMAP *transparent(int w, int h);
    void paint(ALLEGRO_BITMAP *bitmap, int x1, int y1, int x2, int y2, Rgb colour);
    ALLEGRO_FONT *loadTestFont();
    // Clears the target to black again.
    void clearTarget();
    Snapshot shot() const { return snapshot(target); }

    ALLEGRO_BITMAP *target = nullptr;

  private:
    std::vector<ALLEGRO_BITMAP *> owned;
    std::vector<ALLEGRO_FONT *> fonts;
};

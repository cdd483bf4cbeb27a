// The folder the build lays out: every file the game reads is there, in the
// size the drawing needs, keyed backgrounds are exactly the key colour, and
// the sounds are well-formed WAV files whose loops meet without a click.
#include <gtest/gtest.h>

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string assetDir = CLOCKMAZE_ASSET_DIR;

class AssetFolderTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(al_install_system(ALLEGRO_VERSION_INT, atexit));
        ASSERT_TRUE(al_init_image_addon());
    }
    void SetUp() override { al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP); }
};

ALLEGRO_BITMAP *loadRaw(const std::string &name) {
    return al_load_bitmap_flags((assetDir + "/" + name).c_str(), ALLEGRO_NO_PREMULTIPLIED_ALPHA);
}

struct Rgba {
    int r, g, b, a;
};

Rgba pixel(ALLEGRO_BITMAP *bitmap, int x, int y) {
    unsigned char r, g, b, a;
    al_unmap_rgba(al_get_pixel(bitmap, x, y), &r, &g, &b, &a);
    return {r, g, b, a};
}

TEST_F(AssetFolderTest, EveryPictureIsThereInTheSizeTheDrawingNeeds) {
    struct Row {
        std::string file;
        int width, height; // pixels; 0 for "any"
    };
    std::vector<Row> rows = {{"clock.png", 600, 600},    {"zubg.png", 800, 600},
                             {"warning1.png", 800, 600}, {"warning2.png", 800, 600},
                             {"warning3.png", 800, 600}, {"clockhand.png", 70, 380}};
    for (int i = 1; i <= 4; ++i) {
        rows.push_back({"mouse_run000" + std::to_string(i) + ".png", 600, 600});
    }
    for (int i = 0; i < 8; ++i) {
        rows.push_back({"startmenu/startmenu0" + std::to_string(i) + ".png", 800, 600});
    }
    for (int n : {2, 3, 4, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}) {
        // Slides in at y 200: it must fit below that in the window.
        rows.push_back({"messages/msg" + std::to_string(n) + ".png", 600, 200});
    }
    rows.push_back({"icon.png", 64, 64}); // the window's icon
    ASSERT_EQ(rows.size(), 32u);
    for (const Row &row : rows) {
        ALLEGRO_BITMAP *bitmap = loadRaw(row.file);
        ASSERT_NE(bitmap, nullptr) << row.file;
        EXPECT_EQ(al_get_bitmap_width(bitmap), row.width) << row.file;
        EXPECT_EQ(al_get_bitmap_height(bitmap), row.height) << row.file;
        al_destroy_bitmap(bitmap);
    }
    for (const char *other : {"arialbd.ttf", "arialbd-LICENCE.txt"}) {
        std::ifstream file(assetDir + "/" + other);
        EXPECT_TRUE(file.good()) << other;
    }
}

// Menus and docks pick the icon of the size they show; each is a round
// clock on a clear square, so it sits on any panel.
TEST_F(AssetFolderTest, DesktopIconsComeInEveryMenuSize) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string file = std::string(CLOCKMAZE_ICON_DIR) + "/" + std::to_string(size) +
                                 "x" + std::to_string(size) + "/apps/" + CLOCKMAZE_APP_ID + ".png";
        ALLEGRO_BITMAP *icon = al_load_bitmap_flags(file.c_str(), ALLEGRO_NO_PREMULTIPLIED_ALPHA);
        ASSERT_NE(icon, nullptr) << file;
        EXPECT_EQ(al_get_bitmap_width(icon), size) << file;
        EXPECT_EQ(al_get_bitmap_height(icon), size) << file;
        EXPECT_EQ(pixel(icon, 0, 0).a, 0) << file << ": the corner is not clear";
        EXPECT_EQ(pixel(icon, size / 2, size / 4).a, 255) << file << ": the face is not opaque";
        al_destroy_bitmap(icon);
    }
}

TEST_F(AssetFolderTest, KeyedPicturesStandOnExactlyTheKeyColour) {
    struct Row {
        std::string file;
        Rgba key;
    };
    const Row rows[] = {
        {"clock.png", {0, 0, 0, 255}},           {"clockhand.png", {0, 0, 0, 255}},
        {"mouse_run0001.png", {0, 0, 255, 255}}, {"mouse_run0002.png", {0, 0, 255, 255}},
        {"mouse_run0003.png", {0, 0, 255, 255}}, {"mouse_run0004.png", {0, 0, 255, 255}}};
    for (const Row &row : rows) {
        ALLEGRO_BITMAP *bitmap = loadRaw(row.file);
        ASSERT_NE(bitmap, nullptr) << row.file;
        const int w = al_get_bitmap_width(bitmap), h = al_get_bitmap_height(bitmap);
        for (int corner = 0; corner < 4; ++corner) {
            const Rgba p = pixel(bitmap, corner % 2 ? w - 1 : 0, corner / 2 ? h - 1 : 0);
            EXPECT_TRUE(p.r == row.key.r && p.g == row.key.g && p.b == row.key.b && p.a == 255)
                << row.file << " corner " << corner << " is " << p.r << "," << p.g << "," << p.b
                << "," << p.a;
        }
        al_destroy_bitmap(bitmap);
    }
}

TEST_F(AssetFolderTest, MouseFramesLeaveNoBlueFringeOnceKeyed) {
    for (int i = 1; i <= 4; ++i) {
        const std::string file = "mouse_run000" + std::to_string(i) + ".png";
        ALLEGRO_BITMAP *bitmap = loadRaw(file);
        ASSERT_NE(bitmap, nullptr) << file;
        al_convert_mask_to_alpha(bitmap, al_map_rgb(0, 0, 255));
        int bluish = 0, lowest = -1;
        for (int y = 0; y < 600; ++y) {
            for (int x = 0; x < 600; ++x) {
                const Rgba p = pixel(bitmap, x, y);
                if (p.a != 0) {
                    bluish += p.b > p.r + 60 && p.b > p.g + 60;
                    lowest = y;
                }
            }
        }
        EXPECT_EQ(bluish, 0) << file << ": visible pixels tinted by the key colour";
        EXPECT_EQ(pixel(bitmap, 300, 300).a, 255) << file << ": the body covers the pivot";
        // The head is at the bottom of the picture, the nose some 200 px below the pivot.
        EXPECT_GT(lowest, 480) << file;
        EXPECT_LT(lowest, 560) << file;
        al_destroy_bitmap(bitmap);
    }
}

// The face fills its circle of radius 300 with no holes a dark stroke in pure
// black would punch, and nothing shows outside it: its copy at a third of
// the size sits exactly on ring 4's inner edge.
TEST_F(AssetFolderTest, ClockFaceIsSolidInsideItsCircleAndClearOutside) {
    ALLEGRO_BITMAP *bitmap = loadRaw("clock.png");
    ASSERT_NE(bitmap, nullptr);
    al_convert_mask_to_alpha(bitmap, al_map_rgb(0, 0, 0));
    int holes = 0, spill = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 600; ++x) {
            const double r = std::hypot(x + 0.5 - 300, y + 0.5 - 300);
            const int a = pixel(bitmap, x, y).a;
            holes += r < 298 && a != 255;
            spill += r > 301 && a != 0;
        }
    }
    EXPECT_EQ(holes, 0);
    EXPECT_EQ(spill, 0);
    al_destroy_bitmap(bitmap);
}

TEST_F(AssetFolderTest, ClockHandTurnsAboutItsPivotAndPointsToTwelve) {
    ALLEGRO_BITMAP *bitmap = loadRaw("clockhand.png");
    ASSERT_NE(bitmap, nullptr);
    al_convert_mask_to_alpha(bitmap, al_map_rgb(0, 0, 0));
    EXPECT_EQ(pixel(bitmap, 50, 300).a, 255) << "pivot";
    EXPECT_EQ(pixel(bitmap, 50, 300 - 265).a, 255) << "reaches almost to the rim";
    EXPECT_EQ(pixel(bitmap, 50, 300 - 292).a, 0) << "stays inside the rim";
    EXPECT_EQ(pixel(bitmap, 50, 300 + 78).a, 0) << "its tail is short";
    al_destroy_bitmap(bitmap);
}

struct Wav {
    bool ok = false;
    int channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples; // interleaved
};

uint32_t le32(const std::vector<uint8_t> &b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// Walks the RIFF chunks as any reader would, rather than trusting offsets.
Wav readWav(const std::string &path) {
    Wav wav;
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE" || le32(b, 4) != b.size() - 8) {
        return wav;
    }
    bool format = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        const std::string id(b.begin() + at, b.begin() + at + 4);
        const size_t size = le32(b, at + 4);
        if (at + 8 + size > b.size()) {
            return wav;
        }
        if (id == "fmt " && size >= 16) {
            format = (b[at + 8] | b[at + 9] << 8) == 1; // PCM
            wav.channels = b[at + 10] | b[at + 11] << 8;
            wav.rate = static_cast<int>(le32(b, at + 12));
            wav.bits = b[at + 22] | b[at + 23] << 8;
        } else if (id == "data" && format) {
            for (size_t i = 0; i + 1 < size; i += 2) {
                wav.samples.push_back(static_cast<int16_t>(b[at + 8 + i] | b[at + 9 + i] << 8));
            }
            wav.ok = true;
        }
        at += 8 + size + (size & 1);
    }
    return wav;
}

TEST_F(AssetFolderTest, SoundsAreShortWellFormedWavsThatStartAndEndQuietly) {
    struct Row {
        const char *file;
        bool loops;
        double minSeconds, maxSeconds;
    };
    const Row rows[] = {{"BGM_piano_tick.wav", true, 4, 16},
                        {"Menu_bgm.wav", true, 4, 16},
                        {"game_over_overlay.wav", false, 0.5, 4},
                        {"zoom_transition.wav", false, 0.3, 2}};
    for (const Row &row : rows) {
        const Wav wav = readWav(assetDir + "/" + row.file);
        ASSERT_TRUE(wav.ok) << row.file;
        EXPECT_EQ(wav.rate, 44100) << row.file;
        EXPECT_EQ(wav.bits, 16) << row.file;
        ASSERT_TRUE(wav.channels == 1 || wav.channels == 2) << row.file;
        const size_t frames = wav.samples.size() / wav.channels;
        const double seconds = static_cast<double>(frames) / wav.rate;
        EXPECT_GE(seconds, row.minSeconds) << row.file;
        EXPECT_LE(seconds, row.maxSeconds) << row.file;
        int peak = 0;
        double step = 0; // mean size of one sample-to-sample step
        for (size_t i = 0; i < wav.samples.size(); ++i) {
            peak = std::max(peak, std::abs(static_cast<int>(wav.samples[i])));
            if (i >= static_cast<size_t>(wav.channels)) {
                step += std::abs(wav.samples[i] - wav.samples[i - wav.channels]);
            }
        }
        step /= static_cast<double>(wav.samples.size());
        EXPECT_GT(peak, 8000) << row.file << " is nearly silent";
        EXPECT_LT(peak, 32767) << row.file << " clips";
        for (int c = 0; c < wav.channels; ++c) {
            const int first = wav.samples[c];
            const int last = wav.samples[wav.samples.size() - wav.channels + c];
            if (row.loops) {
                // Played end to end, the seam must be no bigger than a usual step.
                EXPECT_LE(std::abs(last - first), 3 * step + 16)
                    << row.file << " clicks at the seam";
            } else {
                EXPECT_LE(std::abs(first), 64) << row.file << " starts with a click";
                EXPECT_LE(std::abs(last), 64) << row.file << " is cut off";
            }
        }
    }
}

} // namespace

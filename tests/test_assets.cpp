// The loaders against folders the tests make themselves: every file lands
// in its slot, the colour keys apply where they should, and a missing or
// broken file leaves an empty slot and one line on standard error.
#include <gtest/gtest.h>

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "render/screens.h"
#include "shell/assets.h"
#include "shell/mouse_sprites.h"
#include "support/same_bytes.h"

namespace {

enum class KeyedOn { Nothing, Black, Blue };

struct SlotRow {
    const char *file;             // as it lies on disk
    ALLEGRO_BITMAP *(*picture)(); // where it must land
    KeyedOn key;                  // which colour turns transparent
};

// Every picture, in no particular order: the marker pixel, not the
// position in this table, says which file a slot holds.
const SlotRow slotRows[] = {
    {"clock.png", [] { return assets.clock; }, KeyedOn::Black},
    {"zubg.png", [] { return assets.background; }, KeyedOn::Nothing},
    {"warning1.png", [] { return assets.warning[0]; }, KeyedOn::Nothing},
    {"warning2.png", [] { return assets.warning[1]; }, KeyedOn::Nothing},
    {"warning3.png", [] { return assets.warning[2]; }, KeyedOn::Nothing},
    {"mouse_run0001.png", [] { return mouseSprite(0); }, KeyedOn::Blue},
    {"mouse_run0002.png", [] { return mouseSprite(1); }, KeyedOn::Blue},
    {"mouse_run0003.png", [] { return mouseSprite(2); }, KeyedOn::Blue},
    {"mouse_run0004.png", [] { return mouseSprite(3); }, KeyedOn::Blue},
    {"clockhand.png", [] { return assets.clockHand; }, KeyedOn::Black},
    {"startmenu/startmenu06.png", [] { return assets.menuFrames[0]; }, KeyedOn::Nothing},
    {"startmenu/startmenu07.png", [] { return assets.menuFrames[1]; }, KeyedOn::Nothing},
    {"startmenu/startmenu00.png", [] { return assets.menuFrames[2]; }, KeyedOn::Nothing},
    {"startmenu/startmenu01.png", [] { return assets.menuFrames[3]; }, KeyedOn::Nothing},
    {"startmenu/startmenu02.png", [] { return assets.menuFrames[4]; }, KeyedOn::Nothing},
    {"startmenu/startmenu03.png", [] { return assets.menuFrames[5]; }, KeyedOn::Nothing},
    {"startmenu/startmenu04.png", [] { return assets.menuFrames[6]; }, KeyedOn::Nothing},
    {"startmenu/startmenu05.png", [] { return assets.menuFrames[7]; }, KeyedOn::Nothing},
    {"messages/msg2.png", [] { return assets.messages[0]; }, KeyedOn::Nothing},
    {"messages/msg3.png", [] { return assets.messages[1]; }, KeyedOn::Nothing},
    {"messages/msg4.png", [] { return assets.messages[2]; }, KeyedOn::Nothing},
    {"messages/msg8.png", [] { return assets.messages[3]; }, KeyedOn::Nothing},
    {"messages/msg9.png", [] { return assets.messages[4]; }, KeyedOn::Nothing},
    {"messages/msg10.png", [] { return assets.messages[5]; }, KeyedOn::Nothing},
    {"messages/msg11.png", [] { return assets.messages[6]; }, KeyedOn::Nothing},
    {"messages/msg12.png", [] { return assets.messages[7]; }, KeyedOn::Nothing},
    {"messages/msg13.png", [] { return assets.messages[8]; }, KeyedOn::Nothing},
    {"messages/msg14.png", [] { return assets.messages[9]; }, KeyedOn::Nothing},
    {"messages/msg15.png", [] { return assets.messages[10]; }, KeyedOn::Nothing},
    {"messages/msg16.png", [] { return assets.messages[11]; }, KeyedOn::Nothing},
    {"messages/msg17.png", [] { return assets.messages[12]; }, KeyedOn::Nothing},
};
constexpr int rowCount = sizeof slotRows / sizeof slotRows[0];

// Pixel (1, 1) carries the row number in red; (0, 0) is pure blue and
// (2, 2) pure black, the two key colours.
void writeMarkedPicture(const std::string &path, int marker) {
    ALLEGRO_BITMAP *bitmap = al_create_bitmap(4, 4);
    al_set_target_bitmap(bitmap);
    al_clear_to_color(al_map_rgb(0, 0, 255));
    al_put_pixel(1, 1, al_map_rgb(marker, 77, 99));
    al_put_pixel(2, 2, al_map_rgb(0, 0, 0));
    al_set_target_bitmap(nullptr);
    ASSERT_TRUE(al_save_bitmap(path.c_str(), bitmap)) << path;
    al_destroy_bitmap(bitmap);
}

void writeFile(const std::string &path, const std::string &content) {
    FILE *file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
}

class LoadTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(al_install_system(ALLEGRO_VERSION_INT, atexit));
        ASSERT_TRUE(al_init_image_addon());
    }

    void SetUp() override {
        al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
        char pattern[] = "/tmp/clockmaze-assets-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        ASSERT_TRUE(al_make_directory((folder + "/startmenu").c_str()));
        ASSERT_TRUE(al_make_directory((folder + "/messages").c_str()));
        for (int i = 0; i < rowCount; ++i) {
            writeMarkedPicture(folder + "/" + slotRows[i].file, i + 1);
        }
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        previous = here;
        assets = AssetSet{};
    }

    void TearDown() override {
        ASSERT_EQ(chdir(previous.c_str()), 0);
        std::system(("rm -rf '" + folder + "'").c_str());
    }

    // Runs a loader from inside the folder, as the game runs from its own.
    template <typename Loader> void loadFromFolder(Loader loader) {
        ASSERT_EQ(chdir(folder.c_str()), 0);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        loader();
        err = testing::internal::GetCapturedStderr();
        out = testing::internal::GetCapturedStdout();
        ASSERT_EQ(chdir(previous.c_str()), 0);
    }

    std::string folder;
    std::string previous;
    std::string err; // what the loader wrote on standard error
    std::string out; // what the loader wrote on standard output
};

int redAt(ALLEGRO_BITMAP *bitmap, int x, int y) {
    unsigned char r, g, b;
    al_unmap_rgb(al_get_pixel(bitmap, x, y), &r, &g, &b);
    return r;
}

int alphaAt(ALLEGRO_BITMAP *bitmap, int x, int y) {
    unsigned char r, g, b, a;
    al_unmap_rgba(al_get_pixel(bitmap, x, y), &r, &g, &b, &a);
    return a;
}

TEST_F(LoadTest, EveryFileLandsInItsSlotWithItsColourKey) {
    loadFromFolder(loadImages);
    EXPECT_EQ(err, "");
    EXPECT_EQ(out, "");
    for (int i = 0; i < rowCount; ++i) {
        const SlotRow &row = slotRows[i];
        ALLEGRO_BITMAP *bitmap = row.picture();
        ASSERT_NE(bitmap, nullptr) << row.file;
        EXPECT_EQ(redAt(bitmap, 1, 1), i + 1) << row.file << " is not in its slot";
        EXPECT_EQ(alphaAt(bitmap, 1, 1), 255) << row.file;
        EXPECT_EQ(alphaAt(bitmap, 0, 0), row.key == KeyedOn::Blue ? 0 : 255)
            << row.file << ": blue (0, 0, 255)";
        EXPECT_EQ(alphaAt(bitmap, 2, 2), row.key == KeyedOn::Black ? 0 : 255)
            << row.file << ": black (0, 0, 0)";
    }
}

TEST_F(LoadTest, ABrokenPictureLeavesOnlyItsSlotEmptyAndSaysWhich) {
    enum class Fault { Missing, NotAPicture, Empty };
    struct Row {
        int row;     // which slotRows entry to break
        Fault fault; // how
    };
    const Row rows[] = {{0, Fault::Missing},      {5, Fault::NotAPicture},  {9, Fault::Empty},
                        {10, Fault::Missing},     {17, Fault::NotAPicture}, {18, Fault::Missing},
                        {30, Fault::NotAPicture}, {3, Fault::Empty}};
    for (const Row &broken : rows) {
        const std::string file = slotRows[broken.row].file;
        const std::string path = folder + "/" + file;
        if (broken.fault == Fault::Missing) {
            std::remove(path.c_str());
        } else {
            writeFile(path, broken.fault == Fault::Empty ? "" : "this is not a PNG file\n");
        }
        assets = AssetSet{};
        loadFromFolder(loadImages);
        EXPECT_EQ(err, "clockmaze: cannot load picture \"" + file + "\"\n") << file;
        EXPECT_EQ(out, "") << "standard output is kept for the sound report";
        for (int i = 0; i < rowCount; ++i) {
            if (i == broken.row) {
                EXPECT_EQ(slotRows[i].picture(), nullptr) << file;
            } else {
                EXPECT_NE(slotRows[i].picture(), nullptr) << slotRows[i].file << " with " << file;
            }
        }
        writeMarkedPicture(path, broken.row + 1);
    }
}

TEST_F(LoadTest, EveryPictureMissingStillReturnsWithEverySlotEmpty) {
    std::system(("rm -rf '" + folder + "'/*").c_str());
    loadFromFolder(loadImages);
    for (const SlotRow &row : slotRows) {
        EXPECT_EQ(row.picture(), nullptr) << row.file;
        EXPECT_NE(err.find(std::string("\"") + row.file + "\"\n"), std::string::npos) << row.file;
    }
    EXPECT_EQ(out, "");
}

// Colours next to the two keys, and the keys themselves half transparent:
// only an opaque pixel of exactly the key colour may turn transparent.
void writeNearKeyPicture(const std::string &path) {
    const int colours[][4] = {{0, 0, 0, 255},   {1, 1, 1, 255},   {0, 0, 1, 255},
                              {1, 0, 0, 255},   {0, 0, 0, 128},   {0, 0, 255, 255},
                              {0, 0, 254, 255}, {1, 0, 255, 255}, {0, 1, 255, 255},
                              {0, 0, 255, 200}, {9, 90, 200, 255}};
    ALLEGRO_BITMAP *bitmap = al_create_bitmap(11, 3);
    al_set_target_bitmap(bitmap);
    al_clear_to_color(al_map_rgb(50, 60, 70));
    for (int x = 0; x < 11; ++x) {
        const int *c = colours[x];
        al_put_pixel(x, 1, al_map_rgba(c[0], c[1], c[2], c[3]));
    }
    al_set_target_bitmap(nullptr);
    ASSERT_TRUE(al_save_bitmap(path.c_str(), bitmap)) << path;
    al_destroy_bitmap(bitmap);
}

// The loader keys pictures its own, faster way: on pictures of colours next
// to the keys, and on the real pictures with their near-black strokes, the
// result must be what the library's al_convert_mask_to_alpha makes.
TEST_F(LoadTest, KeyedPicturesAreWhatTheLibraryKeyingMakes) {
    for (const SlotRow &row : slotRows) {
        writeNearKeyPicture(folder + "/" + row.file);
    }
    for (const char *dir : {folder.c_str(), CLOCKMAZE_ASSET_DIR}) {
        ASSERT_EQ(chdir(dir), 0);
        assets = AssetSet{};
        loadImages();
        for (const SlotRow &row : slotRows) {
            if (row.key == KeyedOn::Nothing) {
                continue;
            }
            ALLEGRO_BITMAP *plain = al_load_bitmap_flags(row.file, ALLEGRO_NO_PREMULTIPLIED_ALPHA);
            ASSERT_NE(plain, nullptr) << row.file;
            al_convert_mask_to_alpha(plain, row.key == KeyedOn::Blue ? al_map_rgb(0, 0, 255)
                                                                     : al_map_rgb(0, 0, 0));
            EXPECT_TRUE(sameBytes(row.picture(), plain)) << dir << "/" << row.file;
            al_destroy_bitmap(plain);
        }
    }
}

// The two most urgent backgrounds are kept without their middle, which the
// resting clock covers: drawn, they must be the whole picture everywhere
// else, and leave the middle alone.
TEST_F(LoadTest, UrgentBackgroundsAreWholeRoundTheRestingClock) {
    ASSERT_EQ(chdir(CLOCKMAZE_ASSET_DIR), 0);
    assets = AssetSet{};
    loadImages();
    const ScreenBox middle = clockRestCover();
    ASSERT_FALSE(isEmpty(middle));
    ALLEGRO_BITMAP *frame = al_create_bitmap(800, 600);
    for (int k = 1; k < 3; ++k) {
        ASSERT_TRUE(assets.warningCut[k]) << "warning" << k + 1;
        EXPECT_LT(al_get_bitmap_width(assets.warning[k]) * al_get_bitmap_height(assets.warning[k]),
                  800 * 600 * 7 / 10)
            << "the strips take less than the picture";
        al_set_target_bitmap(frame);
        al_clear_to_color(al_map_rgb(255, 0, 255));
        drawBackdropPicture(assets.warning[k]);
        ALLEGRO_BITMAP *whole = al_load_bitmap(k == 1 ? "warning2.png" : "warning3.png");
        ASSERT_NE(whole, nullptr);
        int wrong = 0, drawnInMiddle = 0;
        for (int y = 0; y < 600; ++y) {
            for (int x = 0; x < 800; ++x) {
                const bool inMiddle =
                    x >= middle.x0 && x < middle.x1 && y >= middle.y0 && y < middle.y1;
                unsigned char r, g, b, wr, wg, wb;
                al_unmap_rgb(al_get_pixel(frame, x, y), &r, &g, &b);
                al_unmap_rgb(al_get_pixel(whole, x, y), &wr, &wg, &wb);
                if (inMiddle) {
                    drawnInMiddle += !(r == 255 && g == 0 && b == 255);
                } else {
                    wrong += r != wr || g != wg || b != wb;
                }
            }
        }
        EXPECT_EQ(wrong, 0) << "warning" << k + 1 << " differs round the middle";
        EXPECT_EQ(drawnInMiddle, 0) << "warning" << k + 1;
        al_destroy_bitmap(whole);
    }
    EXPECT_FALSE(assets.warningCut[0]) << "the first warning shows behind the opening zoom";
    al_set_target_bitmap(nullptr);
    al_destroy_bitmap(frame);
}

// What the title shows for a slot, or for a file drawn whole (black when
// it does not load), as an 800x600 memory bitmap.
ALLEGRO_BITMAP *titleShown(int slot, const char *file) {
    ALLEGRO_BITMAP *frame = al_create_bitmap(800, 600);
    al_set_target_bitmap(frame);
    al_clear_to_color(al_map_rgb(0, 0, 0));
    if (!file) {
        drawTitlePicture(slot);
    } else if (ALLEGRO_BITMAP *whole = al_load_bitmap_flags(file, ALLEGRO_NO_PREMULTIPLIED_ALPHA)) {
        al_draw_bitmap(whole, 0.0f, 0.0f, 0);
        al_destroy_bitmap(whole);
    }
    al_set_target_bitmap(nullptr);
    return frame;
}

// The real title pictures, each slot kept as patches over the first: when
// one fails to load, or the first cannot serve as the base, every slot must
// still show its own file whole, and a broken slot nothing of it.
TEST_F(LoadTest, TitleSlotsShowTheirOwnPictureWhateverFails) {
    enum class Fault { None, Missing, NotAPicture, OtherSize };
    struct Row {
        const char *what;
        int row;     // which slotRows entry (a title picture) to break
        Fault fault; // how
    };
    const Row rows[] = {{"all loaded", 10, Fault::None},
                        {"first missing", 10, Fault::Missing},
                        {"first of another size", 10, Fault::OtherSize},
                        {"one in the middle missing", 13, Fault::Missing},
                        {"the last not a picture", 17, Fault::NotAPicture},
                        {"one of another size", 12, Fault::OtherSize}};
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    for (const Row &row : rows) {
        for (int i = 10; i <= 17; ++i) {
            const std::string from = std::string(CLOCKMAZE_ASSET_DIR) + "/" + slotRows[i].file;
            ASSERT_EQ(std::system(("cp '" + from + "' '" + folder + "/startmenu/'").c_str()), 0);
        }
        const std::string path = folder + "/" + slotRows[row.row].file;
        if (row.fault == Fault::Missing) {
            std::remove(path.c_str());
        } else if (row.fault == Fault::NotAPicture) {
            writeFile(path, "this is not a PNG file\n");
        } else if (row.fault == Fault::OtherSize) {
            writeMarkedPicture(path, 200);
        }
        assets = AssetSet{};
        loadFromFolder(loadImages);
        EXPECT_EQ(assets.menuBaseCopy, nullptr) << row.what;
        ASSERT_EQ(chdir(folder.c_str()), 0);
        for (int slot = 0; slot < 8; ++slot) {
            ALLEGRO_BITMAP *shown = titleShown(slot, nullptr);
            ALLEGRO_BITMAP *whole = titleShown(slot, slotRows[10 + slot].file);
            EXPECT_TRUE(sameBytes(shown, whole)) << row.what << ": slot " << slot;
            al_destroy_bitmap(shown);
            al_destroy_bitmap(whole);
        }
        ASSERT_EQ(chdir(previous.c_str()), 0);
    }
}

// A message keeps the box of its pixels with any alpha at all, wherever in
// the file they are; one with none keeps a single transparent pixel.
TEST_F(LoadTest, MessagesKeepTheBoxOfTheirVisiblePixels) {
    struct Row {
        const char *what;
        int pixels[2][3]; // two pixels put on a transparent 60x20: x, y, alpha (0: none)
        int box[4];       // left, top, width, height expected
    };
    const Row rows[] = {{"two opaque pixels", {{4, 3, 255}, {55, 16, 255}}, {4, 3, 52, 14}},
                        {"the corners, barely there", {{0, 0, 1}, {59, 19, 1}}, {0, 0, 60, 20}},
                        {"one pixel", {{7, 9, 128}, {0, 0, 0}}, {7, 9, 1, 1}},
                        {"nothing shows", {{0, 0, 0}, {0, 0, 0}}, {0, 0, 1, 1}}};
    for (const Row &row : rows) {
        ALLEGRO_BITMAP *picture = al_create_bitmap(60, 20);
        al_set_target_bitmap(picture);
        al_clear_to_color(al_map_rgba(90, 80, 70, 0));
        for (const auto &p : row.pixels) {
            if (p[2] != 0) {
                al_put_pixel(p[0], p[1], al_map_rgba(200, 100, 50, p[2]));
            }
        }
        al_set_target_bitmap(nullptr);
        ASSERT_TRUE(al_save_bitmap((folder + "/messages/msg9.png").c_str(), picture));
        al_destroy_bitmap(picture);
        assets = AssetSet{};
        loadFromFolder(loadImages);
        ALLEGRO_BITMAP *kept = assets.messages[4];
        ASSERT_NE(kept, nullptr) << row.what;
        EXPECT_EQ(assets.messageOffsets[4].x, row.box[0]) << row.what;
        EXPECT_EQ(assets.messageOffsets[4].y, row.box[1]) << row.what;
        EXPECT_EQ(al_get_bitmap_width(kept), row.box[2]) << row.what;
        EXPECT_EQ(al_get_bitmap_height(kept), row.box[3]) << row.what;
        const int last = row.pixels[1][2] != 0 ? 1 : 0; // the pixel at the far corner
        EXPECT_EQ(alphaAt(kept, row.box[2] - 1, row.box[3] - 1), row.pixels[last][2]) << row.what;
    }
}

TEST_F(LoadTest, FontLoadsAtSize28OrLeavesTheSlotEmpty) {
    struct Row {
        const char *what;
        const char *content; // file content; nullptr for no file; a path when `loads`
        bool loads;
    };
    const Row rows[] = {{"the real font", CLOCKMAZE_TEST_FONT, true},
                        {"no font file", nullptr, false},
                        {"a file that is not a font", "not a TrueType font", false}};
    for (const Row &row : rows) {
        const std::string path = folder + "/arialbd.ttf";
        std::remove(path.c_str());
        if (row.loads) {
            ASSERT_EQ(std::system(("cp '" + std::string(row.content) + "' '" + path + "'").c_str()),
                      0);
        } else if (row.content) {
            writeFile(path, row.content);
        }
        assets.font = nullptr;
        loadFromFolder(loadFont);
        EXPECT_EQ(assets.font != nullptr, row.loads) << row.what;
        EXPECT_EQ(out, "") << row.what;
        if (row.loads && assets.font) {
            // Liberation Sans Bold at 28: digits about 20 px tall, lines about 32.
            EXPECT_NEAR(al_get_font_line_height(assets.font), 32, 2) << row.what;
            EXPECT_NEAR(al_get_text_width(assets.font, "0123456789"), 156, 4) << row.what;
        }
    }
}

} // namespace

// The loaders against folders the tests make themselves: every file lands
// in its slot, the colour keys apply where they should, and a missing or
// broken file leaves an empty slot and one line on standard error.
#include <gtest/gtest.h>

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "shell/assets.h"

namespace {

namespace fs = std::filesystem;

enum class KeyedOn { Nothing, Black, Blue };

struct SlotRow {
    const char *file;             // as it lies on disk
    ALLEGRO_BITMAP *(*picture)(); // where it must land
    KeyedOn key;                  // which colour turns transparent
    int width, height;            // the size the game draws it at
};

// Every picture, in no particular order: the marker pixel, not the
// position in this table, says which file a slot holds.
const SlotRow slotRows[] = {
    {"clock.png", [] { return assets.clock; }, KeyedOn::Black, 600, 600},
    {"zubg.png", [] { return assets.background; }, KeyedOn::Nothing, 800, 600},
    {"warning1.png", [] { return assets.warning[0]; }, KeyedOn::Nothing, 800, 600},
    {"warning2.png", [] { return assets.warning[1]; }, KeyedOn::Nothing, 800, 600},
    {"warning3.png", [] { return assets.warning[2]; }, KeyedOn::Nothing, 800, 600},
    {"mouse_run0001.png", [] { return assets.mouseFrames[0]; }, KeyedOn::Blue, 600, 600},
    {"mouse_run0002.png", [] { return assets.mouseFrames[1]; }, KeyedOn::Blue, 600, 600},
    {"mouse_run0003.png", [] { return assets.mouseFrames[2]; }, KeyedOn::Blue, 600, 600},
    {"mouse_run0004.png", [] { return assets.mouseFrames[3]; }, KeyedOn::Blue, 600, 600},
    {"clockhand.png", [] { return assets.clockHand; }, KeyedOn::Black, 70, 380},
    {"startmenu/startmenu06.png", [] { return assets.menuFrames[0]; }, KeyedOn::Nothing, 800, 600},
    {"startmenu/startmenu07.png", [] { return assets.menuFrames[1]; }, KeyedOn::Nothing, 800, 600},
    {"startmenu/startmenu00.png", [] { return assets.menuFrames[2]; }, KeyedOn::Nothing, 800, 600},
    {"startmenu/startmenu01.png", [] { return assets.menuFrames[3]; }, KeyedOn::Nothing, 800, 600},
    {"startmenu/startmenu02.png", [] { return assets.menuFrames[4]; }, KeyedOn::Nothing, 800, 600},
    {"startmenu/startmenu03.png", [] { return assets.menuFrames[5]; }, KeyedOn::Nothing, 800, 600},
    {"startmenu/startmenu04.png", [] { return assets.menuFrames[6]; }, KeyedOn::Nothing, 800, 600},
    {"startmenu/startmenu05.png", [] { return assets.menuFrames[7]; }, KeyedOn::Nothing, 800, 600},
    {"messages/msg2.png", [] { return assets.messages[0]; }, KeyedOn::Nothing, 600, 200},
    {"messages/msg3.png", [] { return assets.messages[1]; }, KeyedOn::Nothing, 600, 200},
    {"messages/msg4.png", [] { return assets.messages[2]; }, KeyedOn::Nothing, 600, 200},
    {"messages/msg8.png", [] { return assets.messages[3]; }, KeyedOn::Nothing, 600, 200},
    {"messages/msg9.png", [] { return assets.messages[4]; }, KeyedOn::Nothing, 600, 200},
    {"messages/msg10.png", [] { return assets.messages[5]; }, KeyedOn::Nothing, 600, 200},
    {"messages/msg11.png", [] { return assets.messages[6]; }, KeyedOn::Nothing, 600, 200},
    {"messages/msg12.png", [] { return assets.messages[7]; }, KeyedOn::Nothing, 600, 200},
    {"messages/msg13.png", [] { return assets.messages[8]; }, KeyedOn::Nothing, 600, 200},
    {"messages/msg14.png", [] { return assets.messages[9]; }, KeyedOn::Nothing, 600, 200},
    {"messages/msg15.png", [] { return assets.messages[10]; }, KeyedOn::Nothing, 600, 200},
    {"messages/msg16.png", [] { return assets.messages[11]; }, KeyedOn::Nothing, 600, 200},
    {"messages/msg17.png", [] { return assets.messages[12]; }, KeyedOn::Nothing, 600, 200},
};
constexpr int rowCount = sizeof slotRows / sizeof slotRows[0];

// Pixel (1, 1) carries the row number in red; (0, 0) is pure blue and
// (2, 2) pure black, the two key colours.
void writeMarkedPicture(const std::string &path, int marker, int width, int height) {
    ALLEGRO_BITMAP *bitmap = al_create_bitmap(width, height);
    al_set_target_bitmap(bitmap);
    al_clear_to_color(al_map_rgb(0, 0, 255));
    al_put_pixel(1, 1, al_map_rgb(marker, 77, 99));
    al_put_pixel(2, 2, al_map_rgb(0, 0, 0));
    al_set_target_bitmap(nullptr);
    ASSERT_TRUE(al_save_bitmap(path.c_str(), bitmap)) << path;
    al_destroy_bitmap(bitmap);
}

// A file name as the loaders spell it on this platform.
std::string native(std::string file) {
    for (char &c : file) {
        c = c == '/' ? ALLEGRO_NATIVE_PATH_SEP : c;
    }
    return file;
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
        // A folder of its own: the cases may run side by side.
        std::random_device random;
        fs::path made;
        do {
            made = fs::temp_directory_path() / ("clockmaze-assets-" + std::to_string(random()));
        } while (!fs::create_directory(made));
        folder = made.string();
        ASSERT_TRUE(al_make_directory((folder + "/startmenu").c_str()));
        ASSERT_TRUE(al_make_directory((folder + "/messages").c_str()));
        for (int i = 0; i < rowCount; ++i) {
            writeMarkedPicture(folder + "/" + slotRows[i].file, i + 1, slotRows[i].width,
                               slotRows[i].height);
        }
        previous = fs::current_path();
        assets = AssetSet{};
    }

    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(folder);
    }

    void emptyFolder() {
        for (const fs::directory_entry &entry : fs::directory_iterator(folder)) {
            fs::remove_all(entry.path());
        }
    }

    // Runs a loader from inside the folder, as the game runs from its own.
    template <typename Loader> void loadFromFolder(Loader loader) {
        fs::current_path(folder);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        loader();
        err = testing::internal::GetCapturedStderr();
        out = testing::internal::GetCapturedStdout();
        fs::current_path(previous);
    }

    std::string folder;
    fs::path previous;
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

// A picture of another size than the game draws is refused like an
// unreadable one, and says what it is and what was expected.
TEST_F(LoadTest, ABrokenPictureLeavesOnlyItsSlotEmptyAndSaysWhich) {
    enum class Fault { Missing, NotAPicture, Empty, OtherSize, HugeHeader };
    struct Row {
        int row;     // which slotRows entry to break
        Fault fault; // how
        const char *says;
    };
    const Row rows[] = {
        {0, Fault::Missing, "cannot load picture \"clock.png\""},
        {5, Fault::NotAPicture, "cannot load picture \"mouse_run0001.png\""},
        {9, Fault::Empty, "cannot load picture \"clockhand.png\""},
        {10, Fault::Missing, "cannot load picture \"startmenu/startmenu06.png\""},
        {18, Fault::OtherSize, "picture \"messages/msg2.png\" is 30x20, expected 600x200"},
        {1, Fault::OtherSize, "picture \"zubg.png\" is 1600x1200, expected 800x600"},
        // Refused on its header alone: decoding it would take gigabytes.
        {2, Fault::HugeHeader, "picture \"warning1.png\" is 20000x20000, expected 800x600"},
        {30, Fault::NotAPicture, "cannot load picture \"messages/msg17.png\""},
    };
    for (const Row &broken : rows) {
        const SlotRow &slot = slotRows[broken.row];
        const std::string path = folder + "/" + slot.file;
        if (broken.fault == Fault::Missing) {
            std::remove(path.c_str());
        } else if (broken.fault == Fault::OtherSize) {
            writeMarkedPicture(path, broken.row + 1, broken.row == 1 ? 1600 : 30,
                               broken.row == 1 ? 1200 : 20);
        } else if (broken.fault == Fault::HugeHeader) {
            writeFile(path, std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x4e\x20\0\0\x4e\x20"
                                        "\x08\x02\0\0\0",
                                        29) +
                                "and then no picture at all");
        } else {
            writeFile(path, broken.fault == Fault::Empty ? "" : "this is not a PNG file\n");
        }
        assets = AssetSet{};
        loadFromFolder(loadImages);
        EXPECT_EQ(err, native(std::string("clockmaze: ") + broken.says + "\n")) << slot.file;
        EXPECT_EQ(out, "") << "standard output is kept for the sound report";
        for (int i = 0; i < rowCount; ++i) {
            if (i == broken.row) {
                EXPECT_EQ(slotRows[i].picture(), nullptr) << slot.file;
            } else {
                EXPECT_NE(slotRows[i].picture(), nullptr)
                    << slotRows[i].file << " with " << slot.file;
            }
        }
        writeMarkedPicture(path, broken.row + 1, slot.width, slot.height);
    }
}

TEST_F(LoadTest, EveryPictureMissingStillReturnsWithEverySlotEmpty) {
    emptyFolder();
    loadFromFolder(loadImages);
    for (const SlotRow &row : slotRows) {
        EXPECT_EQ(row.picture(), nullptr) << row.file;
        EXPECT_NE(err.find("\"" + native(row.file) + "\"\n"), std::string::npos) << row.file;
    }
    EXPECT_EQ(out, "");
}

// The working directory serves when it holds nearly all the game's files,
// and what it lacks is named. Holding none, with no game folder beside the
// test program either, one line names every folder tried.
TEST_F(LoadTest, TheFolderHoldsNearlyAllTheFilesAndWhatItLacksIsNamed) {
    assetRoot = "elsewhere/";
    loadFromFolder(chooseAssetRoot);
    EXPECT_EQ(assetRoot, "");
    EXPECT_EQ(err, "clockmaze: missing from " + folder +
                       ": arialbd.ttf, BGM_piano_tick.wav, Menu_bgm.wav, "
                       "game_over_overlay.wav, zoom_transition.wav\n");
    EXPECT_EQ(foldersSearched, folder + "\n");

    emptyFolder();
    loadFromFolder(chooseAssetRoot);
    EXPECT_EQ(assetRoot, "");
    // Beside the program: the build's folder, and the install's where this
    // platform installs the files apart from the program (not on Windows).
    ALLEGRO_PATH *program = al_get_standard_path(ALLEGRO_RESOURCES_PATH);
    const std::string beside = al_path_cstr(program, ALLEGRO_NATIVE_PATH_SEP);
    al_destroy_path(program);
    const std::string build = beside + native("assets/");
    const std::string install = beside + native(CLOCKMAZE_INSTALLED_ASSETS);
    const bool installs = *CLOCKMAZE_INSTALLED_ASSETS != '\0';
    EXPECT_EQ(err, "clockmaze: none of the game's files in " + folder +
                       (installs ? ", " + build + " or " + install : " or " + build) + "\n");
    EXPECT_EQ(foldersSearched, folder + "\n" + build + "\n" + (installs ? install + "\n" : ""));
}

TEST_F(LoadTest, FontLoadsAtSize28OrLeavesTheSlotEmpty) {
    struct Row {
        const char *what;
        const char *content; // file content; nullptr for no file; the real font when `real`
        bool real;
        bool loads;
    };
    // A font cut short loads without a word, but draws nothing.
    const Row rows[] = {{"the real font", CLOCKMAZE_TEST_FONT, true, true},
                        {"the real font cut to 20,000 bytes", CLOCKMAZE_TEST_FONT, true, false},
                        {"no font file", nullptr, false, false},
                        {"a file that is not a font", "not a TrueType font", false, false}};
    for (const Row &row : rows) {
        const std::string path = folder + "/arialbd.ttf";
        std::remove(path.c_str());
        if (row.real) {
            std::ifstream font(row.content, std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(font)),
                              std::istreambuf_iterator<char>());
            ASSERT_GT(bytes.size(), 20000u) << row.content;
            writeFile(path, row.loads ? bytes : bytes.substr(0, 20000));
        } else if (row.content) {
            writeFile(path, row.content);
        }
        loadFromFolder(loadFont);
        EXPECT_EQ(assets.font != nullptr, row.loads) << row.what;
        EXPECT_EQ(err, row.loads
                           ? ""
                           : "clockmaze: cannot load font \"arialbd.ttf\"; scores will not show\n")
            << row.what;
        EXPECT_EQ(out, "") << row.what;
        if (row.loads && assets.font) {
            // Liberation Sans Bold at 28: digits about 20 px tall, lines about 32.
            EXPECT_NEAR(al_get_font_line_height(assets.font), 32, 2) << row.what;
            EXPECT_NEAR(al_get_text_width(assets.font, "0123456789"), 156, 4) << row.what;
        }
        // A loaded font holds its file open, which Windows would not let go.
        if (assets.font) {
            al_destroy_font(assets.font);
            assets.font = nullptr;
        }
    }
}

} // namespace

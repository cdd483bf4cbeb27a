// The asset catalogue: which file goes into which slot, with which colour
// key, and the loaders that read them.
#include "shell/assets.h"

#include <allegro5/allegro_ttf.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "audio/audio.h"

std::string assetRoot;
AssetSet assets;
LoadProblems loadProblems;
int picturesLoaded = 0;

namespace {

enum class Key { None, Black, Blue };

struct PictureFile {
    const char *name;      // as the game writes it, backslash before the file
    ALLEGRO_BITMAP **slot; // where it lands
    Key key;               // the colour made transparent
    int width, height;     // what the drawing expects, pixels
};

// The title pictures come first, in slot order, so that the title can show
// as soon as its first picture is in; then the rest, in catalogue order.
// The messages are numbered 2 to 17 without 5, 6 and 7.
const PictureFile catalogue[pictureCount] = {
    {"startmenu\\startmenu06.png", &assets.menuFrames[0], Key::None, 800, 600},
    {"startmenu\\startmenu07.png", &assets.menuFrames[1], Key::None, 800, 600},
    {"startmenu\\startmenu00.png", &assets.menuFrames[2], Key::None, 800, 600},
    {"startmenu\\startmenu01.png", &assets.menuFrames[3], Key::None, 800, 600},
    {"startmenu\\startmenu02.png", &assets.menuFrames[4], Key::None, 800, 600},
    {"startmenu\\startmenu03.png", &assets.menuFrames[5], Key::None, 800, 600},
    {"startmenu\\startmenu04.png", &assets.menuFrames[6], Key::None, 800, 600},
    {"startmenu\\startmenu05.png", &assets.menuFrames[7], Key::None, 800, 600},
    {"clock.png", &assets.clock, Key::Black, 600, 600},
    {"warning1.png", &assets.warning[0], Key::None, 800, 600},
    {"warning2.png", &assets.warning[1], Key::None, 800, 600},
    {"warning3.png", &assets.warning[2], Key::None, 800, 600},
    {"zubg.png", &assets.background, Key::None, 800, 600},
    {"mouse_run0001.png", &assets.mouseFrames[0], Key::Blue, 600, 600},
    {"mouse_run0002.png", &assets.mouseFrames[1], Key::Blue, 600, 600},
    {"mouse_run0003.png", &assets.mouseFrames[2], Key::Blue, 600, 600},
    {"mouse_run0004.png", &assets.mouseFrames[3], Key::Blue, 600, 600},
    {"clockhand.png", &assets.clockHand, Key::Black, 70, 380},
    {"messages\\msg2.png", &assets.messages[0], Key::None, 600, 200},
    {"messages\\msg3.png", &assets.messages[1], Key::None, 600, 200},
    {"messages\\msg4.png", &assets.messages[2], Key::None, 600, 200},
    {"messages\\msg8.png", &assets.messages[3], Key::None, 600, 200},
    {"messages\\msg9.png", &assets.messages[4], Key::None, 600, 200},
    {"messages\\msg10.png", &assets.messages[5], Key::None, 600, 200},
    {"messages\\msg11.png", &assets.messages[6], Key::None, 600, 200},
    {"messages\\msg12.png", &assets.messages[7], Key::None, 600, 200},
    {"messages\\msg13.png", &assets.messages[8], Key::None, 600, 200},
    {"messages\\msg14.png", &assets.messages[9], Key::None, 600, 200},
    {"messages\\msg15.png", &assets.messages[10], Key::None, 600, 200},
    {"messages\\msg16.png", &assets.messages[11], Key::None, 600, 200},
    {"messages\\msg17.png", &assets.messages[12], Key::None, 600, 200},
};

// The names keep the backslash before the file; on disk the platform's own
// separator stands there.
std::string pathIn(const std::string &folder, const char *name) {
    std::string filename = folder + name;
    for (char &c : filename) {
        if (c == '\\') {
            c = ALLEGRO_NATIVE_PATH_SEP;
        }
    }
    return filename;
}

std::string assetPath(const char *name) { return pathIn(assetRoot, name); }

// A PNG file starts with its signature and then its header chunk, which
// holds the width and height as big-endian 32-bit numbers.
bool readPictureSize(const std::string &filename, int &width, int &height) {
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    unsigned char head[24] = {};
    ALLEGRO_FILE *file = al_fopen(filename.c_str(), "rb");
    if (!file) {
        return false;
    }
    const bool read = al_fread(file, head, sizeof head) == sizeof head;
    al_fclose(file);
    if (!read || std::memcmp(head, signature, 8) != 0 || std::memcmp(head + 12, "IHDR", 4) != 0) {
        return false;
    }
    auto bigEndian = [&](int at) {
        return static_cast<int>((static_cast<uint32_t>(head[at]) << 24 | head[at + 1] << 16 |
                                 head[at + 2] << 8 | head[at + 3]) &
                                0x7fffffffu);
    };
    width = bigEndian(16);
    height = bigEndian(20);
    return true;
}

// A picture that cannot be read leaves its slot empty for the drawing code
// to skip, and says which on standard error (standard output carries the
// sound loader's report).
ALLEGRO_BITMAP *loadPicture(const std::string &filename, int width, int height) {
    // A picture of another size would be drawn out of place, and a huge one
    // would take gigabytes and seconds to decode: its size is read from the
    // file's header, and it is refused before it is decoded.
    int fileWidth = 0, fileHeight = 0;
    if (!readPictureSize(filename, fileWidth, fileHeight)) {
        std::fprintf(stderr, "clockmaze: cannot load picture \"%s\"\n", filename.c_str());
        return nullptr;
    }
    if (fileWidth != width || fileHeight != height) {
        std::fprintf(stderr, "clockmaze: picture \"%s\" is %dx%d, expected %dx%d\n",
                     filename.c_str(), fileWidth, fileHeight, width, height);
        return nullptr;
    }
    ALLEGRO_BITMAP *bitmap = al_load_bitmap_flags(filename.c_str(), ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    if (!bitmap) {
        std::fprintf(stderr, "clockmaze: cannot load picture \"%s\"\n", filename.c_str());
    }
    return bitmap;
}

ALLEGRO_BITMAP *loadPicture(const PictureFile &file) {
    ALLEGRO_BITMAP *bitmap = loadPicture(assetPath(file.name), file.width, file.height);
    if (!bitmap) {
        loadProblems.pictures += 1;
    } else if (file.key == Key::Black) {
        al_convert_mask_to_alpha(bitmap, al_map_rgb(0, 0, 0));
    } else if (file.key == Key::Blue) {
        al_convert_mask_to_alpha(bitmap, al_map_rgb(0, 0, 255));
    }
    return bitmap;
}

// Every file the game reads: the font, the sounds and the pictures.
constexpr int gameFileCount = 1 + soundCount + pictureCount;

// A folder serves when at most this many of the game's files are missing
// from it: a stray file of the same name in the working directory must not
// win over the game's own folder, while a player's deleted sound or two
// must not lose it.
constexpr int fewMissing = gameFileCount / 4;

// The names of the game's files missing from `folder`, in the platform's
// own spelling, separated by ", ".
int countMissing(const std::string &folder, std::string &names) {
    int missing = 0;
    auto check = [&](const char *name) {
        const std::string path = pathIn(folder, name);
        if (!al_filename_exists(path.c_str())) {
            names += (missing++ ? ", " : "") + path.substr(folder.size());
        }
    };
    check("arialbd.ttf");
    for (const char *sound : soundFiles) {
        check(sound);
    }
    for (const PictureFile &file : catalogue) {
        check(file.name);
    }
    return missing;
}

} // namespace

std::string foldersSearched;

// Where an install puts the files, from the program's folder, on the
// platforms that install that way (set by the build; empty elsewhere).
constexpr const char *installedAssets = CLOCKMAZE_INSTALLED_ASSETS;

// The working directory, the build's folder and the install's, in that
// order: the first that holds nearly all the files, or else the one that
// holds the most.
void chooseAssetRoot() {
    ALLEGRO_PATH *exe = al_get_standard_path(ALLEGRO_RESOURCES_PATH);
    const std::string beside = exe ? al_path_cstr(exe, ALLEGRO_NATIVE_PATH_SEP) : "";
    al_destroy_path(exe);
    char *here = al_get_current_directory();
    // The build and the Windows release lay the files out in "assets"
    // beside the game.
    const std::string folders[] = {"", pathIn(beside, "assets\\"), pathIn(beside, installedAssets)};
    const int count = *installedAssets ? 3 : 2;
    const std::string shown[] = {here ? here : ".", folders[1], folders[2]};
    al_free(here);
    int best = -1, bestMissing = gameFileCount;
    std::string bestNames;
    foldersSearched.clear();
    for (int i = 0; i < count && bestMissing > fewMissing; ++i) {
        std::string names;
        const int missing = countMissing(folders[i], names);
        foldersSearched += shown[i] + "\n";
        if (missing < bestMissing) {
            best = i;
            bestMissing = missing;
            bestNames = names;
        }
    }
    if (best < 0) {
        std::string tried;
        for (int i = 0; i < count; ++i) {
            tried += (i ? (i + 1 < count ? ", " : " or ") : "") + shown[i];
        }
        std::fprintf(stderr, "clockmaze: none of the game's files in %s\n", tried.c_str());
        assetRoot.clear();
        return;
    }
    assetRoot = folders[best];
    if (bestMissing > 0) {
        std::fprintf(stderr, "clockmaze: missing from %s: %s\n", shown[best].c_str(),
                     bestNames.c_str());
    }
}

// OpenGL never loses textures, and the game asks for OpenGL on every
// system, so the library need not keep a second copy of each picture
// (30 MB).
static int pictureFlags(int flags) {
    const int smooth = ALLEGRO_MIN_LINEAR | ALLEGRO_MAG_LINEAR;
    return (flags & ~smooth) | ALLEGRO_NO_PRESERVE_TEXTURE | (assets.filtered ? smooth : 0);
}

void loadNextPicture() {
    if (picturesLoaded >= pictureCount) {
        return;
    }
    const PictureFile &file = catalogue[picturesLoaded];
    const int flags = al_get_new_bitmap_flags();
    al_set_new_bitmap_flags(pictureFlags(flags));
    *file.slot = loadPicture(file);
    al_set_new_bitmap_flags(flags);
    picturesLoaded += 1;
}

// Smoothing pays only where the frame is scaled. Unfiltered, an 800x600
// frame stays pixel for pixel what it always was (filtered, the turned hand
// and the shrunken clocks and mouse come out otherwise), and a software
// renderer draws a frame of the zoom with 8 to 9.5 ms of CPU instead of 11.
// Making the pictures again takes 20 to 100 ms, once a switch.
void filterPictures(bool filtered) {
    if (filtered == assets.filtered) {
        return;
    }
    assets.filtered = filtered;
    const int flags = al_get_new_bitmap_flags();
    for (int i = 0; i < picturesLoaded; ++i) {
        ALLEGRO_BITMAP *&slot = *catalogue[i].slot;
        if (!slot) {
            continue;
        }
        al_set_new_bitmap_flags(pictureFlags(al_get_bitmap_flags(slot)));
        if (ALLEGRO_BITMAP *copy = al_clone_bitmap(slot)) {
            al_destroy_bitmap(slot);
            slot = copy;
        }
    }
    al_set_new_bitmap_flags(flags);
}

void loadImages() {
    picturesLoaded = 0;
    loadProblems.pictures = 0;
    while (picturesLoaded < pictureCount) {
        loadNextPicture();
    }
}

// A font file cut short still loads, but its glyphs come out empty.
static bool drawsDigits(const ALLEGRO_FONT *font) {
    for (int digit = '0'; digit <= '9'; ++digit) {
        int x = 0, y = 0, width = 0, height = 0;
        if (!al_get_glyph_dimensions(font, digit, &x, &y, &width, &height) || width <= 0 ||
            height <= 0) {
            return false;
        }
    }
    return true;
}

void loadFont() {
    al_init_font_addon();
    al_init_ttf_addon();
    assets.builtinFont = al_create_builtin_font();
    const std::string filename = assetPath("arialbd.ttf");
    assets.font = al_load_ttf_font(filename.c_str(), fontSize, ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    if (assets.font && !drawsDigits(assets.font)) {
        al_destroy_font(assets.font);
        assets.font = nullptr;
    }
    loadProblems.font = !assets.font;
    if (!assets.font) {
        std::fprintf(stderr, "clockmaze: cannot load font \"%s\"; scores will not show\n",
                     filename.c_str());
    }
}

ALLEGRO_BITMAP *loadIcon() { return loadPicture(assetPath("icon.png"), iconSize, iconSize); }

// Only the frame's scale changes the size: once when the window is resized
// or goes fullscreen. A size that cannot be had falls back to size 28.
ALLEGRO_FONT *fontOfSize(int size) {
    if (!assets.font || size == fontSize) {
        return assets.font;
    }
    if (size != assets.sizedFontSize) {
        al_destroy_font(assets.sizedFont);
        const std::string filename = assetPath("arialbd.ttf");
        assets.sizedFont = al_load_ttf_font(filename.c_str(), size, ALLEGRO_NO_PREMULTIPLIED_ALPHA);
        assets.sizedFontSize = size;
    }
    return assets.sizedFont ? assets.sizedFont : assets.font;
}

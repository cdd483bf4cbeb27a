// Writes what the Windows build's frame test must match: the hash of every
// row of every picture and whole frame the Linux build draws.
// usage: write_frame_reference ASSET_DIR OUT_FILE
#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>

#include <cstdio>
#include <string>

#include "shell/assets.h"
#include "support/frame_reference.h"

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_frame_reference ASSET_DIR OUT_FILE\n");
        return 2;
    }
    if (!al_install_system(ALLEGRO_VERSION_INT, nullptr) || !al_init_image_addon() ||
        !al_init_primitives_addon()) {
        std::fprintf(stderr, "write_frame_reference: cannot start Allegro\n");
        return 1;
    }
    assetRoot = std::string(argv[1]) + "/";
    const std::vector<HashedImage> images = drawReferenceImages();
    for (const HashedImage &image : images) {
        if (image.rows.empty()) {
            std::fprintf(stderr, "write_frame_reference: %s\n", image.name.c_str());
            return 1;
        }
    }
    if (!writeReference(argv[2], images)) {
        std::fprintf(stderr, "write_frame_reference: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

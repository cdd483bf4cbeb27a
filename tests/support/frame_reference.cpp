#include "support/frame_reference.h"

#include <allegro5/allegro_primitives.h>

#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <utility>

#include "game/game_state.h"
#include "render/rest_scene.h"
#include "shell/assets.h"
#include "shell/shell.h"
#include "support/frame_rows.h"
#include "support/plain_frame.h"

HashedImage hashImage(const std::string &name, ALLEGRO_BITMAP *bitmap) {
    HashedImage image{name, al_get_bitmap_width(bitmap), al_get_bitmap_height(bitmap), {}};
    ALLEGRO_LOCKED_REGION *region =
        al_lock_bitmap(bitmap, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
    for (int y = 0; y < image.height; ++y) {
        const auto *row = static_cast<const unsigned char *>(region->data) + y * region->pitch;
        uint64_t hash = 14695981039346656037u; // FNV-1a
        for (int i = 0; i < image.width * 4; ++i) {
            hash = (hash ^ row[i]) * 1099511628211u;
        }
        image.rows.push_back(hash);
    }
    al_unlock_bitmap(bitmap);
    return image;
}

std::vector<HashedImage> drawReferenceImages() {
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    assets = AssetSet{};
    restScene = RestScene{};
    loadImages();
    loadFont();
    std::vector<std::pair<std::string, ALLEGRO_BITMAP *>> pictures = {
        {"clock", assets.clock}, {"background", assets.background}, {"hand", assets.clockHand}};
    for (int i = 0; i < 3; ++i) {
        pictures.push_back({"warning " + std::to_string(i), assets.warning[i]});
    }
    for (int i = 0; i < 4; ++i) {
        pictures.push_back({"mouse " + std::to_string(i), assets.mouseFrames[i]});
    }
    for (int i = 0; i < 8; ++i) {
        pictures.push_back({"title " + std::to_string(i), assets.menuFrames[i]});
    }
    for (int i = 0; i < 13; ++i) {
        pictures.push_back({"message " + std::to_string(i), assets.messages[i]});
    }
    std::vector<HashedImage> images;
    for (const auto &[name, bitmap] : pictures) {
        images.push_back(bitmap ? hashImage(name, bitmap)
                                : HashedImage{name + " (missing)", 0, 0, {}});
    }
    for (const WindowSize &size : windowSizes) {
        ALLEGRO_BITMAP *window = al_create_bitmap(size.width, size.height);
        al_set_target_bitmap(window);
        for (const FrameRow &row : frameRows) {
            levelInPlay();
            row.set();
            renderToWindow();
            images.push_back(hashImage(std::string(row.name) + ", " + std::to_string(size.width) +
                                           "x" + std::to_string(size.height),
                                       window));
        }
        al_set_target_bitmap(nullptr);
        al_destroy_bitmap(window);
    }
    return images;
}

// Two lines an image: its size and name, then the hash of every row.
bool writeReference(const std::string &path, const std::vector<HashedImage> &images) {
    std::ofstream out(path);
    for (const HashedImage &image : images) {
        out << image.width << ' ' << image.height << ' ' << image.name << '\n';
        for (uint64_t hash : image.rows) {
            char hex[20];
            std::snprintf(hex, sizeof hex, "%016" PRIx64 " ", hash);
            out << hex;
        }
        out << '\n';
    }
    out.close();
    return static_cast<bool>(out);
}

std::vector<HashedImage> readReference(const std::string &path) {
    std::ifstream in(path);
    std::vector<HashedImage> images;
    std::string head, hashes;
    while (std::getline(in, head) && std::getline(in, hashes)) {
        HashedImage image;
        std::istringstream fields(head);
        fields >> image.width >> image.height;
        fields.get();
        std::getline(fields, image.name);
        std::istringstream row(hashes);
        for (std::string hex; row >> hex;) {
            image.rows.push_back(std::stoull(hex, nullptr, 16));
        }
        images.push_back(image);
    }
    return images;
}

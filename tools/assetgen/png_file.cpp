// PNG files written for fast loading: the game decodes every picture at
// start-up, and the cost of that is inflating and unfiltering the rows.
// Pictures with no transparent pixel go out as RGB, a quarter less to
// inflate than RGBA; rows are stored unfiltered, which leaves the decoder
// no per-byte prediction to undo and, for these pictures, also makes the
// smallest files at the highest compression level.
#include "art.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

bool opaque(const ALLEGRO_LOCKED_REGION *region, int width, int height) {
    for (int y = 0; y < height; ++y) {
        const auto *row = static_cast<const uint8_t *>(region->data) + y * region->pitch;
        for (int x = 0; x < width; ++x) {
            if (row[4 * x + 3] != 255) {
                return false;
            }
        }
    }
    return true;
}

// libpng reports errors by longjmp; everything it touches is plain data.
bool writeRows(FILE *file, const ALLEGRO_LOCKED_REGION *region, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    const bool rgb = opaque(region, width, height);
    const int channels = rgb ? 3 : 4;
    std::vector<uint8_t> row(static_cast<size_t>(width * channels));
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 rgb ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const auto *src = static_cast<const uint8_t *>(region->data) + y * region->pitch;
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < channels; ++c) {
                row[static_cast<size_t>(x * channels + c)] = src[4 * x + c];
            }
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool savePng(ALLEGRO_BITMAP *bitmap, const std::string &path) {
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    ALLEGRO_LOCKED_REGION *region =
        al_lock_bitmap(bitmap, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
    const bool written = region && writeRows(file, region, al_get_bitmap_width(bitmap),
                                             al_get_bitmap_height(bitmap));
    if (region) {
        al_unlock_bitmap(bitmap);
    }
    return std::fclose(file) == 0 && written;
}

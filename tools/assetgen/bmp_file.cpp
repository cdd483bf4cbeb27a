// 24-bit Windows bitmaps, rows bottom up, each padded to four bytes.
#include "art.h"

#include <cstdio>

namespace {

void put16(std::vector<uint8_t> &out, unsigned value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t> &out, uint32_t value) {
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

} // namespace

bool writeBmp(ALLEGRO_BITMAP *bitmap, const std::string &path) {
    const int width = al_get_bitmap_width(bitmap), height = al_get_bitmap_height(bitmap);
    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = stride * static_cast<uint32_t>(height);
    constexpr uint32_t headerBytes = 14 + 40;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, headerBytes + pixelBytes);
    put32(out, 0); // reserved
    put32(out, headerBytes);
    put32(out, 40); // BITMAPINFOHEADER
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));
    put16(out, 1);  // planes
    put16(out, 24); // bits per pixel
    put32(out, 0);  // no compression
    put32(out, pixelBytes);
    put32(out, 2835); // 72 dpi, in pixels per metre
    put32(out, 2835);
    put32(out, 0); // no palette
    put32(out, 0);
    ALLEGRO_LOCKED_REGION *region =
        al_lock_bitmap(bitmap, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
    for (int y = height - 1; y >= 0; --y) {
        const auto *row = static_cast<const uint8_t *>(region->data) + y * region->pitch;
        for (int x = 0; x < width; ++x) {
            out.push_back(row[4 * x + 2]); // blue, green, red
            out.push_back(row[4 * x + 1]);
            out.push_back(row[4 * x]);
        }
        out.resize(out.size() + stride - static_cast<uint32_t>(width) * 3, 0);
    }
    al_unlock_bitmap(bitmap);
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}
